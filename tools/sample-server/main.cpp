// numiva-sample-server: every rate and chart service Numiva talks to, answering with sample
// data on 127.0.0.1, so the app and the CLI can be tried and tested without the real services.
#include "SampleServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <csignal>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves Numiva's providers with SAMPLE DATA on 127.0.0.1."));
    parser.addHelpOption();
    QCommandLineOption portOption(QStringLiteral("port"),
                                  QStringLiteral("Port to listen on (0: any free port)."),
                                  QStringLiteral("N"), QStringLiteral("0"));
    QCommandLineOption endpointsOption(
        QStringLiteral("write-endpoints"),
        QStringLiteral("Write an endpoints file pointing at this server."), QStringLiteral("FILE"));
    QCommandLineOption failOption(QStringLiteral("fail"),
                                  QStringLiteral("Make a provider answer 503 (repeatable)."),
                                  QStringLiteral("PROVIDER"));
    QCommandLineOption delayOption(
        QStringLiteral("delay"),
        QStringLiteral("Make a provider answer MS milliseconds late (repeatable)."),
        QStringLiteral("PROVIDER=MS"));
    QCommandLineOption skewOption(
        QStringLiteral("skew"),
        QStringLiteral("Make a provider quote CODE PERCENT off the sample rate (repeatable)."),
        QStringLiteral("PROVIDER:CODE=PERCENT"));
    parser.addOptions({portOption, endpointsOption, failOption, delayOption, skewOption});
    parser.process(app);

    QTextStream err(stderr);
    bool ok = false;
    const int port = parser.value(portOption).toInt(&ok);
    if (!ok || port < 0 || port > 65535) {
        err << "numiva-sample-server: --port needs a number from 0 to 65535\n";
        return 64;
    }
    SampleServer server;
    for (const QString& provider : parser.values(failOption)) {
        server.setFailing(provider, true);
    }
    for (const QString& delay : parser.values(delayOption)) {
        if (!server.setDelayFromText(delay)) {
            err << "numiva-sample-server: --delay takes PROVIDER=MS, not " << delay << "\n";
            return 64;
        }
    }
    for (const QString& skew : parser.values(skewOption)) {
        if (!server.setSkewFromText(skew)) {
            err << "numiva-sample-server: --skew takes PROVIDER:CODE=PERCENT, not " << skew << "\n";
            return 64;
        }
    }
    if (!server.start(port)) {
        err << "numiva-sample-server: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    if (parser.isSet(endpointsOption) && !server.writeEndpoints(parser.value(endpointsOption))) {
        err << "numiva-sample-server: cannot write " << parser.value(endpointsOption) << "\n";
        return 1;
    }
    QTextStream(stdout) << "numiva-sample-server: SAMPLE DATA at " << server.baseUrl() << Qt::endl;
    std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    return app.exec();
}
