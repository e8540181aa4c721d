#include "Localization.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <memory>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <numeric>

namespace {
std::unique_ptr<QTranslator> current;
QString currentLanguageName;
}  // namespace

namespace Localization {

bool install(const QString& language) {
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const QString lang = language.isEmpty() ? QLocale().name().section(u'_', 0, 0) : language;
    auto translator = std::make_unique<QTranslator>();
    QString loaded = lang;
    if (!translator->load(QStringLiteral(":/i18n/numiva_%1.qm").arg(lang))) {
        loaded = QStringLiteral("en");
        // Languages without a table of their own read English.
        if (!language.isEmpty() || !translator->load(QStringLiteral(":/i18n/numiva_en.qm"))) {
            return false;
        }
    }
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    currentLanguageName = loaded;
    return true;
}

QString currentLanguage() {
    return current ? currentLanguageName : QLocale().name().section(u'_', 0, 0);
}

QList<int> collationOrder(const QStringList& texts, const QString& language) {
    QList<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    const QString name = language.isEmpty() ? currentLanguage() : language;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale(name.toLatin1().constData()), status));
    auto unicode = [](const QString& text) {
        return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()),
                                  static_cast<int32_t>(text.size()));
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (U_FAILURE(status) || !collator) {
            return texts[a] < texts[b];
        }
        UErrorCode compareStatus = U_ZERO_ERROR;
        return collator->compare(unicode(texts[a]), unicode(texts[b]), compareStatus) == UCOL_LESS;
    });
    return order;
}

QString localizedString(const QString& key) {
    const QByteArray id = key.toUtf8();
    return qtTrId(id.constData());
}

}  // namespace Localization
