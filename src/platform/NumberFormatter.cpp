#include "NumberFormatter.h"

#include "CurrencyNames.h"

#include <unicode/dcfmtsym.h>
#include <unicode/numberformatter.h>
#include <unicode/unistr.h>

#include <QHash>

#include <optional>

NumberFormatter::NumberFormatter(Options options, QString localeName)
    : options_(std::move(options)), localeName_(std::move(localeName)) {}

namespace {

/// The ICU formatter for a locale and options, or nothing when ICU knows no symbols for it.
std::optional<icu::number::LocalizedNumberFormatter> makeFormatter(
    const QString& name, const NumberFormatter::Options& options) {
    using namespace icu::number;
    const icu::Locale locale(name.toLatin1().constData());
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(locale, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    auto setSymbol = [&symbols](icu::DecimalFormatSymbols::ENumberFormatSymbol which,
                                const QString& text) {
        if (!text.isNull()) {
            symbols.setSymbol(which,
                              icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                                                 static_cast<int32_t>(text.size())));
        }
    };
    setSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol, options.groupingSeparator);
    setSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol, options.decimalSeparator);
    return icu::number::NumberFormatter::withLocale(locale)
        .symbols(symbols)
        .precision(
            Precision::minMaxFraction(options.minimumFractionDigits, options.maximumFractionDigits))
        .roundingMode(UNUM_ROUND_HALFEVEN)
        .grouping(options.useGrouping ? UNUM_GROUPING_AUTO : UNUM_GROUPING_OFF)
        .decimal(options.alwaysShowDecimalSeparator ? UNUM_DECIMAL_SEPARATOR_ALWAYS
                                                    : UNUM_DECIMAL_SEPARATOR_AUTO);
}

}  // namespace

QString NumberFormatter::format(const Decimal& value) const {
    if (value.isNaN()) {
        return {};
    }
    const QString name = localeName_.isEmpty() ? CurrencyNames::currentLocaleName() : localeName_;
    // Building an ICU formatter costs far more than formatting with one, and a list formats
    // every row alike: each thread keeps the few it has built.
    auto separator = [](const QString& text) {
        return text.isNull() ? QStringLiteral("-") : u'"' + text;
    };
    const QString key = name + u'|' + QString::number(options_.useGrouping ? 1 : 0) + u'|' +
                        QString::number(options_.minimumFractionDigits) + u'|' +
                        QString::number(options_.maximumFractionDigits) + u'|' +
                        QString::number(options_.alwaysShowDecimalSeparator ? 1 : 0) + u'|' +
                        separator(options_.groupingSeparator) + u'|' +
                        separator(options_.decimalSeparator);
    thread_local QHash<QString, std::optional<icu::number::LocalizedNumberFormatter>> formatters;
    auto it = formatters.find(key);
    if (it == formatters.end()) {
        if (formatters.size() >= 32) {
            formatters.clear();
        }
        it = formatters.insert(key, makeFormatter(name, options_));
    }
    if (!it->has_value()) {
        return {};
    }
    const icu::number::LocalizedNumberFormatter& formatter = **it;
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray text = value.toString().toLatin1();
    icu::number::FormattedNumber formatted = formatter.formatDecimal(
        icu::StringPiece(text.constData(), static_cast<int32_t>(text.size())), status);
    icu::UnicodeString out = formatted.toString(status);
    if (U_FAILURE(status)) {
        return {};
    }
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}
