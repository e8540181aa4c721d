#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QFont>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

class QJSEngine;
class QQmlEngine;

/// Presentation settings shared by every screen: fonts, colours, display names and images of
/// currencies and chart periods. One shared instance (`sharedSettings`), also the QML singleton.
class CUISettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QColor defaultBackgroundColor READ defaultBackgroundColor CONSTANT)
    Q_PROPERTY(QColor cellSeparatorColor READ cellSeparatorColor CONSTANT)
    Q_PROPERTY(QFont cellTextFont READ cellTextFont CONSTANT)
    Q_PROPERTY(QFont tableHeaderFont READ tableHeaderFont CONSTANT)
    Q_PROPERTY(QColor tableHeaderColor READ tableHeaderColor CONSTANT)
    Q_PROPERTY(QFont detailCellTextFont READ detailCellTextFont CONSTANT)
    Q_PROPERTY(QColor currencyCodeColor READ currencyCodeColor CONSTANT)
    Q_PROPERTY(QColor convertedValueColor READ convertedValueColor CONSTANT)
    Q_PROPERTY(QList<QColor> padBackgroundColors READ getDefaultBackgroundColorsForPad CONSTANT)
    /// Scales every animation of the views; 0 makes them instant (tests).
    Q_PROPERTY(qreal animationScale READ animationScale WRITE setAnimationScale NOTIFY
                   animationScaleChanged)

public:
    static CUISettings& sharedSettings();
    /// The QML singleton: the shared instance, never owned by the engine.
    static CUISettings* create(QQmlEngine* engine, QJSEngine* scriptEngine);

    QColor defaultBackgroundColor() const { return QColor(239, 239, 244); }
    QColor cellSeparatorColor() const { return QColor(128, 128, 128); }
    QFont cellTextFont() const;
    QFont tableHeaderFont() const;
    QColor tableHeaderColor() const { return QColor(58, 68, 89); }
    QFont detailCellTextFont() const;
    /// The font of a text without one of its own: the screens' family, so that it shares their
    /// engines, unhinted as they are.
    QFont applicationFont() const;
    /// The fonts of the texts a start shows first, for setting them up ahead: the application
    /// font, the named fonts,
    /// the navigation bar's title and buttons, the base row's label and, on a tablet, the
    /// settings pane's subtitles.
    QList<QFont> firstScreenFonts(bool tablet) const;

    static QColor currencyCodeColor() { return QColor(63, 92, 128); }
    static QColor convertedValueColor() { return QColor(76, 76, 76); }
    static QColor chartLineColor(bool tablet);
    static QColor chartFillColor() { return QColor(247, 247, 247, 204); }
    static QColor chartGridColor() { return QColor(158, 173, 194); }
    static QColor chartMarkerLineColor() { return QColor(60, 65, 69); }
    static QColor chartStatisticsColor() { return QColor(77, 86, 107); }
    /// The tablet background gradient, top colour first.
    static QList<QColor> getDefaultBackgroundColorsForPad();

    qreal animationScale() const { return animationScale_; }
    void setAnimationScale(qreal scale);

    /// The path of the image named exactly as the code, else of the flag of the country that
    /// uses the currency, else of "unknownCurrencyFlag" (empty when none of them exists).
    static QString getImageForCurrency(const QString& code);
    /// The lower-case region code whose flag stands for the currency, or empty: the region
    /// named by the code's first two letters when it uses the currency (USD: "us", EUR: "eu"),
    /// else the first region, in alphabetical order, whose current currency it is.
    static QString flagRegionForCurrency(const QString& code);
    /// The current locale's name for the code; for a code the locale does not know, one log line
    /// and the code's localization (the code itself without an entry).
    static QString getDisplayNameForCurrency(const QString& code);
    /// The localized name of a chart period 0 ("1Day") to 10 ("OverallPeriod"); nothing outside.
    static std::optional<QString> getDisplayNameForChartPeriod(int period);

    /// The locale dates and times are written in: the current one, with the POSIX "C" locale
    /// writing as US English.
    static QLocale displayLocale();

    /// A file path or resource path as a URL QML can load (empty stays empty).
    static QUrl urlForImagePath(const QString& path);
    /// `getImageForCurrency` as a URL.
    Q_INVOKABLE QUrl imageUrlForCurrency(const QString& code) const;
    /// The bundled or installed image of that name as a URL, or empty.
    Q_INVOKABLE QUrl imageUrl(const QString& name) const;
    /// An SVG image drawn in the text colour (icon packages draw in "currentColor") as an inline
    /// image in `color`; any other image as it is.
    static QUrl tintedUrlForImagePath(const QString& path, const QString& color);
    Q_INVOKABLE QUrl tintedImageUrl(const QString& name, const QString& color) const;
    /// An SVG file or resource as a PNG of `width` x `height` pixels at most (`crop`: at least,
    /// for an image cropped to fill them; its aspect kept either way), drawn once and kept in the
    /// caches directory: a start then decodes a few small PNGs instead of loading the SVG support
    /// and drawing every flag. The PNG is drawn again when the SVG changes. Anything else, or a
    /// failure, as it is.
    /// With a `frameRadius`, the image is cut to the size and a hairline edge with that corner
    /// radius (in image pixels) is drawn onto it, as a flag shows it: one item less per flag.
    Q_INVOKABLE QUrl rasterUrl(const QUrl& source, int width, int height, bool crop = true,
                               int frameRadius = 0) const;

signals:
    void animationScaleChanged();

private:
    CUISettings() = default;
    qreal animationScale_ = 1.0;
};
