#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

class QJSEngine;
class QQmlEngine;

/// Small helpers shared by the screens and start-up; the QML singleton offers the localization
/// of loaded views and the section margins.
class CUIHelpers : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit CUIHelpers(QObject* parent = nullptr) : QObject(parent) {}

    /// Localizes a loaded view tree whose texts are keys: a label (or anything derived from
    /// one) gets its text localized, a button its title, a navigation bar (a tool bar with a
    /// `title`) its title; any other item is walked. Labels, buttons and bars are not walked.
    static void localizeView(QObject* view);
    /// As `localizeView`, but only items of exactly the label, button and tool bar classes are
    /// treated as such; items of classes derived from them (QML components built on a Label,
    /// say) are walked like any other item, so only their children are localized.
    static void localizeSubViews(QObject* view);
    /// Replaces a button's title (its `text`) by its localization.
    static void localizeButton(QObject* button);

    /// The left margin of section headers and footers.
    static int sectionMargin(bool tablet) { return tablet ? 40 : 20; }

    Q_INVOKABLE void localize(QObject* view) const { localizeView(view); }
    Q_INVOKABLE void localizeExactly(QObject* view) const { localizeSubViews(view); }
    Q_INVOKABLE int margin(bool tablet) const { return sectionMargin(tablet); }
};
