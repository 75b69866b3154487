#include "webupdate/VersionFile.h"

using namespace Qt::StringLiterals;

namespace {

struct Key
{
    QStringView name;
    QString VersionFile::*value;
};

constexpr qsizetype kSha256Digits = 64;

} // namespace

void VersionFile::Parse(QStringView text)
{
    static const Key keys[] = {
        {u"LATEST VERSION", &VersionFile::latestVersion},
        {u"VERSION TO DISPLAY", &VersionFile::versionToDisplay},
        {u"FILE URL", &VersionFile::fileUrl},
        {u"FILE SIZE", &VersionFile::fileSize},
        {u"RELEASE DATE", &VersionFile::releaseDate},
        {u"NEWS DATE", &VersionFile::newsDate},
        {u"DESCRIPTION URL", &VersionFile::descriptionUrl},
        {u"NEW CHANGES TEXT", &VersionFile::newChangesText},
        {u"OLD CHANGES TEXT", &VersionFile::oldChangesText},
        {u"SHA256", &VersionFile::sha256},
    };
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = text.mid(start, end - start);
        start = end + 1;
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++start;

        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed().toString().toUpper();
        for (const Key& known : keys) {
            if (key == known.name) {
                this->*known.value = line.mid(colon + 1).trimmed().toString();
                break;
            }
        }
    }
    sha256 = sha256.toLower();
}

bool VersionFile::IsComplete() const
{
    for (const QString* value : {&latestVersion, &versionToDisplay, &fileUrl, &fileSize, &releaseDate, &newsDate,
                                 &descriptionUrl, &newChangesText, &oldChangesText}) {
        if (value->isEmpty())
            return false;
    }
    return true;
}

bool VersionFile::IsChecksumValid() const
{
    if (sha256.isEmpty())
        return true;
    if (sha256.size() != kSha256Digits)
        return false;
    for (const QChar c : sha256) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}
