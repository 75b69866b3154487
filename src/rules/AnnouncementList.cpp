#include "rules/AnnouncementList.h"

#include "base/AppPaths.h"
#include "base/UserMessage.h"
#include "market/DataFile.h"
#include "rules/CAnnouncement.h"
#include "rules/OwnedList.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

OwnedList<CAnnouncement>& Announcements()
{
    static OwnedList<CAnnouncement> announcements;
    return announcements;
}

const DataFile::Format& AnnouncementFileFormat()
{
    static const DataFile::Format format{
        u"Announce"_s,
        u"Quorvan Announcement File Version : "_s,
        1,
        u"A newer version of the application wrote the Announcement file."_s,
        u"Quorvane Announcement File Error"_s,
        u"An error occurred saving the Announcements."_s,
    };
    return format;
}

// What a load attempt saw of the two files. While the list stays empty every operation tries to
// load it again; when neither file has changed since the last attempt the outcome cannot differ,
// so it is reused instead of reading (and reporting) the same files once more.
struct FileState
{
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch

    bool operator==(const FileState&) const = default;
};

struct LoadAttempt
{
    FileState main;
    FileState backup;
    bool result = false;
};

// Set once the list was changed here: from then on the list in memory is what counts, even when
// empty, so removing the last announcement never brings the file's copy back.
bool& Edited()
{
    static bool edited = false;
    return edited;
}

std::optional<LoadAttempt>& LastAttempt()
{
    static std::optional<LoadAttempt> attempt;
    return attempt;
}

FileState StateOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified().toMSecsSinceEpoch()};
}

bool ReadAnnouncementFiles()
{
    DataFile::Contents contents;
    const DataFile::Source source = DataFile::Load(AnnouncementFileFormat(), contents);
    if (source == DataFile::Source::None)
        return false;
    for (const QString& line : contents.records) {
        auto announcement = std::make_unique<CAnnouncement>();
        announcement->version = contents.version;
        announcement->line = line;
        announcement->Parse();
        Announcements().Append(std::move(announcement));
    }
    if (source == DataFile::Source::Backup)
        ShowUserMessage(u"Backup Announcement file used"_s, u"Quorvane Announcement File Warning"_s,
                        MessageIcon::Information);
    return true;
}

} // namespace

bool InstallStarterAnnouncements(const QString& starterFile)
{
    const DataFile::Format& format = AnnouncementFileFormat();
    const QString target = DataFile::MainPath(format);
    if (QFileInfo::exists(target) || QFileInfo::exists(DataFile::BackupPath(format)) ||
        !QFileInfo(starterFile).isFile() || !AppPaths::EnsureDataFolder())
        return false;
    // QFile::copy writes a temporary file and renames it: never a half-written list.
    if (!QFile::copy(starterFile, target))
        return false;
    // The installed file may be read-only; the user's copy is theirs to change.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

bool LoadAnnouncements()
{
    if (Announcements().Count() > 0 || Edited())
        return true;
    const DataFile::Format& format = AnnouncementFileFormat();
    LoadAttempt attempt{StateOf(DataFile::MainPath(format)), StateOf(DataFile::BackupPath(format)), false};
    std::optional<LoadAttempt>& last = LastAttempt();
    if (last && last->main == attempt.main && last->backup == attempt.backup)
        return last->result;
    attempt.result = ReadAnnouncementFiles();
    last = attempt;
    return attempt.result;
}

int GetAnnouncementCount()
{
    LoadAnnouncements();
    return Announcements().Count();
}

CAnnouncement* GetAnnouncement(int index)
{
    LoadAnnouncements();
    return Announcements().At(index);
}

CAnnouncement* FindAnnouncement(const QString& name)
{
    LoadAnnouncements();
    for (const auto& announcement : Announcements()) {
        if (announcement->Name() == name)
            return announcement.get();
    }
    return nullptr;
}

bool InsertAnnouncement(int index, std::unique_ptr<CAnnouncement> announcement)
{
    LoadAnnouncements();
    const bool inserted = Announcements().Insert(index, std::move(announcement));
    Edited() = Edited() || inserted;
    return inserted;
}

bool RemoveAnnouncement(int index)
{
    LoadAnnouncements();
    const bool removed = Announcements().Remove(index);
    Edited() = Edited() || removed;
    return removed;
}

bool SaveAnnouncements()
{
    LoadAnnouncements();
    QStringList lines;
    for (const auto& announcement : Announcements()) {
        announcement->Format();
        lines.append(announcement->line);
    }
    return DataFile::Save(AnnouncementFileFormat(), lines);
}

void DeleteAllAnnouncements()
{
    Announcements().Clear();
    Edited() = false;
    LastAttempt().reset();
}
