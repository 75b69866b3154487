#include "market/DataFile.h"

#include "base/AppPaths.h"
#include "base/UserMessage.h"
#include "market/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace DataFile {

namespace {

// Windows-1252 for the bytes 0x80-0x9F; the five bytes it leaves undefined map to the C1 controls,
// as Windows itself converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeCp1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b == 0)
            continue;
        text += QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

bool WriteAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Opens a new, uniquely named temporary file beside target; its descriptor, or -1.
int CreateTemporary(const QString& folder, const QString& fileName, QString& tempPath)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const quint64 random = QRandomGenerator::global()->generate64();
        tempPath = folder + u"/."_s + fileName + u'.' + QString::number(random, 36) + u".tmp"_s;
        const int fd = ::open(Native(tempPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Leftovers of a save that was interrupted (the program was killed between creating and renaming).
void RemoveLeftovers(const QString& folder, const QString& fileName)
{
    const QString prefix = u"."_s + fileName + u'.';
    const QStringList entries =
        QDir(folder).entryList({prefix + u"*.tmp"_s}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        ::unlink(Native(folder + u'/' + entry).constData());
}

void SyncFolder(const QString& folder)
{
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString MainPath(const Format& format)
{
    return AppPaths::DataFile(format.name, u".csv"_s);
}

QString BackupPath(const Format& format)
{
    return AppPaths::DataFile(format.name, u".bak"_s);
}

QString DecodeLine(QByteArrayView bytes)
{
    bool ascii = true;
    bool hasNul = false;
    for (const char byte : bytes) {
        if (byte == 0)
            hasNul = true;
        else if (static_cast<unsigned char>(byte) >= 0x80)
            ascii = false;
    }
    if (ascii && !hasNul)
        return QString::fromLatin1(bytes);
    if (ascii)
        return DecodeCp1252(bytes); // drops the NULs; the rest is ASCII either way

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return DecodeCp1252(bytes);
    if (hasNul)
        text.remove(QChar(0));
    return text;
}

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Every line of `text`, without its LF and the CRs before it, as a view into it.
void AppendLineViews(QStringView text, QList<QStringView>& lines)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        while (end > start && text[end - 1] == u'\r')
            --end;
        lines.append(text.sliced(start, end - start));
        start = next;
    }
}

// The whole text at once, when that gives what decoding line by line would: no NUL bytes, valid
// UTF-8 throughout, and no line beginning with a byte-order mark (the line decoder drops one there).
std::optional<QString> DecodeWhole(QByteArrayView bytes)
{
    if (bytes.contains('\0'))
        return std::nullopt;
    // Look for the mark's first byte only, which plain text does not hold at all.
    for (qsizetype at = bytes.indexOf('\xEF'); at >= 0; at = bytes.indexOf('\xEF', at + 1)) {
        if ((at == 0 || bytes[at - 1] == '\n') && bytes.sliced(at).startsWith(kByteOrderMark))
            return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

// The whole file; false when it is missing, not a regular file, too large or cannot be read to its end.
bool ReadBytes(const QString& path, QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError && bytes.size() <= kMaxFileSize;
}

QStringList ToStringList(const QList<QStringView>& views)
{
    QStringList strings;
    strings.reserve(views.size());
    for (const QStringView view : views)
        strings.append(view.toString());
    return strings;
}

} // namespace

DecodedLines DecodeLines(QByteArrayView bytes)
{
    DecodedLines result;
    if (bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(kByteOrderMark.size());

    if (std::optional<QString> whole = DecodeWhole(bytes)) {
        result.text = std::move(*whole);
        AppendLineViews(result.text, result.lines);
        return result;
    }

    // Line by line: each one UTF-8 or Windows-1252 on its own. The lines are gathered into one text
    // first and viewed once it no longer grows.
    std::vector<std::pair<qsizetype, qsizetype>> spans; // start and length in result.text
    result.text.reserve(bytes.size());
    QByteArrayView rest = bytes;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView raw = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        while (raw.endsWith('\r'))
            raw.chop(1);

        const QString line = DecodeLine(raw);
        if (line.isEmpty() && !raw.isEmpty())
            continue; // nothing but NUL bytes: damage, not an empty record
        spans.emplace_back(result.text.size(), line.size());
        result.text += line;
    }
    result.lines.reserve(qsizetype(spans.size()));
    for (const auto& [start, length] : spans)
        result.lines.append(QStringView(result.text).sliced(start, length));
    return result;
}

QStringList SplitLines(const QByteArray& bytes)
{
    return ToStringList(DecodeLines(bytes).lines);
}

bool ReadLines(const QString& path, QStringList& lines)
{
    QByteArray bytes;
    if (!ReadBytes(path, bytes))
        return false;
    lines = SplitLines(bytes);
    return true;
}

ReadStatus ReadFile(const QString& path, const Format& format, ContentsView& contents)
{
    QByteArray bytes;
    if (!ReadBytes(path, bytes))
        return ReadStatus::Unreadable;
    DecodedLines decoded = DecodeLines(bytes);
    bytes = QByteArray(); // the bytes are not needed beside their text
    if (decoded.lines.isEmpty() || !decoded.lines.first().startsWith(format.headerPrefix))
        return ReadStatus::NotThisFile;

    const qint64 version = NumberText::LeadingInteger(decoded.lines.first().sliced(format.headerPrefix.size()));
    if (version > format.version) {
        ShowUserMessage(format.newerText, format.errorCaption, MessageIcon::Error);
        return ReadStatus::Newer;
    }
    contents.version = int(qMax<qint64>(version, std::numeric_limits<int>::min()));
    decoded.lines.removeFirst();
    contents.text = std::move(decoded.text);
    contents.records = std::move(decoded.lines);
    return ReadStatus::Ok;
}

ReadStatus ReadFile(const QString& path, const Format& format, Contents& contents)
{
    ContentsView view;
    const ReadStatus status = ReadFile(path, format, view);
    if (status == ReadStatus::Ok) {
        contents.version = view.version;
        contents.records = ToStringList(view.records);
    }
    return status;
}

Source Load(const Format& format, Contents& contents)
{
    if (ReadFile(MainPath(format), format, contents) == ReadStatus::Ok)
        return Source::Main;
    if (ReadFile(BackupPath(format), format, contents) == ReadStatus::Ok)
        return Source::Backup;
    return Source::None;
}

Source Load(const Format& format, ContentsView& contents)
{
    if (ReadFile(MainPath(format), format, contents) == ReadStatus::Ok)
        return Source::Main;
    if (ReadFile(BackupPath(format), format, contents) == ReadStatus::Ok)
        return Source::Backup;
    return Source::None;
}

QByteArray Encode(const QString& header, const QStringList& records)
{
    qsizetype size = header.size() + 2;
    for (const QString& record : records)
        size += record.size() + 2;
    QByteArray bytes;
    bytes.reserve(size + size / 8);
    bytes += header.toUtf8();
    bytes += "\r\n";
    for (const QString& record : records) {
        bytes += record.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteFile(const QString& path, const QString& backupPath, const QByteArray& content, QString* error)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };

    if (!QDir().mkpath(folder))
        return fail(u"cannot create the folder "_s + folder);
    RemoveLeftovers(folder, target.fileName());

    QString tempPath;
    const int fd = CreateTemporary(folder, target.fileName(), tempPath);
    if (fd < 0)
        return fail(ErrnoText(errno));

    // Keep the permissions of the file being replaced.
    struct stat existing;
    if (::stat(Native(path).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);

    bool written = WriteAll(fd, content.constData(), content.size());
    int savedErrno = errno;
    if (written && ::fsync(fd) != 0) {
        written = false;
        savedErrno = errno;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        savedErrno = errno;
    }
    if (!written) {
        ::unlink(Native(tempPath).constData());
        return fail(ErrnoText(savedErrno));
    }

    // The old content becomes the backup. A hard link keeps `path` in place meanwhile; where the file
    // system has none, a rename does (the backup is complete, so loading still finds it).
    const QByteArray nativePath = Native(path);
    const QByteArray nativeBackup = Native(backupPath);
    // Without a file to rotate, the backup there is kept.
    bool movedAway = false;
    if (::access(nativePath.constData(), F_OK) == 0) {
        ::unlink(nativeBackup.constData());
        if (::link(nativePath.constData(), nativeBackup.constData()) != 0)
            movedAway = ::rename(nativePath.constData(), nativeBackup.constData()) == 0;
    }

    if (::rename(Native(tempPath).constData(), nativePath.constData()) != 0) {
        savedErrno = errno;
        ::unlink(Native(tempPath).constData());
        if (movedAway)
            ::rename(nativeBackup.constData(), nativePath.constData());
        return fail(ErrnoText(savedErrno));
    }
    SyncFolder(folder);
    return true;
}

namespace {

// The version in the header of the file at path, when it is a data file of this format; else nothing.
std::optional<qint64> HeaderVersion(const QString& path, const Format& format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray start = file.read(4096);
    const qsizetype end = start.indexOf('\n');
    const QString header = DecodeLine(QByteArrayView(start).first(end < 0 ? start.size() : end)).trimmed();
    if (!header.startsWith(format.headerPrefix))
        return std::nullopt;
    return NumberText::LeadingInteger(QStringView(header).sliced(format.headerPrefix.size()));
}

// A save replaces the backup with the previous main file. When that backup was written by a newer
// version of the program (it was refused on loading, and so was the main file it came from), it would
// be lost for good: keep it as <name>.v<version>.bak instead, unless such a copy exists already.
void KeepNewerBackup(const Format& format)
{
    if (!QFileInfo::exists(MainPath(format)))
        return; // the backup is not replaced
    const std::optional<qint64> version = HeaderVersion(BackupPath(format), format);
    if (!version || *version <= format.version)
        return;
    const QString kept = AppPaths::DataFile(format.name + u".v"_s + QString::number(*version), u".bak"_s);
    if (!QFileInfo::exists(kept))
        QFile::rename(BackupPath(format), kept);
}

} // namespace

bool Save(const Format& format, const QStringList& records)
{
    KeepNewerBackup(format);
    const QString header = format.headerPrefix + QString::number(format.version);
    if (WriteFile(MainPath(format), BackupPath(format), Encode(header, records)))
        return true;
    ShowUserMessage(format.saveErrorText, format.errorCaption, MessageIcon::Error);
    return false;
}

} // namespace DataFile
