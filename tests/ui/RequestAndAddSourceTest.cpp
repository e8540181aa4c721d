#include "CCurrencyDataSourceInfo.h"
#include "CDataSourcePickerViewController.h"
#include "CRequestCurrencyViewController.h"
#include "Localization.h"
#include "TestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct Recorder : CRequestCurrencyControllerDelegate, CDataSourcePickerViewControllerDelegate {
    void requestCurrencyController(CRequestCurrencyViewController*,
                                   const QStringList& codes) override {
        requests.append(codes);
    }
    void dataSourcePicker(CDataSourcePickerViewController*, const QString& url) override {
        urls.append(url);
    }
    QList<QStringList> requests;
    QStringList urls;
};

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override { Localization::install(QStringLiteral("en")); }
    ScopedDataDir dataDir;
    Recorder recorder;
};

TEST_F(ScreensTest, RequestListsOnlyIsoCodesThatNoSourceOffers) {
    CCustomDataSourceStorageManager registry;
    const CCurrencyDataSourceInfo info(QVariantMap{{"ECB", QStringList{"USD", "EUR"}},
                                                   {"CBR", QStringList{"USD", "RUB"}},
                                                   {"OCBC", QStringList{"SGD"}}},
                                       registry);
    CRequestCurrencyViewController screen(info, false);
    screen.setDelegate(&recorder);
    QSignalSpy alerts(&screen, &CViewController::alertRequested);
    struct Case {
        const char* typed;
        const char* message;
    } cases[] = {
        {"usd",
         "This currency is offered already by: Central Bank of Russia, European Central Bank"},
        {"QQQ", "This is not an ISO 4217 currency code"},
        {"", "This is not an ISO 4217 currency code"},
        {"mnt", nullptr},
        {"MNT", nullptr},  // a code entered twice is listed twice
        {"btn", nullptr},
    };
    for (const Case& c : cases) {
        alerts.clear();
        EXPECT_EQ(screen.enterCode(QString::fromLatin1(c.typed)), c.message == nullptr) << c.typed;
        EXPECT_EQ(alerts.isEmpty() ? QString() : alerts.first().at(0).toString(),
                  c.message ? QString::fromUtf8(c.message) : QString())
            << c.typed;
    }
    EXPECT_EQ(screen.selectedCurrencies(), (QStringList{"MNT", "MNT", "BTN"}));
    EXPECT_EQ(screen.requestedRows().first().toMap().value("name").toString(),
              QStringLiteral("Mongolian Tugrik"));
    screen.onDoneClick();
    ASSERT_EQ(recorder.requests.size(), 1);
    EXPECT_EQ(recorder.requests.first(), (QStringList{"MNT", "MNT", "BTN"}));

    // Deleting the last code takes the Submit row away; Submit then asks for a code.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(screen.canSubmit());
        screen.deleteCode(0);
    }
    EXPECT_FALSE(screen.canSubmit());
    alerts.clear();
    screen.onDoneClick();
    EXPECT_EQ(recorder.requests.size(), 1);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first().at(0).toString(), QStringLiteral("Enter at least one currency code"));
}

TEST_F(ScreensTest, AddSourceHandsOverTrimmedEncodedHttpAddressesOnly) {
    CDataSourcePickerViewController screen(false, nullptr,
                                           QStringLiteral("https://numiva.example/sample.xml"));
    screen.setDelegate(&recorder);
    QSignalSpy alerts(&screen, &CViewController::alertRequested);
    struct Case {
        const char* typed;
        const char* handed;  // nullptr: refused with "InvalidUrl"
    } cases[] = {
        {"  https://example.com/feed.xml \r\n", "https://example.com/feed.xml"},
        {"http://example.com/my feed.xml", "http://example.com/my%20feed.xml"},
        {"https://example.com/a%20b.xml?q=1&r=2", "https://example.com/a%20b.xml?q=1&r=2"},
        {"https://example.com/100%.xml", "https://example.com/100%25.xml"},
        {"https://example.com/курс", "https://example.com/%D0%BA%D1%83%D1%80%D1%81"},
        {"HTTPS://Example.com:8080/f", "HTTPS://Example.com:8080/f"},
        {"ftp://example.com/feed.xml", nullptr},
        {"file:///etc/passwd", nullptr},
        {"javascript:alert(1)", nullptr},
        {"example.com/feed.xml", nullptr},
        {"http://", nullptr},
        {"https://exa mple.com/", nullptr},
    };
    for (const Case& c : cases) {
        recorder.urls.clear();
        alerts.clear();
        EXPECT_EQ(screen.tryProcessEnteredUrl(QString::fromUtf8(c.typed)), c.handed != nullptr)
            << c.typed;
        EXPECT_EQ(recorder.urls,
                  c.handed ? QStringList{QString::fromUtf8(c.handed)} : QStringList())
            << c.typed;
        EXPECT_EQ(alerts.size(), c.handed ? 0 : 1) << c.typed;
    }
    EXPECT_EQ(alerts.first().at(0).toString(),
              QStringLiteral("Enter a full http or https address"));

    // Done only with text; the sample row fills in the address that Done then hands over.
    recorder.urls.clear();
    screen.setText(QString());
    EXPECT_FALSE(screen.doneEnabled() || screen.onDone());
    screen.onSampleRowSelect();
    EXPECT_TRUE(screen.doneEnabled());
    EXPECT_TRUE(screen.footerText().contains(QStringLiteral("https://numiva.example/sample.xml")));
    EXPECT_TRUE(screen.onDone());
    EXPECT_EQ(recorder.urls, QStringList{QStringLiteral("https://numiva.example/sample.xml")});
}

}  // namespace
