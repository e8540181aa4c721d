#include "Localization.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {
std::unique_ptr<QTranslator> current;
}

namespace Localization {

bool install(const QString& language) {
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const QString lang = language.isEmpty() ? QLocale().name().section(u'_', 0, 0) : language;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/i18n/numiva_%1.qm").arg(lang))) {
        // Languages without a table of their own read English.
        if (!language.isEmpty() || !translator->load(QStringLiteral(":/i18n/numiva_en.qm"))) {
            return false;
        }
    }
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    return true;
}

QString localizedString(const QString& key) {
    const QByteArray id = key.toUtf8();
    return qtTrId(id.constData());
}

}  // namespace Localization
