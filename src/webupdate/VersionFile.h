#pragma once

#include <QString>
#include <QStringView>

// The version file that web update reads from the maker's update location: one "KEY: value" entry
// per line. The key is the text before the first colon, trimmed and in upper case; the value is the
// text after it, trimmed. Lines without a colon and unknown keys are ignored, and a later line with
// the same key overwrites an earlier one. The nine keys below must all be present with non-empty
// values; "SHA256" (64 hexadecimal digits: the download's checksum) is optional.
class VersionFile
{
public:
    QString latestVersion;    // "LATEST VERSION": compared with the program's own version
    QString versionToDisplay; // "VERSION TO DISPLAY"
    QString fileUrl;          // "FILE URL": the download; its last path segment names the file
    QString fileSize;         // "FILE SIZE": the download's size as shown to the user
    QString releaseDate;      // "RELEASE DATE"
    QString newsDate;         // "NEWS DATE"
    QString descriptionUrl;   // "DESCRIPTION URL": the change description (RTF)
    QString newChangesText;   // "NEW CHANGES TEXT": heading above the changes the user does not have
    QString oldChangesText;   // "OLD CHANGES TEXT": heading above the changes already installed
    QString sha256;           // "SHA256": lower-case hexadecimal; empty when not given

    // Reads the entries of the text (lines end at LF, CR LF or CR) into the values above.
    void Parse(QStringView text);

    // All nine required values are non-empty.
    bool IsComplete() const;
    // SHA256 is empty or 64 hexadecimal digits.
    bool IsChecksumValid() const;
};
