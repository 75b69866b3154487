#include "base/CPath.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct SplitCase
{
    const char16_t* path;
    const char16_t* directory;
    const char16_t* fileName;
    const char16_t* extension;
};

class CPathSplit : public ::testing::TestWithParam<SplitCase>
{};

} // namespace

TEST_P(CPathSplit, SplitsAndRebuildsUnchanged)
{
    const SplitCase& c = GetParam();
    const CPath path(QString::fromUtf16(c.path));
    EXPECT_EQ(path.Drive(), QString());
    EXPECT_EQ(path.Directory(), QString::fromUtf16(c.directory));
    EXPECT_EQ(path.FileName(), QString::fromUtf16(c.fileName));
    EXPECT_EQ(path.Extension(), QString::fromUtf16(c.extension));
    EXPECT_EQ(path.Path(), QString::fromUtf16(c.path));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CPathSplit,
    ::testing::Values(SplitCase{u"/opt/quorvane/bin/quorvane", u"/opt/quorvane/bin/", u"quorvane", u""},
                      SplitCase{u"/home/a/Quorvan.csv", u"/home/a/", u"Quorvan", u".csv"},
                      SplitCase{u"/home/a/archive.tar.gz", u"/home/a/", u"archive.tar", u".gz"},
                      SplitCase{u"/home/a/.bashrc", u"/home/a/", u".bashrc", u""},
                      SplitCase{u"/home/a/.config.bak", u"/home/a/", u".config", u".bak"},
                      SplitCase{u"/home/a.b/file", u"/home/a.b/", u"file", u""},
                      SplitCase{u"/home/a/file.", u"/home/a/", u"file", u"."}, SplitCase{u"/usr/", u"/usr/", u"", u""},
                      SplitCase{u"/", u"/", u"", u""}, SplitCase{u"URL.ini", u"", u"URL", u".ini"},
                      SplitCase{u"", u"", u"", u""},
                      SplitCase{u"/My Programs/Prix $1/Quorvane", u"/My Programs/Prix $1/", u"Quorvane", u""}));

TEST(CPath, ReplacingPartsNamesTheFilesBesideTheProgram)
{
    CPath path(u"/opt/quorvane/bin/quorvane"_s);
    path.SetFileName(u"URL"_s);
    path.SetExtension(u".ini"_s);
    EXPECT_EQ(path.Path(), u"/opt/quorvane/bin/URL.ini"_s);

    // The separators are supplied when a part comes without them.
    path.SetDirectory(u"/var/lib"_s);
    path.SetExtension(u"bak"_s);
    EXPECT_EQ(path.Path(), u"/var/lib/URL.bak"_s);

    path.SetExtension(QString());
    path.SetDirectory(QString());
    EXPECT_EQ(path.Path(), u"URL"_s);

    // A drive set by hand is kept as a prefix.
    path.SetDrive(u"C:"_s);
    path.SetDirectory(u"/x/"_s);
    EXPECT_EQ(path.Path(), u"C:/x/URL"_s);

    // Splitting again replaces all four parts.
    path.SetPath(u"/a/b.c"_s);
    EXPECT_EQ(path.Drive(), QString());
    EXPECT_EQ(path.Path(), u"/a/b.c"_s);
}

TEST(CPath, ExistsOnlyForAnExistingFile)
{
    TestEnvironment env;
    const QString folder = env.Root() + u"/with space $x"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + u"/URL.ini"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    CPath path(folder + u"/quorvane"_s);
    EXPECT_FALSE(path.Exists());
    path.SetFileName(u"URL"_s);
    path.SetExtension(u"ini"_s);
    EXPECT_TRUE(path.Exists());

    // A folder is not a file.
    EXPECT_FALSE(CPath(env.Root()).Exists());
    EXPECT_FALSE(CPath(env.Root() + u'/').Exists());
}

TEST(CPath, LengthLimitsFollowLinux)
{
    CPath path(u"/tmp/x"_s);
    path.SetFileName(QString(251, u'n'));
    path.SetExtension(u".ini"_s); // 255 bytes
    EXPECT_TRUE(path.IsValid());
    path.SetExtension(u".ini2"_s); // 256 bytes
    EXPECT_FALSE(path.IsValid());
    EXPECT_FALSE(path.Exists());

    // Counted in bytes of the file system's encoding: 128 two-byte letters are 256 bytes.
    path.SetFileName(QString(128, QChar(0x00E9)));
    path.SetExtension(QString());
    EXPECT_FALSE(path.IsValid());

    // The whole path: 4095 bytes at most.
    path.SetFileName(u"f"_s);
    path.SetDirectory(u'/' + QString(4092, u'd')); // "/" + 4092 + "/" + "f" = 4095
    EXPECT_TRUE(path.IsValid());
    path.SetFileName(u"ff"_s);
    EXPECT_FALSE(path.IsValid());

    // A zero character or a '/' inside the name is never valid.
    CPath odd(u"/tmp/x"_s);
    odd.SetFileName(u"a"_s + QChar(0) + u"b"_s);
    EXPECT_FALSE(odd.IsValid());
    odd.SetFileName(u"../../etc/passwd"_s);
    EXPECT_FALSE(odd.IsValid());
}
