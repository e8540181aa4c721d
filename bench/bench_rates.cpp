// How fast the rate list computes what the screen shows: every row's cross rate, fee included,
// for a long list. The converter recomputes all rows on each key press.
#include "CRootViewModel.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    QTemporaryDir dir;
    UserDefaults defaults{dir.filePath(QStringLiteral("prefs.plist"))};
    NotificationCenter center;
    std::unique_ptr<CRootViewModel> model;

    explicit Fixture(int rows) {
        defaults.setObject(true, QStringLiteral("ConversionFeeEnabled"));
        defaults.setObject(1.5, QStringLiteral("ConversionFee"));
        CRootViewModel::Options options;
        options.rateCachePath = dir.filePath(QStringLiteral("cache.sqlite"));
        model = std::make_unique<CRootViewModel>(defaults, center, options);
        for (int i = 0; i < rows; ++i) {
            auto row = std::make_shared<CCBRCurrencyInfo>();
            row->isoTextCode = QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0'));
            row->nominalValue = 100;
            row->saleValue = Decimal::fromString(QStringLiteral("1.%1").arg(i * 7919));
            model->currencyDataSource().append(row);
        }
    }
};

void BM_CrossRatesForWholeList(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const auto& row : f.model->currencyDataSource()) {
            benchmark::DoNotOptimize(f.model->getSaleValueForBaseCurrency(row->isoTextCode));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CrossRatesForWholeList)->Arg(10)->Arg(100);

void BM_DecimalDivideAndFormat(benchmark::State& state) {
    const Decimal a = Decimal::fromString(u"1");
    const Decimal b = Decimal::fromString(u"1.3");
    for (auto _ : state) {
        benchmark::DoNotOptimize((a / b).toString());
    }
}
BENCHMARK(BM_DecimalDivideAndFormat);

}  // namespace
