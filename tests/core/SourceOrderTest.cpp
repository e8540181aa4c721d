// Sources in order: the merge, what a failing source keeps, the cache per source, the settings.
#include "CRateListUpdater.h"
#include "CRootViewModel.h"
#include "CSettingsEditor.h"
#include "FakeHttpServer.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

class SourceOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Localization::install(QStringLiteral("en"));
        defaults.setObject(words("USD EUR GBP CHF"), QStringLiteral("SelectedCurrencies"));
        defaults.setObject(words("ECB"), QStringLiteral("SelectedCurrencySources"));
        CRootViewModel::Options options;
        options.builtInCatalogue = {{"ECB", words("USD EUR GBP")},
                                    {"Frankfurter", words("USD EUR CHF")},
                                    {"CBR", words("USD EUR")}};
        model = std::make_unique<CRootViewModel>(defaults, center, options);
        center.addObserver(this, CRootViewModel::CurrencyDataSourceChanged, nullptr,
                           [this](const QString&, const void*) { ++changes; });
    }

    ScopedDataDir dataDir;
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    NotificationCenter center;
    FakeHttpServer server;
    std::unique_ptr<CRootViewModel> model;
    int changes = 0;
};

}  // namespace

TEST_F(SourceOrderTest, MergeFallbackAndCachePerSource) {
    // Answers: ECB per euro (USD GBP), Frankfurter per dollar (EUR CHF), empty: 503; then dollars
    // for EUR GBP CHF, the failure line's start and the cached EUR under ECB and Frankfurter.
    const struct {
        const char *sources, *ecb, *frankfurter, *rates, *failure, *cachedEur;
    } steps[] = {
        {"ECB Frankfurter", "1.25 0.8", "0.5 0.8", "1.25 1.5625 1.25", "", "1.25 2"},
        // A failing further source: the others' fresh rates, its own cached ones.
        {"ECB Frankfurter", "1.5 1", "", "1.5 1.5 1.25", "Frankfurter (central banks) could",
         "1.5 2"},
        // A failing active source: another source's fresh rate beats its cached one.
        {"ECB Frankfurter", "", "0.25 0.5", "4 1.5 2", "European Central Bank could not", "1.5 4"},
        // All fail: each currency from the cache of the first source that has it.
        {"ECB Frankfurter", "", "", "1.5 1.5 2", "European Central Bank, Frankfurter", "1.5 4"},
        // One source fails as it always did; a currency only another source offers has no rate.
        {"ECB", "", "", "1.5 1.5 NaN", "European Central Bank could not", "1.5 4"},
    };
    const auto serve = [&](const char* path, const char* values, const char* format) {
        const QStringList v = words(values);  // none: the service is down
        const QString body = v.isEmpty() ? QString() : QString::fromLatin1(format).arg(v[0], v[1]);
        server.answer(path, FakeHttpServer::Answer::text(body.toUtf8(), v.isEmpty() ? 503 : 200));
    };
    Endpoints endpoints;
    endpoints.setValue(Endpoints::Ecb, server.baseUrl());
    endpoints.setValue(Endpoints::Frankfurter, server.baseUrl());
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.sources) + " / " + s.rates);
        model->setSelectedDataSources(words(s.sources));
        serve("/stats/eurofxref/eurofxref-daily.xml", s.ecb,
              "<E><Cube><Cube time='2026-12-04'><Cube currency='USD' rate='%1'/>"
              "<Cube currency='GBP' rate='%2'/></Cube></Cube></E>");
        serve("/v2/rates", s.frankfurter,
              R"([{"date":"2026-12-04","base":"USD","quote":"EUR","rate":%1},)"
              R"({"date":"2026-12-04","base":"USD","quote":"CHF","rate":%2}])");
        CRateListUpdater updater(*model, endpoints);
        std::optional<std::optional<QString>> outcome;
        updater.setFinished([&](const std::optional<QString>& failure) { outcome = failure; });
        updater.queryCurrencyRates();
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
        EXPECT_TRUE(*s.failure == '\0' ? !*outcome : outcome->value_or("").startsWith(s.failure))
            << outcome->value_or("(none)").toStdString();
        QStringList values;
        for (const QString& code : words("EUR GBP CHF")) {
            values << model->getSaleValueForCurrency(code, "USD").toString();
        }
        CCurrencyDataStorageManager& cache = model->currencyDataStorageManager();
        for (const char* source : {"ECB", "Frankfurter"}) {
            values << cache.getCurrencyInfoForCode("EUR", source)->saleValue.toString();
        }
        EXPECT_EQ(values, words(s.rates) + words(s.cachedEur));
    }
}

TEST_F(SourceOrderTest, SettingsListAddMoveRemoveAndSelect) {
    const struct {
        const char *op, *list;  // the list after the step; an op marked "!" changes nothing
    } rows[] = {
        // clang-format off
        {"add Frankfurter", "ECB Frankfurter"}, {"!add Frankfurter", "ECB Frankfurter"},
        {"!add ECB", "ECB Frankfurter"},        {"!add Nowhere", "ECB Frankfurter"},
        {"add CBR", "ECB Frankfurter CBR"},     {"move 1 0", "ECB CBR Frankfurter"},
        {"!move 0 2", "ECB CBR Frankfurter"},   {"select CBR", "CBR Frankfurter"},
        {"remove 0", "CBR"},                    {"!remove 0", "CBR"},
        {"set Frankfurter ECB", "Frankfurter ECB"}, {"!set ECB ECB", "Frankfurter ECB"},
        {"!set ECB Nowhere", "Frankfurter ECB"},    {"!set", "Frankfurter ECB"},
        // clang-format on
    };
    CSettingsEditor editor(*model);
    for (const auto& r : rows) {
        QStringList op = words(r.op);
        const bool effective = !op.first().startsWith(u'!');
        const QString verb = op.takeFirst().remove(u'!');
        const int before = changes;
        const bool done = verb == u"add"      ? editor.addFurtherDataSource(op.value(0))
                          : verb == u"select" ? editor.selectDataSource(op.value(0))
                          : verb == u"remove" ? editor.removeFurtherDataSource(op[0].toInt())
                          : verb == u"move"
                              ? editor.moveFurtherDataSource(op[0].toInt(), op[1].toInt())
                              : editor.setDataSources(op);
        EXPECT_EQ(done, effective) << r.op;
        EXPECT_EQ(model->getAllSelectedDataSources(), words(r.list)) << r.op;
        EXPECT_EQ(changes - before, effective ? 1 : 0) << r.op << ": one notification a change";
    }
    EXPECT_EQ(editor.addableFurtherDataSources(), words("CBR"));
    // The picker names the source a currency comes from: the first one that offers it.
    EXPECT_EQ(model->getDataSourceForCurrency("GBP"), QStringLiteral("ECB"));
}
