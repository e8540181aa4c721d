// Sources in order: the merge, what a failing source keeps, the cache per source, the settings.
#include "CRateFreshness.h"
#include "CRateListUpdater.h"
#include "CRateRows.h"
#include "CRootViewModel.h"
#include "CSettingsEditor.h"
#include "FakeHttpServer.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QTest>
#include <QTimeZone>

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
    // for EUR GBP CHF, the failure line's start, the cached EUR under ECB and Frankfurter, and
    // what the rows of EUR GBP CHF say of their source.
    const struct {
        const char *sources, *ecb, *frankfurter, *rates, *failure, *cachedEur, *notes;
    } steps[] = {
        {"ECB Frankfurter", "1.25 0.8", "0.5 0.8", "1.25 1.5625 1.25", "", "1.25 2",
         "||from Frankfurter"},
        // A failing further source: the others' fresh rates, its own cached ones.
        {"ECB Frankfurter", "1.5 1", "", "1.5 1.5 1.25", "Frankfurter (central banks) could",
         "1.5 2", "||cached, Frankfurter failed"},
        // A failing active source: another source's fresh rate beats its cached one.
        {"ECB Frankfurter", "", "0.25 0.5", "4 1.5 2", "European Central Bank could not", "1.5 4",
         "from Frankfurter|cached, ECB failed|from Frankfurter"},
        // All fail: each currency from the cache of the first source that has it.
        {"ECB Frankfurter", "", "", "1.5 1.5 2", "European Central Bank, Frankfurter", "1.5 4",
         "cached, ECB failed|cached, ECB failed|cached, Frankfurter failed"},
        // One source fails as it always did; a currency only another source offers has no rate.
        {"ECB", "", "", "1.5 1.5 NaN", "European Central Bank could not", "1.5 4",
         "cached, ECB failed|cached, ECB failed|"},
    };
    // Both answers are of Friday 4 December: fresh over the weekend, stale on Wednesday.
    const QDateTime friday(QDate(2026, 12, 4), QTime(0, 0), QTimeZone::utc());
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
        QStringList notes;
        CRateRows rows(*model, std::nullopt);
        for (const QString& code : words("EUR GBP CHF")) {
            values << model->getSaleValueForCurrency(code, "USD").toString();
            const CCBRCurrencyInfoPtr listed = model->getListedInfoForCurrency(code);
            const CRateRow row = rows.row(*listed);
            notes << row.sourceNote;
            // Fresh or cached, a rate keeps the day it was published.
            EXPECT_TRUE(listed->saleValue.isNaN() || listed->actualDate == friday)
                << code.toStdString();
            rows.setNow(friday.addDays(5).addSecs(-1));
            EXPECT_FALSE(rows.row(*listed).stale);
            rows.setNow(friday.addDays(5));
            EXPECT_EQ(rows.row(*listed).stale, !listed->saleValue.isNaN());
        }
        EXPECT_EQ(notes.join(u'|'), QString::fromUtf8(s.notes));
        CCurrencyDataStorageManager& cache = model->currencyDataStorageManager();
        for (const char* source : {"ECB", "Frankfurter"}) {
            values << cache.getCurrencyInfoForCode("EUR", source)->saleValue.toString();
        }
        EXPECT_EQ(values, words(s.rates) + words(s.cachedEur));
    }
}

TEST(RateFreshness, StaleRulePerSourceKind) {
    // Friday 4 December 2026, as the banks date their rates; "now" is given, never the clock's.
    const QDateTime friday(QDate(2026, 12, 4), QTime(0, 0), QTimeZone::utc());
    const QDateTime fetched(QDate(2026, 12, 7), QTime(9, 0), QTimeZone::utc());
    const struct {
        const char* source;
        QDateTime date, now;
        bool stale;
    } cases[] = {
        {"ECB", friday, friday.addSecs(15 * 3600), false},         // fresh
        {"CBR", friday, friday.addDays(3).addSecs(3600), false},   // the weekend
        {"BankUa", friday, friday.addDays(5).addSecs(-1), false},  // and a holiday Monday
        {"Frankfurter", friday, friday.addDays(5), true},
        {"CBR", friday.addDays(1), friday, false},  // a bank's rate for tomorrow
        {"CurrencyApi", friday, friday.addDays(3).addSecs(-1), false},
        {"CurrencyApi", friday, friday.addDays(3), true},
        {"YFinance", fetched, fetched.addSecs(24 * 3600), false},
        {"PayPal", fetched, fetched.addSecs(24 * 3600 + 60), true},
        {"https://rates.example/feed.xml", friday, friday.addDays(5).addSecs(-1), false},
        {"https://rates.example/feed.xml", friday, friday.addDays(5), true},
        {"OCBC", QDateTime(), fetched, false},  // no date: nothing to judge
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CRateFreshness::isStale(QString::fromUtf8(c.source), c.date, c.now), c.stale)
            << c.source << " " << c.now.toString(Qt::ISODate).toStdString();
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
