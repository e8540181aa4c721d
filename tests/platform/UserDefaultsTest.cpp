#include "UserDefaults.h"

#include "AtomicFile.h"
#include "PropertyList.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Library/Preferences/Numiva.plist"));
};

TEST_F(UserDefaultsTest, RegisteredDefaultsAnswerUntilAValueIsStoredAndAreNeverWritten) {
    UserDefaults defaults(path);
    defaults.registerDefaults({{QStringLiteral("BaseCurrency"), QStringLiteral("USD")}});
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("BaseCurrency")), QStringLiteral("USD"));
    EXPECT_FALSE(defaults.persistentObjectForKey(QStringLiteral("BaseCurrency")).isValid());

    defaults.setObject(QStringLiteral("EUR"), QStringLiteral("BaseCurrency"));
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("BaseCurrency")), QStringLiteral("EUR"));

    defaults.removeObjectForKey(QStringLiteral("BaseCurrency"));
    defaults.setObject(1, QStringLiteral("Other"));
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("BaseCurrency")), QStringLiteral("USD"));

    const QVariantMap onDisk = PropertyList::readFile(path).value().toMap();
    EXPECT_FALSE(onDisk.contains(QStringLiteral("BaseCurrency")));
    EXPECT_TRUE(onDisk.contains(QStringLiteral("Other")));
}

TEST_F(UserDefaultsTest, AbsentAndMistypedValuesReadAsNothing) {
    UserDefaults defaults(path);
    defaults.setObject(QStringLiteral("x"), QStringLiteral("text"));
    defaults.setObject(QVariantList{1, 2}, QStringLiteral("numbers"));
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("missing")));
    EXPECT_FALSE(defaults.numberForKey(QStringLiteral("missing")).has_value());
    EXPECT_FALSE(defaults.numberForKey(QStringLiteral("text")).has_value());
    EXPECT_TRUE(defaults.stringArrayForKey(QStringLiteral("numbers")).isEmpty());
    EXPECT_TRUE(defaults.stringArrayForKey(QStringLiteral("text")).isEmpty());
    EXPECT_TRUE(defaults.stringForKey(QStringLiteral("numbers")).isEmpty());
    EXPECT_FALSE(defaults.dateForKey(QStringLiteral("text")).isValid());
}

TEST_F(UserDefaultsTest, OnlyRegularFilesAreReplaced) {
    // A device or a pipe in the way (as /dev/full) is refused, not replaced by a file.
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QString error;
    EXPECT_FALSE(AtomicFile::write(fifo, "x", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("not a regular file")));
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

}  // namespace
