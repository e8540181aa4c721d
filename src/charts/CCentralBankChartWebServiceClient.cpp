#include "CCentralBankChartWebServiceClient.h"

using namespace ChartProviderSupport;

CCentralBankChartWebServiceClient::CCentralBankChartWebServiceClient(const Endpoints& endpoints,
                                                                     const QString& logName,
                                                                     PairOrder order,
                                                                     const QString& bankCurrency,
                                                                     PeriodCut cut)
    : CChartWebServiceClient(endpoints, logName, order),
      bankCurrency_(bankCurrency),
      periodCut_(cut) {}

void CCentralBankChartWebServiceClient::queryCurrencyChart(const QStringList& pair, int period) {
    const bool validPair = beginQuery(pair, period);
    firstCurrencyData_.reset();
    secondCurrencyData_.reset();
    shouldRequestBothCurrencies_ = false;
    shouldInvertChartData_ = false;
    if (!validPair) {
        deliverLater(emptyRecord());
        return;
    }
    // In the kept order, the series of the first code is the one to invert, and the series of
    // the second code is the one fetched first otherwise.
    const QString& keptFirst = currencyPair()[0];
    const QString& keptSecond = currencyPair()[1];
    if (keptSecond == bankCurrency_) {
        shouldInvertChartData_ = true;
        queryChartForCurrency(keptFirst);
        return;
    }
    if (keptFirst != bankCurrency_) {
        shouldRequestBothCurrencies_ = true;
    }
    queryChartForCurrency(keptSecond);
}

void CCentralBankChartWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    operationQueue().addOperation([this, parse = seriesParser(data)](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        ParsedSeries series = parse([&operation] { return operation.isCancelled(); });
        if (series.cancelled || operation.isCancelled()) {
            return;
        }
        if (series.error) {
            performOnMainThread(operation, [this, error = *series.error] { fail(error); });
            return;
        }
        performOnMainThread(
            operation, [this, points = std::move(series.points)] { processParsedData(points); });
    });
}

void CCentralBankChartWebServiceClient::processParsedData(const CCurrencyChartPointList& points) {
    if (shouldInvertChartData_) {
        firstCurrencyData_ = points;
    } else if (shouldRequestBothCurrencies_) {
        if (!secondCurrencyData_) {
            secondCurrencyData_ = points;
            queryChartForCurrency(currencyPair()[0]);
            return;
        }
        firstCurrencyData_ = points;
    } else {
        secondCurrencyData_ = points;
    }
    makeCurrencyChartInfoAsync();
}

void CCentralBankChartWebServiceClient::makeCurrencyChartInfoAsync() {
    SeriesCombinationInput input;
    if (shouldInvertChartData_) {
        input.combination = SeriesCombination::Inverted;
        input.series = firstCurrencyData_.value_or(CCurrencyChartPointList());
    } else if (shouldRequestBothCurrencies_) {
        input.combination = SeriesCombination::CrossRate;
        input.series = secondCurrencyData_.value_or(CCurrencyChartPointList());
        input.divisor = firstCurrencyData_.value_or(CCurrencyChartPointList());
    } else {
        input.combination = SeriesCombination::AsDelivered;
        input.series = secondCurrencyData_.value_or(CCurrencyChartPointList());
    }
    input.cutToPeriod = periodCut_ == PeriodCut::CutToPeriod;
    input.chartPeriod = chartPeriod();
    input.firstCurrencyCode = currencyPair().value(0);
    input.lastCurrencyCode = currencyPair().value(1);
    input.timeZone = timeZone();
    operationQueue().addOperation([this, input = std::move(input)](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        std::optional<CCurrencyChartInfo> record =
            combineSeries(input, [&operation] { return operation.isCancelled(); });
        if (!record || operation.isCancelled()) {
            return;
        }
        performOnMainThread(operation, [this, record = std::move(*record)] { deliver(record); });
    });
}

CCurrencyChartInfo CCentralBankChartWebServiceClient::emptyRecord() const {
    CCurrencyChartInfo record;
    record.chartPeriod = chartPeriod();
    record.firstCurrencyCode = currencyPair().value(0);
    record.lastCurrencyCode = currencyPair().value(1);
    return record;
}
