#pragma once

#include <QHash>
#include <QString>

// A read-only INI ("profile") file as Windows programs know it:
//  - "[Section]" lines open a section; "key=value" lines inside it give values;
//  - section and key names compare exactly (case-sensitive);
//  - a value is the text after the first "=", with the blanks around it trimmed (the key likewise);
//  - lines beginning with ";" or "#" are comments; other lines without "=" are ignored;
//  - the first occurrence of a section, and of a key within it, wins;
//  - a value is at most kMaxValueLength characters (the rest is cut);
//  - a missing file, section or key reads as an empty text.
// The file is decoded like the data files: UTF-8 when valid, else Windows-1252; LF or CR LF.
class ProfileFile
{
public:
    static constexpr qsizetype kMaxValueLength = 2047;

    ProfileFile() = default;

    // The profile in the file at path; an empty profile when it cannot be read.
    static ProfileFile Read(const QString& path);
    // The profile in a text.
    static ProfileFile FromText(const QString& text);

    QString Value(const QString& section, const QString& key) const;
    bool HasSection(const QString& section) const { return m_sections.contains(section); }

private:
    QHash<QString, QHash<QString, QString>> m_sections;
};
