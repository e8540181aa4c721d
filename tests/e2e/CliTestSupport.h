#pragma once

#include "Decimal.h"
#include "SampleData.h"
#include "SampleServer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

/// Splits a command line written in a test into its arguments (no argument holds a blank).
inline QStringList args(const char* line) {
    return QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts);
}

inline QString str(const QJsonObject& o, const char* key) {
    return o.value(QLatin1String(key)).toString();
}

inline Decimal decimal(const QJsonValue& text) {
    return Decimal::fromString(text.toString());
}

/// One run of numiva-cli: exit code (-1 for a crash), standard output and error.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

/// The real numiva-cli on a fresh data directory, its endpoints pointing at the sample server.
class CliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir runtimeDir;
    SampleServer server;
    QString endpoints = dir.filePath(QStringLiteral("endpoints.ini"));

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(server.start());
        ASSERT_TRUE(server.writeEndpoints(endpoints));
    }

    CliRun cli(const QStringList& arguments) {
        QProcess process;
        // A login session's runtime directory, which Qt's GUI application (for --pdf) expects.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(NUMIVA_CLI));
        process.setArguments(QStringList{QStringLiteral("--data-dir"),
                                         dir.filePath(QStringLiteral("data")),
                                         QStringLiteral("--endpoints"), endpoints} +
                             arguments);
        process.start();
        EXPECT_TRUE(process.waitForFinished(120000)) << arguments.join(u' ').toStdString();
        CliRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }
    CliRun cli(const char* line) { return cli(args(line)); }

    CliRun ok(const QStringList& arguments) {
        CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0)
            << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        return run;
    }
    CliRun ok(const char* line) { return ok(args(line)); }

    QByteArray file(const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    /// Each command of `lines` (separated by ";") is a usage error: it exits 64 with one
    /// "numiva-cli: " line, prints nothing and leaves the stored settings as they were.
    void expectRefused(const char* lines) {
        const QString settings = QStringLiteral("data/Library/Preferences/Numiva.plist");
        const QByteArray before = file(settings);
        ASSERT_FALSE(before.isEmpty());
        for (const QString& text : QString::fromLatin1(lines).split(u';')) {
            const QByteArray bytes = text.trimmed().toLatin1();
            const char* line = bytes.constData();
            const CliRun run = cli(line);
            EXPECT_EQ(run.exitCode, 64) << line;
            EXPECT_EQ(run.err.count('\n'), 1) << line << ": " << run.err.toStdString();
            EXPECT_TRUE(run.err.startsWith("numiva-cli: ")) << run.err.toStdString();
            EXPECT_TRUE(run.out.isEmpty()) << line;
        }
        EXPECT_EQ(file(settings), before);
    }
};
