#include "CurrencyNames.h"

#include "Localization.h"
#include "Log.h"

#include <QLocale>

#include <unicode/ucurr.h>
#include <unicode/uenum.h>

namespace CurrencyNames {

QString currentLocaleName() {
    const QString name = QLocale().name();
    return name == u"C" ? QStringLiteral("en_US") : name;
}

std::optional<QString> displayName(const QString& code, const QString& localeName) {
    if (code.size() != 3) {
        return std::nullopt;
    }
    const QString upper = code.toUpper();
    const QByteArray locale = (localeName.isEmpty() ? currentLocaleName() : localeName).toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UBool isChoiceFormat = false;
    int32_t length = 0;
    const UChar* name = ucurr_getName(reinterpret_cast<const UChar*>(upper.utf16()), locale.constData(),
                                      UCURR_LONG_NAME, &isChoiceFormat, &length, &status);
    if (U_FAILURE(status) || name == nullptr) {
        return std::nullopt;
    }
    const QString text(reinterpret_cast<const QChar*>(name), length);
    // ICU answers a code it has no name for with the code itself.
    if (text.isEmpty() || text == upper) {
        return std::nullopt;
    }
    return text;
}

QString displayNameForCurrency(const QString& code) {
    if (auto name = displayName(code)) {
        return *name;
    }
    nlog(QStringLiteral("Undefined display name for currency: %1").arg(code));
    return Localization::localizedString(code);
}

QStringList isoCurrencyCodes() {
    QStringList codes;
    UErrorCode status = U_ZERO_ERROR;
    UEnumeration* all = ucurr_openISOCurrencies(UCURR_COMMON | UCURR_NON_DEPRECATED, &status);
    if (U_FAILURE(status)) {
        return codes;
    }
    int32_t length = 0;
    while (const char* code = uenum_next(all, &length, &status)) {
        if (U_FAILURE(status)) {
            break;
        }
        codes.append(QString::fromLatin1(code, length));
    }
    uenum_close(all);
    codes.sort();
    return codes;
}

}  // namespace CurrencyNames
