#pragma once

#include "CChartWebServiceClient.h"

#include <functional>
#include <optional>

/// A chart client reading a central bank's series, each of which quotes one currency against the
/// bank's own: a pair with that currency takes one series (inverted when the bank's currency is
/// the one kept second), a cross pair takes two, divided. Series are parsed and combined on the
/// client's own queue.
class CCentralBankChartWebServiceClient : public CChartWebServiceClient {
public:
    /// Neither code is the bank's currency: two series, divided.
    bool shouldRequestBothCurrencies() const { return shouldRequestBothCurrencies_; }
    /// The bank's currency is the one kept second: one series, inverted.
    bool shouldInvertChartData() const { return shouldInvertChartData_; }

    /// Starts a query for `pair` (first currency, last currency) over `period`; cancels the one
    /// in flight. A pair that is not two codes is answered with an empty record.
    void queryCurrencyChart(const QStringList& pair, int period);

    /// One parsed series: its points, or the parser's error text, or nothing when cancelled.
    struct ParsedSeries {
        bool cancelled = false;
        std::optional<QString> error;
        CCurrencyChartPointList points;
    };

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;

protected:
    /// How the series are made into the record's points.
    enum class PeriodCut {
        /// The bank sends whole histories: both series are cut to the period first.
        CutToPeriod,
        /// The requests already asked for the period's date range.
        AsDelivered,
    };

    CCentralBankChartWebServiceClient(const Endpoints& endpoints, const QString& logName,
                                      PairOrder order, const QString& bankCurrency, PeriodCut cut);

    /// Sends the request for the series of `code`.
    virtual void queryChartForCurrency(const QString& code) = 0;
    /// Parses an answer off the main thread; made on the main thread, so it takes along
    /// everything it needs.
    using SeriesParser = std::function<ParsedSeries(const ChartProviderSupport::CancelCheck&)>;
    /// The parser of `data`, an answer to the last series request.
    virtual SeriesParser seriesParser(const QByteArray& data) const = 0;

    /// No points, labelled with the kept pair and the period.
    CCurrencyChartInfo emptyRecord() const;

private:
    /// A series has arrived (main thread): fetch the other one, or combine.
    void processParsedData(const CCurrencyChartPointList& points);
    void makeCurrencyChartInfoAsync();

    QString bankCurrency_;
    PeriodCut periodCut_;
    bool shouldRequestBothCurrencies_ = false;
    bool shouldInvertChartData_ = false;
    std::optional<CCurrencyChartPointList> firstCurrencyData_;
    std::optional<CCurrencyChartPointList> secondCurrencyData_;
};
