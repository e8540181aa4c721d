#include "CCompareSourcesViewController.h"

#include "CRateRows.h"
#include "CUISettings.h"
#include "NumberFormatter.h"

CCompareSourcesViewController::CCompareSourcesViewController(const CRootViewModel& model,
                                                             Endpoints endpoints, QString code,
                                                             QString baseCode, bool tablet,
                                                             QObject* parent)
    : CViewController(QStringLiteral("CompareSourcesView"), tablet, parent),
      comparison_(std::make_unique<CSourceComparison>(model, std::move(endpoints))),
      code_(std::move(code)),
      baseCode_(std::move(baseCode)) {
    setTitle(localized(QStringLiteral("CompareSources")));
    result_.code = code_;
    comparison_->setProgress([this](int answered, int asked) {
        answered_ = answered;
        asked_ = asked;
        emit comparisonChanged();
    });
    comparison_->setFinished([this](const QList<CurrencyComparison>& result) {
        result_ = result.value(0);
        emit comparisonChanged();
        emit comparisonFinished();
    });
    refresh();
}

CCompareSourcesViewController::~CCompareSourcesViewController() = default;

void CCompareSourcesViewController::refresh() {
    result_ = CurrencyComparison{code_, {}, Decimal::nan(), Decimal::nan()};
    answered_ = 0;
    comparison_->compare({code_}, baseCode_);
    emit comparisonChanged();
}

QString CCompareSourcesViewController::heading() const {
    return localized(QStringLiteral("CompareHeadingAB")).arg(code_, baseCode_);
}

QString CCompareSourcesViewController::progressText() const {
    if (!isBusy()) {
        return QString();
    }
    return localized(QStringLiteral("CompareProgressAB")).arg(answered_).arg(asked_);
}

QString CCompareSourcesViewController::percentText(const Decimal& value, bool sign) {
    if (value.isNaN()) {
        return QString();
    }
    NumberFormatter::Options options;
    options.groupingSeparator = QStringLiteral(" ");
    options.decimalSeparator = CUISettings::displayLocale().decimalPoint();
    options.minimumFractionDigits = 2;
    options.maximumFractionDigits = 2;
    const Decimal rounded = value.rounded(2);
    // A distance that rounds to nothing has no sign ("-0.00" would say more than there is).
    const QString text = NumberFormatter(options).format(rounded.isZero() ? Decimal() : rounded) +
                         QStringLiteral(" %");
    return sign && !value.isNegative() && !rounded.isZero() ? u'+' + text : text;
}

QVariantList CCompareSourcesViewController::rows() const {
    QVariantList rows;
    for (const SourceRate& rate : result_.rates) {
        rows.append(QVariantMap{
            {QStringLiteral("id"), rate.id},
            {QStringLiteral("name"), rate.name},
            {QStringLiteral("valueText"),
             rate.value.isNaN() ? QString() : CRateRows::getFormattedCurrencyRate(rate.value)},
            {QStringLiteral("deviationText"), percentText(rate.deviation, true)},
            {QStringLiteral("failure"), rate.failure},
            {QStringLiteral("outlier"), rate.outlier},
            {QStringLiteral("institution"), rate.id.contains(u'/')}});
    }
    return rows;
}

QString CCompareSourcesViewController::medianText() const {
    return result_.hasValues() ? CRateRows::getFormattedCurrencyRate(result_.median) : QString();
}

QString CCompareSourcesViewController::spreadText() const {
    return percentText(result_.spread, false);
}

QString CCompareSourcesViewController::summaryText() const {
    if (isBusy()) {
        return QString();
    }
    if (!result_.hasValues()) {
        return localized(result_.rates.isEmpty() ? QStringLiteral("CompareNoSources")
                                                 : QStringLiteral("CompareNoneAnswered"));
    }
    QStringList names;
    for (const SourceRate& rate : result_.rates) {
        if (rate.outlier) {
            names.append(rate.name);
        }
    }
    const QString threshold =
        CRateRows::getFormattedCurrencyRate(CSourceComparison::defaultThresholdPercent()) +
        QStringLiteral(" %");
    return names.isEmpty()
               ? localized(QStringLiteral("CompareNoOutliersA")).arg(threshold)
               : localized(QStringLiteral("CompareOutliersAB")).arg(threshold, names.join(u", "));
}
