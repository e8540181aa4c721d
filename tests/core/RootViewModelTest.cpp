#include "CRootViewModel.h"
#include "CoreTestSupport.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "Startup.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

/// A model on a fresh data directory, with the start-up order of defaults (settings bundle,
/// then the model's own) and every notification recorded.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Startup::registerDefaultsFromSettingsBundle(defaults);
        // Yahoo's catalogue (metals, no North Korean won) is the one these cases are written for.
        defaults.setObject(QStringList{QStringLiteral("YFinance")},
                           QStringLiteral("SelectedCurrencySources"));
        center.addObserver(this, CRootViewModel::CurrencyDataSourceChanged, nullptr,
                           [this](const QString& n, const void*) { posted << n; });
        center.addObserver(this, CRootViewModel::BaseCurrencyChanged, nullptr,
                           [this](const QString& n, const void*) { posted << n; });
    }

    CRootViewModel& model() {
        if (!model_) {
            model_ = std::make_unique<CRootViewModel>(defaults, center);
            posted.clear();
        }
        return *model_;
    }

    QStringList codes() { return model().getSelectedCurrencyCodes(); }
    void select(const QStringList& codes) {
        defaults.setObject(codes, QStringLiteral("SelectedCurrencies"));
    }
    Decimal sale(const char* code, const char* base) {
        return model().getSaleValueForCurrency(QString::fromLatin1(code),
                                               QString::fromLatin1(base));
    }

    /// Puts rates straight into the list (as a merge would) without going through a provider.
    void setRates(std::initializer_list<CCBRCurrencyInfoPtr> rates) {
        CCBRCurrenciesInfo answer;
        for (const auto& r : rates) {
            answer.addCurrencyInfo(r);
        }
        model().synchronizeDataSourceWithInfo(answer);
    }

    ScopedDataDir dataDir;
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    NotificationCenter center;
    QStringList posted;
    std::unique_ptr<CRootViewModel> model_;
};

TEST_F(ModelTest, FirstLaunchListsEuroAfterTheDollarAndStoresNothing) {
    EXPECT_EQ(codes(), (QStringList{"USD", "EUR"}));
    EXPECT_EQ(model().getBaseCurrencyCode(), QStringLiteral("USD"));
    model().synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
    EXPECT_FALSE(UserDefaults(defaults.filePath())
                     .persistentObjectForKey(QStringLiteral("SelectedCurrencies"))
                     .isValid())
        << "a list the user never changed is derived again, not stored";
    const QVariantMap registered = defaults.registeredDefaults();
    for (const char* key :
         {"SelectedCurrencies", "BaseCurrency", "BaseCurrencyAutoSelect", "SelectedCurrencySources",
          "ConversionFee", "ConversionFeeEnabled", "SubtractFeeEnabled", "DisplayDirectRates",
          "MetalBaseUnitUserDefaultsKey", "ChartDataCsvSeparatorUserDefaultsKey"}) {
        EXPECT_TRUE(registered.contains(QString::fromLatin1(key))) << key;
    }
    EXPECT_EQ(registered.value(QStringLiteral("SelectedCurrencySources")).toStringList(),
              QStringList{"Frankfurter"})
        << "Yahoo's quotes answer 403 since 2017";
    const auto usd = model().currencyDataSource().first();
    EXPECT_TRUE(usd->nominalValue == 1 && usd->saleValue == d("1"));
    EXPECT_EQ(usd->displayName, QStringLiteral("US Dollar"));
}

TEST_F(ModelTest, StoredCodesAreKeptAndAMissingBaseIsAppended) {
    select({"GBP", "JPY", "GBP"});
    defaults.setObject(QStringLiteral("CHF"), QStringLiteral("BaseCurrency"));
    EXPECT_EQ(codes(), (QStringList{"CHF", "GBP", "JPY"}));
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("SelectedCurrencies")),
              (QStringList{"GBP", "JPY", "CHF"}));
}

TEST_F(ModelTest, ChangingTheBaseCurrency) {
    model().setBaseCurrencyCode(QStringLiteral("USD"));
    EXPECT_TRUE(posted.isEmpty()) << "unchanged base posts nothing";

    model().setBaseCurrencyCode(QStringLiteral("GBP"));
    EXPECT_EQ(posted, (QStringList{"CurrencyDataSourceChanged", "BaseCurrencyChanged"}));
    EXPECT_EQ(codes(), (QStringList{"GBP", "USD", "EUR"}));
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("SelectedCurrencies")),
              (QStringList{"USD", "EUR", "GBP"}));

    posted.clear();
    model().setBaseCurrencyCode(QStringLiteral("EUR"));
    EXPECT_EQ(codes(), (QStringList{"EUR", "GBP", "USD"}))
        << "the former base stays as an ordinary entry";
    EXPECT_EQ(posted.size(), 2);
}

TEST_F(ModelTest, SelectingAndDeselectingProviders) {
    model().setDataSource(QStringLiteral("YFinance"), true);
    model().setDataSource(QStringLiteral("ECB"), false);
    EXPECT_TRUE(posted.isEmpty());

    model().setDataSource(QStringLiteral("ECB"), true);
    EXPECT_EQ(model().getAllSelectedDataSources(), (QStringList{"YFinance", "ECB"}));
    EXPECT_EQ(model().getSelectedDataSource(), QStringLiteral("YFinance"))
        << "selecting keeps the active provider";
    model().setDataSource(QStringLiteral("YFinance"), false);
    EXPECT_EQ(model().getSelectedDataSource(), QStringLiteral("ECB"));
    model().setDataSource(QStringLiteral("ECB"), false);
    EXPECT_FALSE(model().getSelectedDataSource().has_value());
    EXPECT_EQ(posted.size(), 3);
}

TEST_F(ModelTest, AvailableCodesAreTheUnionOverSelectedSources) {
    model().setDataSource(QStringLiteral("ECB"), true);
    const QStringList available = model().getAvailableCurrencyCodes();
    // XAU from Yahoo, ISK from the ECB, the euro of both once.
    EXPECT_TRUE(available.contains(QStringLiteral("XAU")) &&
                available.contains(QStringLiteral("ISK")));
    EXPECT_EQ(available.count(QStringLiteral("EUR")), 1);
    EXPECT_FALSE(model().isCurrencyCodeAvailable(QStringLiteral("KPW")));
    const QStringList notSelected = model().getAvailableNotSelectedCurrencyCodes();
    EXPECT_TRUE(!notSelected.contains(QStringLiteral("EUR")) &&
                notSelected.contains(QStringLiteral("GBP")));
}

TEST_F(ModelTest, MergingAnAnswer) {
    select({"EUR", "GBP", "KPW", "GBX", "JPY"});
    model();
    // The cache holds GBP for the active provider only; JPY is nowhere.
    CCBRCurrenciesInfo cached;
    cached.addCurrencyInfo(row("GBP", "1.52"));
    cached.currenciesInfo.first()->actualDate =
        QDateTime(QDate(2013, 3, 12), QTime(8, 0), QTimeZone::utc());
    model().currencyDataStorageManager().addCurrenciesInfoAsync(cached, QStringLiteral("YFinance"));
    CCBRCurrenciesInfo otherSource;
    otherSource.addCurrencyInfo(row("JPY", "0.01"));
    model().currencyDataStorageManager().addCurrenciesInfoAsync(otherSource, QStringLiteral("ECB"));

    const QDateTime before = QDateTime::currentDateTimeUtc();
    setRates({row("EUR", "130", 100), row("KPW", "0.001"), row("USD", "5"), row("EUR", "9")});
    QMap<QString, CCBRCurrencyInfoPtr> rows;
    for (const auto& r : model().currencyDataSource()) {
        rows.insert(r->isoTextCode, r);
    }
    const auto find = [&](const char* code) { return rows.value(QString::fromLatin1(code)); };
    EXPECT_EQ(find("EUR")->saleValueForCurrency(), d("1.3")) << "first EUR row of the answer";
    EXPECT_EQ(find("USD")->saleValue, d("1")) << "the reference row is never overwritten";
    EXPECT_TRUE(find("KPW")->saleValue.isNaN()) << "no selected provider offers it";
    EXPECT_GE(find("KPW")->actualDate, before);
    EXPECT_EQ(find("GBP")->saleValue, d("1.52")) << "from the cache";
    EXPECT_EQ(find("GBP")->actualDate,
              QDateTime(QDate(2013, 3, 12), QTime(8, 0), QTimeZone::utc()));
    EXPECT_EQ(find("GBX")->saleValue, d("0.0152")) << "a penny through the cached pound";
    EXPECT_TRUE(find("JPY")->saleValue.isNaN()) << "another provider's cache is not used";
    EXPECT_EQ(codes(), (QStringList{"USD", "EUR", "GBP", "KPW", "GBX", "JPY"}));
}

TEST_F(ModelTest, TheFeeIsAlwaysAppliedToTheNumerator) {
    select({"EUR", "GBP"});
    setRates({row("EUR", "1.2"), row("GBP", "1.5")});
    struct Case {
        bool enabled, subtract;
        const char* fee;  // nullptr: none registered
        const char* eurInGbp;
        const char* gbpInEur;
    } cases[] = {{false, false, "1.5", "0.8", "1.25"},
                 {true, false, "1.5", "0.812", "1.26875"},
                 {true, true, "1.5", "0.788", "1.23125"},
                 {true, false, nullptr, "0.8", "1.25"},
                 {true, false, "0", "0.8", "1.25"}};
    for (const Case& c : cases) {
        defaults.setObject(c.enabled, QStringLiteral("ConversionFeeEnabled"));
        defaults.setObject(c.subtract, QStringLiteral("SubtractFeeEnabled"));
        defaults.removeObjectForKey(QStringLiteral("ConversionFee"));
        defaults.registerDefaults({{QStringLiteral("ConversionFee"), QVariant()}});
        if (c.fee != nullptr) {
            defaults.setObject(QString::fromLatin1(c.fee).toDouble(),
                               QStringLiteral("ConversionFee"));
        }
        EXPECT_EQ(sale("EUR", "GBP").toString() + " " + sale("GBP", "EUR").toString(),
                  QString::fromLatin1(c.eurInGbp) + " " + QString::fromLatin1(c.gbpInEur));
    }
}

TEST_F(ModelTest, MetalPricesFollowTheChosenWeightUnit) {
    select({"XAU"});
    setRates({row("XAU", "1600")});
    const std::pair<const char*, const char*> cases[] = {
        {"Ounce", "1600"},
        {"Gramm", "51.44119450980476883536055364717298"},
        {"Kilo", "51441.19450980476883536055364717298"},
        {"Pound", "19200"},
        {"Stone", "1600"}};  // unknown unit: as quoted
    for (const auto& [unit, goldInUsd] : cases) {
        defaults.setObject(QString::fromLatin1(unit),
                           QStringLiteral("MetalBaseUnitUserDefaultsKey"));
        EXPECT_EQ(sale("XAU", "USD").toString(), QString::fromLatin1(goldInUsd)) << unit;
    }
}

TEST_F(ModelTest, RatesFollowTheDisplayDirectionAndWhatCannotBeComputedIsNaN) {
    select({"EUR", "GBP", "CHF"});
    setRates({row("EUR", "1.3"), row("CHF", "0")});
    EXPECT_EQ(model().getSaleValueForBaseCurrency(QStringLiteral("EUR")), d("1.3"));
    defaults.setObject(true, QStringLiteral("DisplayDirectRates"));
    EXPECT_EQ(model().getSaleValueForBaseCurrency(QStringLiteral("EUR")).toString(),
              QStringLiteral("0.7692307692307692307692307692307692"));
    defaults.setObject(false, QStringLiteral("DisplayDirectRates"));
    EXPECT_TRUE(sale("JPY", "USD").isNaN()) << "not listed";
    EXPECT_TRUE(sale("EUR", "JPY").isNaN());
    EXPECT_TRUE(sale("EUR", "CHF").isNaN()) << "a zero one-unit value is no divisor";
    EXPECT_TRUE(sale("EUR", "GBP").isNaN());

    model().addCurrencyInfo(QStringLiteral("SEK"));  // never merged: nominal 0
    EXPECT_TRUE(sale("SEK", "USD").isNaN() && sale("USD", "SEK").isNaN());
}

TEST_F(ModelTest, ConversionModeOrdersTheListAndScalesEveryRow) {
    select({"GBP", "EUR", "JPY"});
    setRates({row("EUR", "1.25"), row("GBP", "1.5"), row("JPY", "1", 100)});
    model().convertedCurrencyCode = QStringLiteral("EUR");
    model().convertedCurrencyValue = d("100");
    model().setIsconversionModeEnabled(true);
    EXPECT_EQ(posted, QStringList{"CurrencyDataSourceChanged"});
    EXPECT_EQ(codes(), (QStringList{"EUR", "USD", "GBP", "JPY"}));
    EXPECT_EQ(model().getSaleValueForConvertedCurrency(QStringLiteral("JPY"), false), d("12500"));
    EXPECT_EQ(model().getSaleValueForConvertedCurrency(QStringLiteral("USD"), false), d("125"));
    EXPECT_EQ(model().getSaleValueForConvertedCurrency(QStringLiteral("JPY"), true), d("0.8"));
    model().convertedCurrencyCode = QStringLiteral("KPW");
    EXPECT_TRUE(model().getSaleValueForConvertedCurrency(QStringLiteral("JPY"), false).isNaN());

    model().convertedCurrencyCode = QStringLiteral("JPY");
    model().setIsconversionModeEnabled(true);
    EXPECT_EQ(codes(), (QStringList{"JPY", "USD", "EUR", "GBP"}));
    model().setIsconversionModeEnabled(false);
    EXPECT_EQ(codes(), (QStringList{"USD", "JPY", "EUR", "GBP"}))
        << "others keep their relative order";
}

}  // namespace
