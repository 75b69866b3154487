#include "base/MakerPages.h"

#include "base/AppPaths.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QString GuidePage(const QString& fileName)
{
    return QUrl::fromLocalFile(AppPaths::GuideFolder() + u'/' + fileName).toString(QUrl::FullyEncoded);
}

} // namespace

namespace MakerPages {

QString SupportPage()
{
    return GuidePage(u"index.html"_s);
}

QString CharacterPage()
{
    return GuidePage(u"characters.html"_s);
}

QString HomePage()
{
    return GuidePage(u"about.html"_s);
}

} // namespace MakerPages
