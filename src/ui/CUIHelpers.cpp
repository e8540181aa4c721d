#include "CUIHelpers.h"

#include "Localization.h"

#include <QQuickItem>

#include <cstring>

namespace {

enum class ViewKind { Label, Button, NavigationBar, Other };

/// Skips the classes QML makes for components written in QML; returns how many there were and
/// leaves `meta` at the first C++ class.
int qmlLevels(const QMetaObject*& meta) {
    int levels = 0;
    while (meta != nullptr && (std::strstr(meta->className(), "_QMLTYPE_") != nullptr ||
                               std::strstr(meta->className(), "_QML_") != nullptr)) {
        ++levels;
        meta = meta->superClass();
    }
    return levels;
}

/// Whether the view is, or is built on, the app's own QML component `name` (the bars and
/// buttons of the first screen are plain Qt Quick items, not controls).
bool isComponent(const QObject* view, const char* name) {
    const QByteArray prefix = QByteArray(name) + "_QMLTYPE_";
    for (const QMetaObject* meta = view->metaObject(); meta != nullptr; meta = meta->superClass()) {
        if (std::strncmp(meta->className(), prefix.constData(), prefix.size()) == 0) {
            return true;
        }
    }
    return false;
}

ViewKind kindOf(const QObject* view, bool exactClass) {
    const bool hasTitle = view->metaObject()->indexOfProperty("title") >= 0;
    if (exactClass) {
        // Exactly a platform class: Qt Quick's Text itself, or a control as the style makes
        // it (the style's one QML level over the template); not a component built on them.
        const QMetaObject* meta = view->metaObject();
        const int levels = qmlLevels(meta);
        if (meta == nullptr) {
            return ViewKind::Other;
        }
        const QLatin1String name(meta->className());
        if (name == QLatin1String("QQuickText") && levels == 0) {
            return ViewKind::Label;
        }
        if (levels > 1) {
            return ViewKind::Other;
        }
        if (name == QLatin1String("QQuickLabel")) {
            return ViewKind::Label;
        }
        if (name == QLatin1String("QQuickButton") || name == QLatin1String("QQuickToolButton") ||
            name == QLatin1String("QQuickAbstractButton")) {
            return ViewKind::Button;
        }
        if (name == QLatin1String("QQuickToolBar") && hasTitle) {
            return ViewKind::NavigationBar;
        }
        return ViewKind::Other;
    }
    if (view->inherits("QQuickText")) {
        return ViewKind::Label;
    }
    if (view->inherits("QQuickAbstractButton") || isComponent(view, "TapButton")) {
        return ViewKind::Button;
    }
    if ((view->inherits("QQuickToolBar") || isComponent(view, "NavigationBar")) && hasTitle) {
        return ViewKind::NavigationBar;
    }
    return ViewKind::Other;
}

void localizeProperty(QObject* object, const char* name) {
    const QString key = object->property(name).toString();
    if (!key.isEmpty()) {
        object->setProperty(name, Localization::localizedString(key));
    }
}

void walk(QObject* view, bool exactClass) {
    if (view == nullptr) {
        return;
    }
    switch (kindOf(view, exactClass)) {
        case ViewKind::Label:
            localizeProperty(view, "text");
            return;
        case ViewKind::Button:
            CUIHelpers::localizeButton(view);
            return;
        case ViewKind::NavigationBar:
            localizeProperty(view, "title");
            return;
        case ViewKind::Other:
            break;
    }
    if (auto* item = qobject_cast<QQuickItem*>(view)) {
        const QList<QQuickItem*> children = item->childItems();
        for (QQuickItem* child : children) {
            walk(child, exactClass);
        }
    } else {
        const QObjectList children = view->children();
        for (QObject* child : children) {
            walk(child, exactClass);
        }
    }
}

}  // namespace

void CUIHelpers::localizeView(QObject* view) {
    walk(view, false);
}

void CUIHelpers::localizeSubViews(QObject* view) {
    walk(view, true);
}

void CUIHelpers::localizeButton(QObject* button) {
    if (button != nullptr) {
        localizeProperty(button, "text");
    }
}
