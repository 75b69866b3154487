#include "market/DataFile.h"

#include "MarketTestSupport.h"
#include "base/AppPaths.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using MarketTest::ReadBytes;
using MarketTest::WriteBytes;

namespace {

DataFile::Format TestFormat()
{
    return {u"Things"_s, u"Thing File Version : "_s, 2, u"Too new."_s, u"Thing Error"_s, u"Could not save."_s};
}

class DataFileTest : public ::testing::Test
{
protected:
    void SetUp() override { RecordingMessagePresenter::Instance().Clear(); }
    QString Main() const { return DataFile::MainPath(TestFormat()); }
    QString Backup() const { return DataFile::BackupPath(TestFormat()); }
    QStringList Leftovers() const
    {
        return QDir(AppPaths::DataFolder()).entryList({u"*.tmp"_s}, QDir::Files | QDir::Hidden);
    }

    TestEnvironment m_env;
};

TEST_F(DataFileTest, PathsAreInTheDataFolder)
{
    EXPECT_EQ(Main(), m_env.DataHome() + u"/Quorvane/Things.csv"_s);
    EXPECT_EQ(Backup(), m_env.DataHome() + u"/Quorvane/Things.bak"_s);
}

TEST_F(DataFileTest, SplitLinesAcceptsLfAndCrLfAndAMissingLastBreak)
{
    EXPECT_EQ(DataFile::SplitLines("a\r\nb\nc\r\r\n\nd"), (QStringList{u"a"_s, u"b"_s, u"c"_s, u""_s, u"d"_s}));
    EXPECT_EQ(DataFile::SplitLines("a\n"), (QStringList{u"a"_s}));
    EXPECT_EQ(DataFile::SplitLines("\n"), (QStringList{u""_s}));
    EXPECT_EQ(DataFile::SplitLines(""), QStringList());
    EXPECT_EQ(DataFile::SplitLines("a\rb\n"), (QStringList{u"a\rb"_s})) << "a lone CR is no line break";
}

TEST_F(DataFileTest, DecodesUtf8AndFallsBackToWindows1252PerLine)
{
    const QByteArray cp1252 = "Soci\xE9t\xE9 G\xE9n\xE9rale \x80 \x93q\x94";
    const QByteArray utf8 = "Soci\xC3\xA9t\xC3\xA9 G\xC3\xA9n\xC3\xA9rale \xE2\x82\xAC";
    EXPECT_EQ(DataFile::DecodeLine(cp1252), u"Société Générale € “q”"_s);
    EXPECT_EQ(DataFile::DecodeLine(utf8), u"Société Générale €"_s);
    EXPECT_EQ(DataFile::SplitLines("\xEF\xBB\xBFhead\r\n" + utf8 + "\r\n" + cp1252 + "\r\n"),
              (QStringList{u"head"_s, u"Société Générale €"_s, u"Société Générale € “q”"_s}));
    EXPECT_EQ(DataFile::DecodeLine("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D"_s);
}

// Decoding the whole text at once must give exactly what decoding each line on its own gives.
TEST_F(DataFileTest, DecodeLinesMatchesLineByLineDecoding)
{
    const QByteArray mark = "\xEF\xBB\xBF";
    const QByteArray inputs[] = {
        "head\r\nplain,ascii\r\n",
        "Soci\xC3\xA9t\xC3\xA9\r\n\xE2\x82\xAC 5\n",
        "ok\r\nSoci\xE9t\xE9\r\n",     // one Windows-1252 line among UTF-8 ones
        "a\r\n" + mark + "b\r\n",      // a mark at a line's start
        "a\n" + mark + "\r\nc",        // a line of nothing but a mark
        mark + mark + "head\n" + mark, // a second mark after the first
        "a\xEF\xBB\xBF\n\xEF\n",       // marks and their first byte elsewhere
        "a\n\xC3",                     // a truncated sequence at the end
    };
    for (const QByteArray& bytes : inputs) {
        QStringList expected;
        QByteArray rest = bytes.startsWith(mark) ? bytes.mid(3) : bytes;
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf('\n');
            QByteArray raw = end < 0 ? rest : rest.left(end);
            rest = end < 0 ? QByteArray() : rest.mid(end + 1);
            while (raw.endsWith('\r'))
                raw.chop(1);
            const QString line = DataFile::DecodeLine(raw);
            if (!line.isEmpty() || raw.isEmpty())
                expected.append(line);
        }
        QStringList decoded;
        for (const QStringView line : DataFile::DecodeLines(bytes).lines)
            decoded.append(line.toString());
        EXPECT_EQ(decoded, expected) << bytes.toHex().constData();
    }
}

TEST_F(DataFileTest, NulBytesAreDroppedAndNulOnlyLinesSkipped)
{
    const QByteArray bytes = QByteArray("a\0b\r\n", 5) + QByteArray(4096, '\0') + "\r\nc\n" + QByteArray(3, '\0');
    EXPECT_EQ(DataFile::SplitLines(bytes), (QStringList{u"ab"_s, u"c"_s}));
    EXPECT_EQ(DataFile::DecodeLine(QByteArray("\xC3\xA9\0x", 4)), u"éx"_s);
}

TEST_F(DataFileTest, ReadFileChecksTheHeader)
{
    DataFile::Contents contents;
    EXPECT_EQ(DataFile::ReadFile(Main(), TestFormat(), contents), DataFile::ReadStatus::Unreadable);

    ASSERT_TRUE(WriteBytes(Main(), ""));
    EXPECT_EQ(DataFile::ReadFile(Main(), TestFormat(), contents), DataFile::ReadStatus::NotThisFile);
    ASSERT_TRUE(WriteBytes(Main(), "thing File Version : 1\r\nx\r\n"));
    EXPECT_EQ(DataFile::ReadFile(Main(), TestFormat(), contents), DataFile::ReadStatus::NotThisFile);

    for (const auto& [header, version] :
         std::initializer_list<std::pair<QByteArray, int>>{{"Thing File Version : 2", 2},
                                                           {"Thing File Version :  1 and more", 1},
                                                           {"Thing File Version : ", 0},
                                                           {"Thing File Version : abc", 0},
                                                           {"Thing File Version : -4", -4}}) {
        ASSERT_TRUE(WriteBytes(Main(), header + "\r\nrecord one\r\n\r\n"));
        contents = {};
        EXPECT_EQ(DataFile::ReadFile(Main(), TestFormat(), contents), DataFile::ReadStatus::Ok) << header.constData();
        EXPECT_EQ(contents.version, version);
        EXPECT_EQ(contents.records, (QStringList{u"record one"_s, u""_s}));
    }
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_F(DataFileTest, ANewerVersionIsRefusedWithTheMessage)
{
    for (const QByteArray& version : {QByteArray("3"), QByteArray("99999999999999999999")}) {
        ASSERT_TRUE(WriteBytes(Main(), "Thing File Version : " + version + "\r\nx\r\n"));
        DataFile::Contents contents;
        EXPECT_EQ(DataFile::ReadFile(Main(), TestFormat(), contents), DataFile::ReadStatus::Newer);
        EXPECT_TRUE(contents.records.isEmpty());
        const auto messages = RecordingMessagePresenter::Instance().Take();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0].text, u"Too new."_s);
        EXPECT_EQ(messages[0].caption, u"Thing Error"_s);
        EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    }
}

TEST_F(DataFileTest, OnlyRegularFilesAreRead)
{
    QDir().mkpath(Main());
    DataFile::Contents contents;
    EXPECT_EQ(DataFile::ReadFile(Main(), TestFormat(), contents), DataFile::ReadStatus::Unreadable);
}

TEST_F(DataFileTest, LoadFallsBackToTheBackup)
{
    ASSERT_TRUE(WriteBytes(Backup(), "Thing File Version : 1\r\nfrom backup\r\n"));
    DataFile::Contents contents;
    EXPECT_EQ(DataFile::Load(TestFormat(), contents), DataFile::Source::Backup);
    EXPECT_EQ(contents.records, QStringList{u"from backup"_s});

    ASSERT_TRUE(WriteBytes(Main(), "Thing File Version : 2\r\nfrom main\r\n"));
    EXPECT_EQ(DataFile::Load(TestFormat(), contents), DataFile::Source::Main);
    EXPECT_EQ(contents.records, QStringList{u"from main"_s});

    ASSERT_TRUE(WriteBytes(Main(), "\x7F"
                                   "ELF\x02\x01\x01\0\0\0garbage"));
    EXPECT_EQ(DataFile::Load(TestFormat(), contents), DataFile::Source::Backup);
    QFile::remove(Backup());
    EXPECT_EQ(DataFile::Load(TestFormat(), contents), DataFile::Source::None);
}

TEST_F(DataFileTest, SaveWritesCrLfUtf8AndRotatesTheBackup)
{
    EXPECT_FALSE(QFileInfo::exists(AppPaths::DataFolder()));
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"first"_s, u"Société"_s}));
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\nfirst\r\nSoci\xC3\xA9t\xC3\xA9\r\n");
    EXPECT_FALSE(QFileInfo::exists(Backup()));

    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"second"_s}));
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\nsecond\r\n");
    EXPECT_EQ(ReadBytes(Backup()), "Thing File Version : 2\r\nfirst\r\nSoci\xC3\xA9t\xC3\xA9\r\n");

    ASSERT_TRUE(DataFile::Save(TestFormat(), {}));
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\n");
    EXPECT_EQ(ReadBytes(Backup()), "Thing File Version : 2\r\nsecond\r\n");
    EXPECT_TRUE(Leftovers().isEmpty());
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_F(DataFileTest, WithoutAMainFileTheBackupIsKept)
{
    // Loaded from the backup because the main file was gone: the first save must not throw the backup away.
    ASSERT_TRUE(WriteBytes(Backup(), "Thing File Version : 2\r\nlast good\r\n"));
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"new"_s}));
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\nnew\r\n");
    EXPECT_EQ(ReadBytes(Backup()), "Thing File Version : 2\r\nlast good\r\n");
}

TEST_F(DataFileTest, AFileFromANewerVersionIsNeverThrownAway)
{
    // Both files come from a newer version: they were refused on loading, and the program went on
    // with defaults. Two saves rotate the newer main file through the backup slot; it must survive.
    const QByteArray newer = "Thing File Version : 3\r\nfrom the future\r\n";
    ASSERT_TRUE(WriteBytes(Main(), newer));
    ASSERT_TRUE(WriteBytes(Backup(), "Thing File Version : 2\r\nold backup\r\n"));
    const QString kept = AppPaths::DataFile(u"Things.v3"_s, u".bak"_s);

    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"first"_s}));
    EXPECT_EQ(ReadBytes(Backup()), newer);
    EXPECT_FALSE(QFileInfo::exists(kept));

    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"second"_s}));
    EXPECT_EQ(ReadBytes(kept), newer);
    EXPECT_EQ(ReadBytes(Backup()), "Thing File Version : 2\r\nfirst\r\n");
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\nsecond\r\n");

    // A copy that is kept already is not replaced by a later one.
    ASSERT_TRUE(WriteBytes(Backup(), "Thing File Version : 3\r\nlater\r\n"));
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"third"_s}));
    EXPECT_EQ(ReadBytes(kept), newer);
}

TEST_F(DataFileTest, SaveKeepsThePermissionsOfTheFileItReplaces)
{
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"a"_s}));
    ASSERT_TRUE(QFile::setPermissions(Main(), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"b"_s}));
    const QFile::Permissions ownerGroupOther(0x7077);
    EXPECT_EQ(QFile::permissions(Main()) & ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(DataFileTest, TheMainFileIsNeverRewrittenInPlace)
{
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"old one"_s, u"old two"_s}));
    // A reader that opened the file before the save (or a crash halfway through it) must see the old
    // content whole: the new content goes to a new file that replaces the old one by rename.
    QFile before(Main());
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"new"_s}));
    EXPECT_EQ(before.readAll(), "Thing File Version : 2\r\nold one\r\nold two\r\n");
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\nnew\r\n");
}

TEST_F(DataFileTest, ALeftoverTemporaryFileIsIgnoredAndCleanedUp)
{
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"good"_s}));
    const QString leftover = AppPaths::DataFolder() + u"/.Things.csv.k3j2h1.tmp"_s;
    ASSERT_TRUE(WriteBytes(leftover, "Thing File Version : 2\r\nhalf writ"));
    DataFile::Contents contents;
    EXPECT_EQ(DataFile::Load(TestFormat(), contents), DataFile::Source::Main);
    EXPECT_EQ(contents.records, QStringList{u"good"_s});
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"better"_s}));
    EXPECT_FALSE(QFileInfo::exists(leftover));
}

TEST_F(DataFileTest, AFailedWriteLeavesBothFilesAsTheyWere)
{
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"older"_s}));
    ASSERT_TRUE(DataFile::Save(TestFormat(), {u"previous"_s}));

    // A disk that fills up halfway: the process may write only 100 bytes per file. This works for
    // root too, where an unwritable folder would not stop anything.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = DataFile::Save(TestFormat(), {QString(500, u'x'), u"more"_s});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_ok);
    const auto messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, u"Could not save."_s);
    EXPECT_EQ(messages[0].caption, u"Thing Error"_s);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ReadBytes(Main()), "Thing File Version : 2\r\nprevious\r\n");
    EXPECT_EQ(ReadBytes(Backup()), "Thing File Version : 2\r\nolder\r\n");
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(DataFileTest, AnUncreatableFolderFailsTheSave)
{
    // The data folder's parent is a plain file: nothing can be created below it, even as root.
    ASSERT_TRUE(WriteBytes(m_env.Root() + u"/blocked"_s, "not a folder"));
    m_env.Set("XDG_DATA_HOME", QFile::encodeName(m_env.Root() + u"/blocked"_s));
    EXPECT_FALSE(DataFile::Save(TestFormat(), {u"x"_s}));
    EXPECT_EQ(RecordingMessagePresenter::Instance().Take().size(), 1);
}

} // namespace
