// Replays every saved crasher (tests/fuzz/regressions/<target>/) and every seed of every fuzz
// target in the normal build, so a fault the fuzzers found stays fixed.
#include "FuzzTargets.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <map>

namespace {

const QString kTests = QStringLiteral(NUMIVA_TESTS_DIR);

/// targets.txt: target name to its seed directories.
std::map<QString, QStringList> manifest() {
    std::map<QString, QStringList> seeds;
    QFile file(kTests + QStringLiteral("/fuzz/targets.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList words = in.readLine().split(u' ', Qt::SkipEmptyParts);
        if (words.size() >= 3 && !words[0].startsWith(u'#')) {
            seeds[words[0]] = words.mid(2);
        }
    }
    return seeds;
}

class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, RegressionsAndSeedsRunClean) {
    initializeFuzzTargets();
    const FuzzTarget& target = GetParam();
    const auto seeds = manifest();
    const auto entry = seeds.find(QString::fromLatin1(target.name));
    ASSERT_NE(entry, seeds.end()) << target.name << " is missing from targets.txt";
    QStringList dirs = entry->second;
    dirs.append(QStringLiteral("fuzz/regressions/") + QString::fromLatin1(target.name));
    int files = 0;
    for (const QString& dir : dirs) {
        QDirIterator it(kTests + u'/' + dir, QDir::Files | QDir::Hidden);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(file.fileName().toStdString());
            runFuzzTarget(target, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()));
            ++files;
        }
    }
    EXPECT_GT(files, 0) << "no seeds for " << target.name;
}

TEST(FuzzReplay, EveryListedTargetExists) {
    for (const auto& [name, dirs] : manifest()) {
        bool found = false;
        for (const FuzzTarget& t : fuzzTargets()) {
            found = found || name == QLatin1String(t.name);
        }
        EXPECT_TRUE(found) << qPrintable(name);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay,
                         ::testing::ValuesIn(fuzzTargets().begin(), fuzzTargets().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
