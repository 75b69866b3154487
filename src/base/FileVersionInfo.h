#pragma once

#include "base/VersionNumber.h"

#include <QString>

#include <optional>

// The version information of a program file. Linux executables carry no version resource, so the
// one file with a version block is the program's own: its version is compiled in from the project
// version (3.0.0.0), with the language "0409" (U.S. English) and the code page "04E4". Any other
// file has no block, and GetFixedVersion() returns false for it.
class FileVersionInfo
{
public:
    // Loads the block of the named file. The program's own file is recognised by its canonical
    // path, so a symbolic link to the program counts as the program.
    explicit FileVersionInfo(const QString& fileName);

    QString FileName() const { return m_fileName; }
    bool HasBlock() const { return m_fixedVersion.has_value(); }

    // Fills the version from the block; false (the version untouched) without one.
    bool GetFixedVersion(VersionNumber& version) const;

    // Four hexadecimal digits each.
    QString Language() const { return m_language; }
    QString CodePage() const { return m_codePage; }
    // "\StringFileInfo\" + language + code page: where the string table of the block lives.
    QString StringTablePrefix() const;

private:
    QString m_fileName;
    std::optional<VersionNumber> m_fixedVersion;
    QString m_language;
    QString m_codePage;
};
