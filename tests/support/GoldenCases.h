#pragma once
// Recorded answers and their expected outcomes, kept as text next to the answers:
// tests/data/<folder>/<file> holds cases, each
//   == name
//   serve <slot> <answer>     one line per answer; a slot's answers are used in order and the
//                             last one repeats. <answer> is a file of the folder, "@drop" (the
//                             connection is cut), or "@<status> [file or text]" (text may hold
//                             \n, \r, \" and \xHH escapes)
//   query <arguments>         optional, handed to the row's start function
// "{{BASE}}" in an answer reads as the server's address.
//   --
//   the outcome, as the test describes it.
// NUMIVA_UPDATE_GOLDEN=1 writes the outcomes the code gives instead of comparing them; read
// what it wrote before committing it.
#include "FakeHttpServer.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>

namespace golden {

struct Case {
    QString name;
    QStringList input;  // the lines above "--"
    QStringList expected;

    /// The arguments of the "query" line.
    QStringList arguments() const {
        for (const QString& line : input) {
            if (line.startsWith(QLatin1String("query "))) {
                return line.section(u' ', 1).split(u' ', Qt::SkipEmptyParts);
            }
        }
        return {};
    }
};

inline QList<Case> readCases(const QString& path) {
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

inline QString escaped(QString text) {
    return text.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
}

inline QByteArray unescaped(const QByteArray& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.append(text[i]);
            continue;
        }
        const char next = text[++i];
        if (next == 'x' && i + 2 < text.size()) {
            out.append(static_cast<char>(text.mid(i + 1, 2).toInt(nullptr, 16)));
            i += 2;
        } else {
            out.append(next == 'n' ? '\n' : next == 'r' ? '\r' : next);
        }
    }
    return out;
}

inline FakeHttpServer::Answer answerFrom(const QString& folder, const QString& spec) {
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
    return FakeHttpServer::Answer::text(unescaped(rest.toUtf8()), status);
}

/// Answers the case's "serve" lines, by the slot `slotOf` names for each request.
inline void serve(FakeHttpServer& server, const QString& folder, const Case& testCase,
                  const std::function<QString(const FakeHttpServer::Request&)>& slotOf) {
    QMap<QString, QList<FakeHttpServer::Answer>> answers;
    for (const QString& line : testCase.input) {
        const QString word = line.section(u' ', 0, 0);
        if (word == QLatin1String("serve")) {
            FakeHttpServer::Answer answer = answerFrom(folder, line.section(u' ', 2));
            answer.body.replace("{{BASE}}", server.baseUrl().toUtf8());
            answers[line.section(u' ', 1, 1)].append(answer);
        } else if (word != QLatin1String("query")) {
            ADD_FAILURE() << "unknown line: " << line.toStdString();
        }
    }
    auto used = std::make_shared<QMap<QString, int>>();
    auto mutex = std::make_shared<std::mutex>();
    server.setHandler([answers, slotOf, used, mutex](const FakeHttpServer::Request& request) {
        const QString slot = slotOf(request);
        const QList<FakeHttpServer::Answer> list = answers.value(slot);
        if (list.isEmpty()) {
            return FakeHttpServer::Answer::text("no answer for " + slot.toUtf8(), 404);
        }
        std::lock_guard lock(*mutex);
        return list.at(std::min<int>((*used)[slot]++, static_cast<int>(list.size()) - 1));
    });
}

/// "> METHOD target" lines of every request the server saw, with the service's own headers and
/// a POST's body.
inline QStringList describeRequests(const FakeHttpServer& server) {
    QStringList lines;
    for (const FakeHttpServer::Request& request : server.requests()) {
        lines.append(
            QStringLiteral("> %1 %2").arg(QString::fromLatin1(request.method), request.target));
        for (const auto& [name, value] : request.headers) {
            if (name.startsWith("X-") || name.compare("SOAPAction", Qt::CaseInsensitive) == 0) {
                lines.append(QStringLiteral(">   %1: %2")
                                 .arg(QString::fromLatin1(name), QString::fromUtf8(value)));
            }
        }
        if (!request.body.isEmpty()) {
            lines.append(QStringLiteral(">   ") + escaped(QString::fromUtf8(request.body)));
        }
    }
    return lines;
}

/// The lines every golden outcome ends with: "failed: ..." and "log: ..." (line breaks as \r
/// and \n), with the test server's address as "http://server".
inline QStringList describeEnd(QStringList outcome, const QStringList& failures,
                               const QStringList& log, const FakeHttpServer& server) {
    for (const QString& failure : failures) {
        outcome.append(QStringLiteral("failed: ") + escaped(failure));
    }
    for (const QString& line : log) {
        outcome.append(QStringLiteral("log: ") + escaped(line));
    }
    outcome.replaceInStrings(server.baseUrl(), QStringLiteral("http://server"));
    return outcome;
}

inline void writeGolden(const QString& path, const QList<Case>& cases,
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

/// Runs every case of the golden file at `path` and compares (or records) its outcome.
inline void expectGolden(const QString& path, const std::function<QStringList(const Case&)>& run) {
    const QList<Case> cases = readCases(path);
    ASSERT_FALSE(cases.isEmpty()) << path.toStdString();
    QList<QStringList> outcomes;
    const bool update = qEnvironmentVariableIsSet("NUMIVA_UPDATE_GOLDEN");
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name.toStdString());
        outcomes.append(run(testCase));
        if (!update) {
            EXPECT_EQ(outcomes.last().join(u'\n').toStdString(),
                      testCase.expected.join(u'\n').toStdString());
        }
    }
    if (update) {
        writeGolden(path, cases, outcomes);
    }
}

}  // namespace golden
