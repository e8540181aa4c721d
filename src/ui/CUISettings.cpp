#include "CUISettings.h"

#include "CChartPeriod.h"
#include "CFileOperations.h"
#include "CurrencyNames.h"
#include "Resources.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QPen>
#include <QQmlEngine>
#include <QSaveFile>

#include <unicode/ucurr.h>
#include <unicode/uenum.h>
#include <unicode/uregion.h>

#include <algorithm>
#include <vector>

namespace {

QFont makeFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    // Unhinted, as on the devices the design comes from: all texts then look alike, and a hinted
    // font loads each glyph twice (to measure it, then to draw it).
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(bold);
    return font;
}

/// `image` cut to `size` around its centre, with a rounded hairline edge drawn over it.
QImage framed(const QImage& image, const QSize& size, int radius) {
    QImage out = image
                     .copy(QRect(QPoint((image.width() - size.width()) / 2,
                                        (image.height() - size.height()) / 2),
                                 size))
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qreal line = std::max(1, radius / 3);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0, 0x33), line));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(out.rect()).adjusted(line / 2, line / 2, -line / 2, -line / 2),
                            radius, radius);
    return out;
}

/// The current currency of a region ("US" -> "USD"), or empty.
QString currencyOfRegion(const QString& region) {
    const QByteArray locale = QByteArrayLiteral("und_") + region.toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UChar buffer[4] = {};
    const int32_t length = ucurr_forLocale(locale.constData(), buffer, 4, &status);
    if (U_FAILURE(status) || length != 3) {
        return {};
    }
    return QString(reinterpret_cast<const QChar*>(buffer), 3);
}

/// Every territory ICU knows, sorted, with its current currency.
const std::vector<std::pair<QString, QString>>& regionCurrencies() {
    static const std::vector<std::pair<QString, QString>> table = [] {
        std::vector<std::pair<QString, QString>> rows;
        UErrorCode status = U_ZERO_ERROR;
        UEnumeration* regions = uregion_getAvailable(URGN_TERRITORY, &status);
        if (U_FAILURE(status)) {
            return rows;
        }
        int32_t length = 0;
        while (const char* id = uenum_next(regions, &length, &status)) {
            if (U_FAILURE(status)) {
                break;
            }
            const QString region = QString::fromLatin1(id, length);
            rows.emplace_back(region, currencyOfRegion(region));
        }
        uenum_close(regions);
        std::sort(rows.begin(), rows.end());
        return rows;
    }();
    return table;
}

}  // namespace

CUISettings& CUISettings::sharedSettings() {
    // Function-local statics are created once, even when first used from several threads.
    static CUISettings* const instance = new CUISettings();
    return *instance;
}

CUISettings* CUISettings::create(QQmlEngine*, QJSEngine*) {
    CUISettings* settings = &sharedSettings();
    QJSEngine::setObjectOwnership(settings, QJSEngine::CppOwnership);
    return settings;
}

QFont CUISettings::cellTextFont() const {
    return makeFont(QStringLiteral("Helvetica"), 16, false);
}

QFont CUISettings::tableHeaderFont() const {
    return makeFont(QStringLiteral("Helvetica"), 16, true);
}

QFont CUISettings::detailCellTextFont() const {
    return makeFont(QStringLiteral("Helvetica"), 14, true);
}

QFont CUISettings::applicationFont() const {
    return makeFont(QStringLiteral("Helvetica"), 12, false);
}

QList<QFont> CUISettings::firstScreenFonts(bool tablet) const {
    const QString helvetica = QStringLiteral("Helvetica");
    QList<QFont> fonts{applicationFont(),
                       cellTextFont(),
                       detailCellTextFont(),
                       makeFont(helvetica, 17, true),
                       makeFont(helvetica, 17, false),
                       makeFont(helvetica, 12, true)};
    if (tablet) {
        fonts << tableHeaderFont() << makeFont(helvetica, 13, false);
    }
    return fonts;
}

QColor CUISettings::chartLineColor(bool tablet) {
    return tablet ? QColor(148, 154, 166, 204) : QColor(204, 204, 204, 204);
}

QList<QColor> CUISettings::getDefaultBackgroundColorsForPad() {
    return {QColor(226, 229, 234), QColor(208, 210, 216)};
}

void CUISettings::setAnimationScale(qreal scale) {
    if (scale == animationScale_) {
        return;
    }
    animationScale_ = scale;
    emit animationScaleChanged();
}

QString CUISettings::flagRegionForCurrency(const QString& code) {
    if (code.size() != 3) {
        return {};
    }
    static QMutex mutex;
    static QHash<QString, QString> cache;
    const QString upper = code.toUpper();
    QMutexLocker lock(&mutex);
    if (auto it = cache.constFind(upper); it != cache.constEnd()) {
        return *it;
    }
    QString region;
    if (currencyOfRegion(upper.left(2)) == upper) {
        region = upper.left(2);
    } else {
        for (const auto& [candidate, currency] : regionCurrencies()) {
            if (currency == upper) {
                region = candidate;
                break;
            }
        }
    }
    region = region.toLower();
    cache.insert(upper, region);
    return region;
}

QString CUISettings::getImageForCurrency(const QString& code) {
    QString path = Resources::imagePath(code);
    if (path.isEmpty()) {
        const QString region = flagRegionForCurrency(code);
        if (!region.isEmpty()) {
            path = Resources::imagePath(region);
        }
    }
    return path.isEmpty() ? Resources::imagePath(QStringLiteral("unknownCurrencyFlag")) : path;
}

QString CUISettings::getDisplayNameForCurrency(const QString& code) {
    return CurrencyNames::displayNameForCurrency(code);
}

std::optional<QString> CUISettings::getDisplayNameForChartPeriod(int period) {
    return ChartPeriodNames::displayName(period);
}

QLocale CUISettings::displayLocale() {
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : locale;
}

QUrl CUISettings::urlForImagePath(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    if (path.startsWith(u':')) {
        return QUrl(QStringLiteral("qrc") + path);
    }
    return QUrl::fromLocalFile(path);
}

QUrl CUISettings::rasterUrl(const QUrl& source, int width, int height, bool crop,
                            int frameRadius) const {
    QString path;
    if (source.isLocalFile()) {
        path = source.toLocalFile();
    } else if (source.scheme() == u"qrc") {
        path = u':' + source.path();
    }
    const QString caches = CFileOperations::getCachesPath();
    if (width <= 0 || height <= 0 || !path.endsWith(QLatin1String(".svg")) || caches.isEmpty()) {
        return source;
    }
    const QFileInfo svg(path);
    if (!svg.exists()) {
        return source;
    }
    // Named after the SVG's place, size and time, so that a changed SVG is drawn afresh.
    const QByteArray identity = (svg.absoluteFilePath() + u'|' + QString::number(svg.size()) +
                                 u'|' + QString::number(svg.lastModified().toMSecsSinceEpoch()))
                                    .toUtf8();
    const QString name =
        QStringLiteral("%1-%2-%3x%4%5%6.png")
            .arg(svg.completeBaseName(),
                 QString::fromLatin1(
                     QCryptographicHash::hash(identity, QCryptographicHash::Md5).toHex().left(12)))
            .arg(width)
            .arg(height)
            .arg(crop ? QString() : QStringLiteral("-fit"),
                 frameRadius > 0 ? QStringLiteral("-framed%1").arg(frameRadius) : QString());
    const QString file = QDir(caches).filePath(QStringLiteral("Images/") + name);
    if (QFileInfo::exists(file)) {
        return QUrl::fromLocalFile(file);
    }
    QImageReader reader(path);
    const QSize natural = reader.size();
    if (natural.isEmpty()) {
        return source;
    }
    reader.setScaledSize(
        natural.scaled(width, height, crop ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (frameRadius > 0 && !image.isNull()) {
        image = framed(image, QSize(width, height), frameRadius);
    }
    // Stored uncompressed (quality 100): a few kilobytes each, and every start reads them
    // without inflating.
    QSaveFile out(file);
    if (image.isNull() || !QDir().mkpath(QFileInfo(file).path()) ||
        !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG", 100) || !out.commit()) {
        return source;
    }
    return QUrl::fromLocalFile(file);
}

QUrl CUISettings::imageUrlForCurrency(const QString& code) const {
    return urlForImagePath(getImageForCurrency(code));
}

QUrl CUISettings::imageUrl(const QString& name) const {
    return urlForImagePath(Resources::imagePath(name));
}

QUrl CUISettings::tintedUrlForImagePath(const QString& path, const QString& color) {
    QFile file(path);
    if (!path.endsWith(QLatin1String(".svg")) || !file.open(QIODevice::ReadOnly)) {
        return urlForImagePath(path);
    }
    QByteArray svg = file.read(256 * 1024);
    if (!svg.contains("currentColor")) {
        return urlForImagePath(path);
    }
    svg.replace("currentColor", color.toLatin1());
    return QUrl(QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(svg.toBase64()));
}

QUrl CUISettings::tintedImageUrl(const QString& name, const QString& color) const {
    return tintedUrlForImagePath(Resources::imagePath(name), color);
}
