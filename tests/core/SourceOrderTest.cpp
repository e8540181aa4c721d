// Several data sources in order: the merge (earlier sources win), what a failing source keeps
// (its own cached rates, the others' fresh ones), what is cached under which source, and the
// settings rules that order the list.
#include "CRateListUpdater.h"
#include "CRootViewModel.h"
#include "CSettingsEditor.h"
#include "CoreTestSupport.h"
#include "FakeHttpServer.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString ecbPath = QStringLiteral("/stats/eurofxref/eurofxref-daily.xml");
const QString frankfurterPath = QStringLiteral("/v2/rates");

/// ECB's daily file: per one euro.
FakeHttpServer::Answer ecb(const char* usd, const char* gbp) {
    return FakeHttpServer::Answer::text(
        QStringLiteral("<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
                       "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\"><Cube>"
                       "<Cube time='2026-12-04'><Cube currency='USD' rate='%1'/><Cube "
                       "currency='GBP' rate='%2'/></Cube></Cube></gesmes:Envelope>")
            .arg(QLatin1String(usd), QLatin1String(gbp))
            .toUtf8());
}

/// Frankfurter's rates: per one US dollar.
FakeHttpServer::Answer frankfurter(const char* eur, const char* chf) {
    return FakeHttpServer::Answer::text(
        QStringLiteral("[{\"date\":\"2026-12-04\",\"base\":\"USD\",\"quote\":\"EUR\",\"rate\":%1},"
                       "{\"date\":\"2026-12-04\",\"base\":\"USD\",\"quote\":\"CHF\",\"rate\":%2}]")
            .arg(QLatin1String(eur), QLatin1String(chf))
            .toUtf8());
}

class SourceOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Localization::install(QStringLiteral("en"));
        defaults.setObject(QStringList{"USD", "EUR", "GBP", "CHF"},
                           QStringLiteral("SelectedCurrencies"));
        defaults.setObject(QStringLiteral("USD"), QStringLiteral("BaseCurrency"));
        defaults.setObject(QStringList{"ECB"}, QStringLiteral("SelectedCurrencySources"));
        CRootViewModel::Options options;
        options.builtInCatalogue = {{"ECB", QStringList{"USD", "EUR", "GBP"}},
                                    {"Frankfurter", QStringList{"USD", "EUR", "CHF"}},
                                    {"CBR", QStringList{"USD", "EUR"}}};
        model = std::make_unique<CRootViewModel>(defaults, center, options);
        center.addObserver(this, CRootViewModel::CurrencyDataSourceChanged, nullptr,
                           [this](const QString&, const void*) { ++changes; });
    }
    void TearDown() override { center.removeObserver(this); }

    ScopedDataDir dataDir;
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    NotificationCenter center;
    FakeHttpServer server;
    std::unique_ptr<CRootViewModel> model;
    int changes = 0;
};

}  // namespace

TEST_F(SourceOrderTest, MergeFallbackAndCachePerSource) {
    const auto failing = FakeHttpServer::Answer::text("busy", 503);
    const char* const none = "";
    Endpoints endpoints;
    endpoints.setValue(Endpoints::Ecb, server.baseUrl());
    endpoints.setValue(Endpoints::Frankfurter, server.baseUrl());
    struct Step {
        QStringList sources;
        std::optional<FakeHttpServer::Answer> ecbAnswer, frankfurterAnswer;  // none: 503
        const char *eur, *gbp, *chf;  // US dollars a unit; "NaN": no rate
        const char* failure;          // the one line, or empty
        const char *ecbCachedEur, *frankfurterCachedEur;
    };
    const Step steps[] = {
        // Both answer: the first source wins, each source's rows are cached under its id.
        {{"ECB", "Frankfurter"},
         ecb("1.25", "0.8"),
         frankfurter("0.5", "0.8"),
         "1.25",
         "1.5625",
         "1.25",
         none,
         "1.25",
         "2"},
        {{"Frankfurter", "ECB"},
         ecb("1.25", "0.8"),
         frankfurter("0.5", "0.8"),
         "2",
         "1.5625",
         "1.25",
         none,
         "1.25",
         "2"},
        // A failing further source: the active one's fresh rates, its own cached ones.
        {{"ECB", "Frankfurter"},
         ecb("1.5", "1"),
         {},
         "1.5",
         "1.5",
         "1.25",
         "Frankfurter (central banks) could not be updated. The service answered 503 (Service "
         "Unavailable). Its last stored rates are shown beside the fresh rates of the other "
         "sources.",
         "1.5",
         "2"},
        // A failing active source: a fresh rate of another source beats its cached one.
        {{"ECB", "Frankfurter"},
         {},
         frankfurter("0.25", "0.5"),
         "4",
         "1.5",
         "2",
         "European Central Bank could not be updated",
         "1.5",
         "4"},
        // All fail: each currency from the cache of the first source that has it.
        {{"ECB", "Frankfurter"},
         {},
         {},
         "1.5",
         "1.5",
         "2",
         "European Central Bank, Frankfurter (central banks) could not be updated. The service "
         "answered 503 (Service Unavailable). The last stored rates are shown.",
         "1.5",
         "4"},
        // One source fails as it always did; a currency only another source offers has no rate.
        {{"ECB"},
         {},
         {},
         "1.5",
         "1.5",
         "NaN",
         "European Central Bank could not be updated. The service answered 503 (Service "
         "Unavailable). The last stored rates are shown.",
         "1.5",
         "4"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.sources.join(u',').toStdString() + " " + s.eur);
        model->setSelectedDataSources(s.sources);
        server.answer(ecbPath, s.ecbAnswer.value_or(failing));
        server.answer(frankfurterPath, s.frankfurterAnswer.value_or(failing));
        CRateListUpdater updater(*model, endpoints);
        std::optional<std::optional<QString>> outcome;
        updater.setFinished([&](const std::optional<QString>& failure) { outcome = failure; });
        updater.queryCurrencyRates();
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
        EXPECT_TRUE(QString(s.failure).isEmpty() ? !*outcome
                                                 : outcome->value_or("").startsWith(s.failure))
            << outcome->value_or("(none)").toStdString();
        for (const auto& [code, value] :
             {std::pair{"EUR", s.eur}, {"GBP", s.gbp}, {"CHF", s.chf}}) {
            EXPECT_EQ(model->getSaleValueForCurrency(code, "USD").toString(), d(value).toString())
                << code;
        }
        CCurrencyDataStorageManager& cache = model->currencyDataStorageManager();
        EXPECT_EQ(cache.getCurrencyInfoForCode("EUR", "ECB")->saleValue, d(s.ecbCachedEur));
        EXPECT_EQ(cache.getCurrencyInfoForCode("EUR", "Frankfurter")->saleValue,
                  d(s.frankfurterCachedEur));
    }
}

TEST_F(SourceOrderTest, SettingsListAddMoveRemoveAndSelect) {
    using Op = std::function<bool(CSettingsEditor&)>;
    struct Row {
        Op op;
        bool done;
        QStringList list;  // after the step
    };
    const Row rows[] = {
        {[](auto& e) { return e.addFurtherDataSource("Frankfurter"); },
         true,
         {"ECB", "Frankfurter"}},
        {[](auto& e) { return e.addFurtherDataSource("Frankfurter"); },
         false,
         {"ECB", "Frankfurter"}},
        {[](auto& e) { return e.addFurtherDataSource("ECB"); }, false, {"ECB", "Frankfurter"}},
        {[](auto& e) { return e.addFurtherDataSource("Nowhere"); }, false, {"ECB", "Frankfurter"}},
        {[](auto& e) { return e.addFurtherDataSource("CBR"); },
         true,
         {"ECB", "Frankfurter", "CBR"}},
        {[](auto& e) { return e.moveFurtherDataSource(1, 0); },
         true,
         {"ECB", "CBR", "Frankfurter"}},
        {[](auto& e) { return e.moveFurtherDataSource(0, 2); },
         false,
         {"ECB", "CBR", "Frankfurter"}},
        // A new active source keeps the further ones, without itself.
        {[](auto& e) { return e.selectDataSource("CBR"); }, true, {"CBR", "Frankfurter"}},
        {[](auto& e) { return e.removeFurtherDataSource(0); }, true, {"CBR"}},
        {[](auto& e) { return e.removeFurtherDataSource(0); }, false, {"CBR"}},
        {[](auto& e) {
             return e.setDataSources({"Frankfurter", "ECB"});
         },
         true,
         {"Frankfurter", "ECB"}},
        {[](auto& e) {
             return e.setDataSources({"ECB", "ECB"});
         },
         false,
         {"Frankfurter", "ECB"}},
        {[](auto& e) {
             return e.setDataSources({"ECB", "Nowhere"});
         },
         false,
         {"Frankfurter", "ECB"}},
    };
    CSettingsEditor editor(*model);
    for (const Row& r : rows) {
        const int before = changes;
        EXPECT_EQ(r.op(editor), r.done) << r.list.join(u',').toStdString();
        EXPECT_EQ(model->getAllSelectedDataSources(), r.list);
        EXPECT_EQ(changes - before, r.done ? 1 : 0) << "one notification per change";
    }
    EXPECT_EQ(editor.addableFurtherDataSources(), QStringList{"CBR"});
    // The picker names the source a currency comes from: the first one that offers it.
    EXPECT_EQ(model->getDataSourceForCurrency("GBP"), QStringLiteral("ECB"));
    EXPECT_EQ(model->getDataSourceForCurrency("EUR"), QStringLiteral("Frankfurter"));
    EXPECT_FALSE(model->getDataSourceForCurrency("JPY"));
}
