#include "CRateRows.h"

#include "CCBRCurrencyInfo.h"
#include "CRateFreshness.h"
#include "CRootViewModel.h"
#include "Localization.h"
#include "NumberFormatter.h"

#include <QTimeZone>

QDateTime CRateRows::ownRateDate(const CCBRCurrencyInfo* row) {
    // The dollar row is the reference and has no date of its own.
    if (row == nullptr || row->isoTextCode == u"USD" || row->saleValueForCurrency().isNaN()) {
        return {};
    }
    return row->actualDate;
}
bool CRateRows::isOwnRateStale(const CCBRCurrencyInfo* row, const QDateTime& now) {
    const QDateTime date = ownRateDate(row);
    return date.isValid() && CRateFreshness::isStale(row->dataSource, date, now);
}

CRateRows::CRateRows(const CRootViewModel& model, std::optional<Conversion> conversion,
                     bool inverse)
    : model_(model), conversion_(std::move(conversion)), inverse_(inverse) {}

CRateRows CRateRows::forModel(const CRootViewModel& model, bool inverseConversion) {
    if (model.isConversionModeEnabled()) {
        return CRateRows(model, Conversion{model.convertedCurrencyCode,
                                           model.convertedCurrencyValue, inverseConversion});
    }
    return CRateRows(model, std::nullopt, model.isDisplayInverseRatesEnabled());
}

QString CRateRows::getFormattedCurrencyRate(const Decimal& rate, bool plain) {
    NumberFormatter::Options options;
    options.groupingSeparator = QStringLiteral(" ");
    options.useGrouping = !plain;
    if (plain) {
        options.decimalSeparator = QStringLiteral(".");
    }
    options.maximumFractionDigits = 5;
    QString text = NumberFormatter(options).format(rate);
    if (text == u"0") {
        options.maximumFractionDigits = 7;
        text = NumberFormatter(options).format(rate);
    }
    return text;
}

QString CRateRows::capitalizedName(const QString& name) {
    if (name.isEmpty() || !name.front().isLower()) {
        return name;
    }
    return QString(name.front().toUpper()) + name.mid(1);
}

Decimal CRateRows::valueFor(const QString& code) const {
    if (conversion_) {
        const Decimal rate = conversion_->inverse
                                 ? model_.getConversionSaleValue(code, conversion_->code)
                                 : model_.getConversionSaleValue(conversion_->code, code);
        return rate.isNaN() ? rate : rate * conversion_->amount;
    }
    const QString base = model_.getBaseCurrencyCode();
    return inverse_ ? model_.getSaleValueForCurrency(base, code)
                    : model_.getSaleValueForCurrency(code, base);
}

CRateRow CRateRows::row(qsizetype index) const {
    const auto& list = model_.currencyDataSource();
    if (index < 0 || index >= list.size()) {
        return {};
    }
    return row(*list[index]);
}

CRateRow CRateRows::row(const CCBRCurrencyInfo& element) const {
    CRateRow row;
    row.code = element.isoTextCode;
    row.name = capitalizedName(element.displayName);
    row.available = model_.isCurrencyCodeAvailable(element.isoTextCode);
    // At a past date the list's own rates play no part.
    const bool pastDate = conversion_ && model_.conversionDate.isValid();
    if (!row.available || (element.saleValue.isNaN() && !pastDate)) {
        return row;
    }
    row.value = valueFor(element.isoTextCode);
    if (row.value.isNaN()) {
        return row;
    }
    row.rateText = getFormattedCurrencyRate(row.value);
    if (conversion_) {
        row.codeText = conversion_->inverse ? conversion_->code : element.isoTextCode;
    } else {
        row.codeText = inverse_ ? element.isoTextCode : model_.getBaseCurrencyCode();
    }
    const QString reference = conversion_ ? conversion_->code : model_.getBaseCurrencyCode();
    if (pastDate) {
        // A conversion at a past date is as old as the rates found for that day.
        row.date = QDateTime(model_.getConversionRateDate(element.isoTextCode, reference),
                             QTime(0, 0), QTimeZone::utc());
        row.source = model_.conversionRates.value(element.isoTextCode).source;
        return row;
    }
    const CCBRCurrencyInfoPtr referenceRow = model_.getListedInfoForCurrency(reference);
    QDateTime date = ownRateDate(&element);
    const QDateTime other = ownRateDate(referenceRow.get());
    if (!date.isValid() || (other.isValid() && other < date)) {
        date = other;
    }
    row.date = date;
    row.stale = isOwnRateStale(&element, now_) || isOwnRateStale(referenceRow.get(), now_);
    if (element.isoTextCode == u"USD") {
        return row;  // the reference: no source of its own
    }
    row.source = element.dataSource;
    row.cached = element.fromCache;
    row.sourceFailed = element.fromCache && element.sourceFailed;
    if (!row.source.isEmpty()) {
        const QString name = model_.currencyDataSourceInfo().getDataSourceShortName(row.source);
        if (row.sourceFailed) {
            row.sourceNote =
                Localization::localizedString(QStringLiteral("RateCachedSourceFailed")).arg(name);
        } else if (row.source != model_.getSelectedDataSource().value_or(QString())) {
            row.sourceNote =
                Localization::localizedString(QStringLiteral("CurrencyFromSource")).arg(name);
        }
    }
    return row;
}
