#include "NumberFormatter.h"

#include "CurrencyNames.h"

#include <unicode/dcfmtsym.h>
#include <unicode/numberformatter.h>
#include <unicode/unistr.h>

NumberFormatter::NumberFormatter(Options options, QString localeName)
    : options_(std::move(options)), localeName_(std::move(localeName)) {}

QString NumberFormatter::format(const Decimal& value) const {
    if (value.isNaN()) {
        return {};
    }
    using namespace icu::number;
    const QString name = localeName_.isEmpty() ? CurrencyNames::currentLocaleName() : localeName_;
    const icu::Locale locale(name.toLatin1().constData());

    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(locale, status);
    if (U_FAILURE(status)) {
        return {};
    }
    if (!options_.groupingSeparator.isNull()) {
        const icu::UnicodeString s(reinterpret_cast<const char16_t*>(options_.groupingSeparator.utf16()),
                                   static_cast<int32_t>(options_.groupingSeparator.size()));
        symbols.setSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol, s);
    }
    if (!options_.decimalSeparator.isNull()) {
        const icu::UnicodeString s(reinterpret_cast<const char16_t*>(options_.decimalSeparator.utf16()),
                                   static_cast<int32_t>(options_.decimalSeparator.size()));
        symbols.setSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol, s);
    }

    LocalizedNumberFormatter formatter =
        icu::number::NumberFormatter::withLocale(locale)
            .symbols(symbols)
            .precision(Precision::minMaxFraction(options_.minimumFractionDigits,
                                                 options_.maximumFractionDigits))
            .roundingMode(UNUM_ROUND_HALFEVEN)
            .grouping(options_.useGrouping ? UNUM_GROUPING_AUTO : UNUM_GROUPING_OFF)
            .decimal(options_.alwaysShowDecimalSeparator ? UNUM_DECIMAL_SEPARATOR_ALWAYS
                                                         : UNUM_DECIMAL_SEPARATOR_AUTO);
    const QByteArray text = value.toString().toLatin1();
    FormattedNumber formatted =
        formatter.formatDecimal(icu::StringPiece(text.constData(), static_cast<int32_t>(text.size())), status);
    icu::UnicodeString out = formatted.toString(status);
    if (U_FAILURE(status)) {
        return {};
    }
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}
