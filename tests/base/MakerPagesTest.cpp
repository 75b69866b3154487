// The pages the Help and Character menus open, and every link inside the user guide, lead to files
// that exist: the guide as the build tree holds it, laid out as an installed copy.

#include "base/MakerPages.h"
#include "base/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(MakerPagesTest, EveryPageTheMenusOpenIsAnInstalledFile)
{
    for (const QString& page : {MakerPages::SupportPage(), MakerPages::CharacterPage(), MakerPages::HomePage()}) {
        const QUrl url(page, QUrl::StrictMode);
        ASSERT_TRUE(url.isValid() && url.isLocalFile()) << page.toStdString();
        EXPECT_TRUE(QFileInfo(url.toLocalFile()).isFile()) << page.toStdString();
        EXPECT_TRUE(url.toLocalFile().startsWith(AppPaths::GuideFolder() + u'/')) << page.toStdString();
    }
}

TEST(MakerPagesTest, EveryLinkInTheGuideLeadsToAFileAndAnchorThatExist)
{
    const QDir guide(AppPaths::GuideFolder());
    const QStringList pages = guide.entryList({u"*.html"_s}, QDir::Files);
    ASSERT_GE(pages.size(), 3) << guide.path().toStdString();
    static const QRegularExpression link(uR"re((?:href|src)="([^"]*)")re"_s);
    int links = 0;
    for (const QString& page : pages) {
        const QString html = Read(guide.filePath(page));
        for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
            const QString target = match.captured(1);
            const std::string where = (page + u": "_s + target).toStdString();
            ASSERT_TRUE(QUrl(target).isRelative()) << where << ": the guide works offline";
            const QString file = target.section(u'#', 0, 0);
            const QString anchor = target.section(u'#', 1);
            const QString path = file.isEmpty() ? guide.filePath(page) : guide.filePath(file);
            EXPECT_TRUE(QFileInfo(path).isFile()) << where;
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(Read(path).contains(u"id=\""_s + anchor + u'"')) << where;
            }
            ++links;
        }
    }
    EXPECT_GT(links, 20);
}
