#pragma once

#include <QString>

// A file path taken apart into drive, directory, file name and extension, so that one part can be
// replaced and the path put together again: the data files and URL.ini are named by replacing the
// file name and extension of the program's own path.
//
// On Linux a path has no drive: splitting never yields one (Drive() is empty), though one set with
// SetDrive() is kept as a prefix of the rebuilt path. The directory keeps its trailing '/', the
// extension its leading '.': "/opt/quorvane/bin/quorvane" splits into "/opt/quorvane/bin/",
// "quorvane" and "". The extension starts at the last '.' of the last path component; a leading
// '.' belongs to the name (".bashrc" has no extension), as Linux treats such names as hidden files.
//
// Limits: the Linux limits replace the 3/256/260-character buffers of old. A file name with its
// extension may hold at most 255 bytes (NAME_MAX) and the whole path at most 4095 bytes (PATH_MAX
// less its terminating zero), counted in the file system's encoding (UTF-8); a path may not hold a
// zero character. Parts may be set beyond the limits, but such a path is not valid: IsValid() is
// false and Exists() is false.
class CPath
{
public:
    static constexpr qsizetype MaxNameBytes = 255;
    static constexpr qsizetype MaxPathBytes = 4095;

    CPath() = default;
    explicit CPath(const QString& fullPath);

    // Splits a full path into its parts, replacing all four.
    void SetPath(const QString& fullPath);
    // The parts put together again: drive + directory + file name + extension.
    QString Path() const;

    QString Drive() const { return m_drive; }
    QString Directory() const { return m_directory; }
    QString FileName() const { return m_fileName; }
    QString Extension() const { return m_extension; }

    void SetDrive(const QString& drive) { m_drive = drive; }
    // A directory without a trailing '/' gets one (an empty directory stays empty).
    void SetDirectory(const QString& directory);
    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    // An extension without a leading '.' gets one (an empty extension stays empty).
    void SetExtension(const QString& extension);

    // True when the rebuilt path keeps to the limits above.
    bool IsValid() const;
    // True when the rebuilt path is valid and names an existing file (not a directory).
    bool Exists() const;

private:
    QString m_drive;
    QString m_directory;
    QString m_fileName;
    QString m_extension;
};
