// Every built-in rate provider against its recorded answers: one test body runs the cases of
// tests/data/<folder>/expected.txt for each provider row below.
//
// Adding a provider:
//   1. put its recorded answers under tests/data/<folder>/;
//   2. give RecordingProviderDelegate (ProviderTestSupport.h) a NUMIVA_RECORD_OUTCOMES line for
//      the client's two delegate calls;
//   3. add a row to `providers()` below: the folder, how a request names the answer it wants
//      (`slotByFile` serves by the last path segment) and how the query starts;
//   4. write the cases into tests/data/<folder>/expected.txt (only the part above "--"), run
//      `NUMIVA_UPDATE_GOLDEN=1 build/tests/providers_tests --gtest_filter='ProviderGolden*'`
//      and read the recorded outcome it wrote before committing it.
//
// expected.txt holds cases, each
//   == name
//   serve <slot> <answer>     one line per answer; a slot's answers are used in order and the
//                             last one repeats. <answer> is a file of the folder, "@drop" (the
//                             connection is cut), or "@<status> [file or text]"
//   query <arguments>         optional, handed to the row's start function
//   --
//   the outcome: "> " request lines (method, target, the service's headers, a POST's body),
//   one "CODE isoCode nominal value name" line per table row, "date ...", "failed: ...",
//   "log: ..." (line breaks as \r and \n).
#include "Log.h"
#include "ProviderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <functional>

namespace {

using Start = std::function<std::shared_ptr<void>(const Endpoints&, RecordingProviderDelegate&,
                                                  const QStringList& arguments)>;
using Slot = std::function<QString(const FakeHttpServer::Request&)>;

struct Provider {
    const char* folder;
    Slot slot;
    Start start;
};

QString slotByFile(const FakeHttpServer::Request& request) {
    return request.path.section(u'/', -1);
}

template <class Client>
std::shared_ptr<Client> make(const Endpoints& endpoints, RecordingProviderDelegate& delegate) {
    auto client = std::make_shared<Client>(endpoints);
    client->setDelegate(&delegate);
    return client;
}

/// Clients that fetch everything they offer.
template <class Client>
Start plainQuery() {
    return [](const Endpoints& endpoints, RecordingProviderDelegate& delegate, const QStringList&) {
        auto client = make<Client>(endpoints, delegate);
        client->queryCurrencies();
        return std::shared_ptr<void>(client);
    };
}

/// Clients asked for codes relative to a base: "query EUR,JPY [base]".
template <class Client>
Start codesQuery() {
    return [](const Endpoints& endpoints, RecordingProviderDelegate& delegate,
              const QStringList& arguments) {
        auto client = make<Client>(endpoints, delegate);
        client->queryCurrencies(arguments.value(0).split(u','),
                                arguments.value(1, QStringLiteral("USD")));
        return std::shared_ptr<void>(client);
    };
}

const QList<Provider>& providers() {
    static const QList<Provider> rows = {
        // The bank's two SOAP operations share one address and differ in their action; the
        // query's day is "query 2013-03-12T10:30:00" (that day when not given).
        {"cbr",
         [](const FakeHttpServer::Request& request) {
             return QString::fromUtf8(request.header("SOAPAction").split('/').last());
         },
         [](const Endpoints& endpoints, RecordingProviderDelegate& delegate,
            const QStringList& arguments) {
             auto client = make<CCBRCurrenciesWebServiceClient>(endpoints, delegate);
             client->queryCurrenciesForDate(QDateTime::fromString(
                 arguments.value(0, QStringLiteral("2013-03-12T10:30:00")), Qt::ISODate));
             return std::shared_ptr<void>(client);
         }},
        {"ecb", slotByFile, plainQuery<CECBCurrenciesWebServiceClient>()},
        {"bankua", slotByFile, plainQuery<CBankUaWebServiceClient>()},
        {"bloomberg", slotByFile, plainQuery<CBloombergCurrencyWebServiceClient>()},
        {"ocbc", slotByFile, plainQuery<COCBCWebServiceClient>()},
        {"yahoo", slotByFile, codesQuery<CYahooFinanceWebServiceClient>()},
        {"paypal", slotByFile, codesQuery<CPayPalWebServiceClient>()},
    };
    return rows;
}

/// Every bundled service address moved to `server`, keeping its path, with made-up accounts.
Endpoints endpointsAt(const FakeHttpServer& server) {
    Endpoints endpoints = Endpoints::defaults();
    for (const auto& [key, value] : endpoints.values().asKeyValueRange()) {
        const QUrl url(value);
        if (key != Endpoints::CbrNamespace && url.scheme().startsWith(QLatin1String("http"))) {
            endpoints.setValue(key, server.baseUrl() + url.path());
        }
    }
    endpoints.setValue(Endpoints::PayPalUserId, QStringLiteral("caller_api1.example.com"));
    endpoints.setValue(Endpoints::PayPalPassword, QStringLiteral("K4TQ2WZ7H9RJ3MX5"));
    endpoints.setValue(Endpoints::PayPalSignature, QStringLiteral("AbtI7HV1xB428Vyg"));
    endpoints.setValue(Endpoints::PayPalApplicationId, QStringLiteral("APP-80W284485P519543T"));
    return endpoints;
}

struct Case {
    QString name;
    QStringList input;  // the lines above "--"
    QStringList expected;
};

QList<Case> readCases(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
    QList<Case> cases;
    bool inOutcome = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QLatin1String("== "))) {
            cases.append({line.mid(3), {}, {}});
            inOutcome = false;
        } else if (cases.isEmpty() || (!inOutcome && (line.startsWith(u'#') || line.isEmpty()))) {
            continue;
        } else if (line == QLatin1String("--")) {
            inOutcome = true;
        } else if (inOutcome) {
            if (!line.isEmpty()) {
                cases.last().expected.append(line);
            }
        } else {
            cases.last().input.append(line);
        }
    }
    return cases;
}

QString escaped(QString text) {
    return text.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
}

FakeHttpServer::Answer answerFrom(const QString& folder, const QString& spec) {
    const auto fileAnswer = [&](const QString& name, int status) {
        static const QMap<QString, QByteArray> types = {
            {"xml", "text/xml; charset=utf-8"},
            {"html", "text/html; charset=utf-8"},
            {"csv", "application/octet-stream"},
            {"json", "application/json;charset=UTF-8"},
        };
        return FakeHttpServer::Answer::text(
            FakeHttpServer::testData(folder + u'/' + name), status,
            types.value(QFileInfo(name).suffix(), "text/plain; charset=utf-8"));
    };
    if (spec == QLatin1String("@drop")) {
        return FakeHttpServer::Answer::closing();
    }
    if (!spec.startsWith(u'@')) {
        return fileAnswer(spec, 200);
    }
    const int status = spec.section(u' ', 0, 0).mid(1).toInt();
    const QString rest = spec.section(u' ', 1);
    if (!rest.isEmpty() &&
        QFile::exists(QStringLiteral(NUMIVA_TEST_DATA "/") + folder + u'/' + rest)) {
        return fileAnswer(rest, status);
    }
    return FakeHttpServer::Answer::text(rest.toUtf8(), status);
}

QStringList describeRequest(const FakeHttpServer::Request& request) {
    QStringList lines = {
        QStringLiteral("> %1 %2").arg(QString::fromLatin1(request.method), request.target)};
    for (const auto& [name, value] : request.headers) {
        if (name.startsWith("X-") || name.compare("SOAPAction", Qt::CaseInsensitive) == 0) {
            lines.append(QStringLiteral(">   %1: %2")
                             .arg(QString::fromLatin1(name), QString::fromUtf8(value)));
        }
    }
    if (!request.body.isEmpty()) {
        lines.append(QStringLiteral(">   ") + escaped(QString::fromUtf8(request.body)));
    }
    return lines;
}

/// Runs one case to its single outcome and describes everything observable about it.
QStringList run(const Provider& provider, const Case& testCase) {
    FakeHttpServer server;
    QMap<QString, QList<FakeHttpServer::Answer>> answers;
    QStringList arguments;
    for (const QString& line : testCase.input) {
        const QString word = line.section(u' ', 0, 0);
        if (word == QLatin1String("serve")) {
            answers[line.section(u' ', 1, 1)].append(
                answerFrom(QString::fromLatin1(provider.folder), line.section(u' ', 2)));
        } else if (word == QLatin1String("query")) {
            arguments = line.section(u' ', 1).split(u' ', Qt::SkipEmptyParts);
        } else {
            ADD_FAILURE() << "unknown line: " << line.toStdString();
        }
    }
    auto used = std::make_shared<QMap<QString, int>>();
    auto mutex = std::make_shared<std::mutex>();
    server.setHandler([&, used, mutex](const FakeHttpServer::Request& request) {
        const QString slot = provider.slot(request);
        const QList<FakeHttpServer::Answer> list = answers.value(slot);
        if (list.isEmpty()) {
            return FakeHttpServer::Answer::text("no answer for " + slot.toUtf8(), 404);
        }
        std::lock_guard lock(*mutex);
        return list.at(std::min<int>((*used)[slot]++, static_cast<int>(list.size()) - 1));
    });

    LogCapture log;
    RecordingProviderDelegate delegate;
    QStringList outcome;
    {
        const std::shared_ptr<void> client =
            provider.start(endpointsAt(server), delegate, arguments);
        if (!delegate.waitForCall()) {
            return {QStringLiteral("no outcome")};
        }
    }
    for (const FakeHttpServer::Request& request : server.requests()) {
        outcome += describeRequest(request);
    }

    if (delegate.calls() != 1 || !delegate.allOnMainThread) {
        outcome.append(QStringLiteral("calls: %1 on the main thread: %2")
                           .arg(delegate.calls())
                           .arg(delegate.allOnMainThread));
    }
    for (const CCBRCurrenciesInfoPtr& table : delegate.results) {
        for (const CCBRCurrencyInfoPtr& row : table->currenciesInfo) {
            outcome.append(QStringLiteral("%1 %2 %3 %4 %5")
                               .arg(row->isoTextCode)
                               .arg(row->isoCode)
                               .arg(row->nominalValue)
                               .arg(row->saleValue.toString(), row->displayName.trimmed())
                               .trimmed());
        }
        // A table without a date of its own is dated when it is made.
        const QDateTime date = table->currencyDate;
        outcome.append(QStringLiteral("date ") +
                       (!date.isValid() ? QStringLiteral("none")
                        : qAbs(date.secsTo(QDateTime::currentDateTime())) < 3600
                            ? QStringLiteral("now")
                            : date.toString(Qt::ISODate)));
    }
    for (const QString& failure : delegate.failures) {
        outcome.append(QStringLiteral("failed: ") + failure);
    }
    for (const QString& line : log.lines()) {
        outcome.append(QStringLiteral("log: ") + escaped(line));
    }
    // The port changes from run to run.
    outcome.replaceInStrings(server.baseUrl(), QStringLiteral("http://server"));
    return outcome;
}

void writeGolden(const QString& path, const QList<Case>& cases,
                 const QList<QStringList>& outcomes) {
    // The comments before the first case are kept; those inside cases are not.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QString out = text.left(std::max<qsizetype>(0, text.indexOf(QLatin1String("\n== ")) + 1));
    if (text.startsWith(QLatin1String("== "))) {
        out.clear();
    }
    for (qsizetype i = 0; i < cases.size(); ++i) {
        out += QStringLiteral("== ") + cases[i].name + u'\n';
        for (const QString& line : cases[i].input) {
            out += line + u'\n';
        }
        out += QStringLiteral("--\n") + outcomes[i].join(u'\n') + QStringLiteral("\n\n");
    }
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    file.write(out.toUtf8());
}

class ProviderGolden : public ::testing::TestWithParam<Provider> {};

TEST_P(ProviderGolden, RecordedAnswersGiveTheExpectedTables) {
    const Provider& provider = GetParam();
    const QString path = QStringLiteral(NUMIVA_TEST_DATA "/%1/expected.txt").arg(provider.folder);
    const QList<Case> cases = readCases(path);
    ASSERT_FALSE(cases.isEmpty()) << path.toStdString();
    QList<QStringList> outcomes;
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name.toStdString());
        outcomes.append(run(provider, testCase));
        if (!qEnvironmentVariableIsSet("NUMIVA_UPDATE_GOLDEN")) {
            EXPECT_EQ(outcomes.last().join(u'\n').toStdString(),
                      testCase.expected.join(u'\n').toStdString());
        }
    }
    if (qEnvironmentVariableIsSet("NUMIVA_UPDATE_GOLDEN")) {
        writeGolden(path, cases, outcomes);
    }
}

INSTANTIATE_TEST_SUITE_P(Providers, ProviderGolden, ::testing::ValuesIn(providers()),
                         [](const ::testing::TestParamInfo<Provider>& info) {
                             return std::string(info.param.folder);
                         });

}  // namespace
