#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The four data files (stocks, rules, alerts, announcements) share one shape: a header line
// "<prefix><version>" followed by one CsvRecord line per record, kept in the data folder as
// <name>.csv with a backup <name>.bak. This module reads and writes such files for every list.
//
// Reading (ReadFile, Load)
//  - The whole file is read before anything is handed to the caller: a file that cannot be read to
//    its end adds no records at all, so falling back to the backup never doubles records.
//  - Each line is decoded as UTF-8 when it is valid UTF-8, else as Windows-1252 (a file written on
//    Windows keeps "Société Générale" intact). A UTF-8 byte-order mark at the start is skipped.
//  - Lines end with LF or CR LF (stray CRs before the LF are dropped). The last line needs no LF.
//  - NUL bytes are dropped; a line made only of NUL bytes (a zero-filled block left by a crash) is
//    no record at all. Binary garbage never crashes the reader: at worst it gives odd records.
//  - Only regular files are read, and at most kMaxFileSize bytes: a larger file counts as unreadable.
//
// Writing (WriteFile, Save)
//  - The new content goes to a temporary file in the same folder, is flushed to disk (fsync) and is
//    then renamed over <name>.csv. The previous <name>.csv becomes <name>.bak (a hard link is made
//    first, so <name>.csv exists at every moment: after a crash it holds either the old or the new
//    content in full, never a truncated file).
//  - On any write error the temporary file is removed and <name>.csv and <name>.bak are left as
//    they were: the previous file stays in place.
//  - When there is no <name>.csv to rotate, an existing <name>.bak is kept.
//  - Lines are written in UTF-8, each ended by CR LF. The data folder is created on first write.
//  - Temporary files are named ".<name>.csv.<random>.tmp"; leftovers of an interrupted save are never
//    read and are removed by the next save.
namespace DataFile {

// Files larger than this are not read (no data file of the program comes near it).
inline constexpr qint64 kMaxFileSize = 256 * 1024 * 1024;

// What distinguishes one data file from another.
struct Format
{
    QString name;          // base name: "Quorvan", "Rules", "Alerts", "Announce"
    QString headerPrefix;  // the header up to the version: "Quorvan File Version : "
    int version = 1;       // the version written; a file with a higher one is refused
    QString newerText;     // message when a file carries a higher version
    QString errorCaption;  // caption of that message and of the save error message
    QString saveErrorText; // message when the file cannot be written
};

// <data folder>/<name>.csv and <name>.bak.
QString MainPath(const Format& format);
QString BackupPath(const Format& format);

// The text of one line's bytes: UTF-8 when valid, else Windows-1252. NUL bytes are dropped.
QString DecodeLine(QByteArrayView bytes);

// The lines of a file's bytes, decoded as described above.
QStringList SplitLines(const QByteArray& bytes);

// The same lines without a string of their own each: `text` holds them all and `lines` are views into
// it. The views stay valid while `text` is alive and unchanged (moving the struct keeps them valid).
struct DecodedLines
{
    QString text;
    QList<QStringView> lines;
};
DecodedLines DecodeLines(QByteArrayView bytes);

// The lines of the file at path; false when it is missing, not a regular file, too large or cannot
// be read to its end.
bool ReadLines(const QString& path, QStringList& lines);

enum class ReadStatus
{
    Ok,
    Unreadable,  // missing or unreadable: no message
    NotThisFile, // empty, or the first line does not begin with the header prefix: no message
    Newer,       // a higher version: the newer-version message has been shown
};

struct Contents
{
    int version = 0;     // the header's version (its leading integer, 0 when it has none)
    QStringList records; // the lines after the header
};

// Contents whose records are views into the decoded text (see DecodedLines): for a list that keeps
// only parts of each line.
struct ContentsView
{
    int version = 0;
    QString text;
    QList<QStringView> records;
};

// Reads one data file. The version is the integer at the start of the header's rest (C atoi rules);
// above format.version the message format.newerText / format.errorCaption is shown (error icon).
ReadStatus ReadFile(const QString& path, const Format& format, Contents& contents);
ReadStatus ReadFile(const QString& path, const Format& format, ContentsView& contents);

enum class Source
{
    None,   // neither file could be read
    Main,   // <name>.csv
    Backup, // <name>.bak
};

// Reads <name>.csv, else <name>.bak. Which one gave `contents` is returned; the caller shows its own
// "backup used" message where its list has one.
Source Load(const Format& format, Contents& contents);
Source Load(const Format& format, ContentsView& contents);

// Writes the bytes as the new <path> safely (see above), the previous content becoming backupPath.
// On failure returns false with a short reason in *error and leaves both files as they were.
bool WriteFile(const QString& path, const QString& backupPath, const QByteArray& content, QString* error = nullptr);

// The bytes of a data file: the header line, then every record line, each ended by CR LF.
QByteArray Encode(const QString& header, const QStringList& records);

// Writes the header "<prefix><version>" and the records as <name>.csv, keeping the old file as
// <name>.bak. On failure shows format.saveErrorText / format.errorCaption (error icon) and returns
// false; the previous file stays in place.
bool Save(const Format& format, const QStringList& records);

} // namespace DataFile
