#pragma once

#include "agent/AcsCharacter.h"

#include <QByteArray>
#include <QString>

#include <optional>

// How AcsWriter stores images.
struct AcsWriteOptions
{
    bool compressImages = true;  // compress pixel data (about 1:6 for drawn frames)
    bool compressRegions = true; // compress region data
    // Images without a region get one computed from their pixels and the transparent index, as
    // editors do; off, they are written without region.
    bool addRegions = true;
};

// Writes an AcsCharacter as a Microsoft Agent 2.0 character file, in the block order editors use.
// Names of animation records, return animations and states are written upper-case, as the format
// expects; the animation list keeps the names as given. The voice and balloon bits of the style
// flags follow whether the voice and balloon info are present. Checksums are written as 0.
//
//     AcsWriter writer;
//     if (!writer.WriteFile(character, path))
//         qWarning() << writer.ErrorText();
class AcsWriter
{
public:
    explicit AcsWriter(AcsWriteOptions options = {});

    // The file's bytes, or std::nullopt when the character cannot be written (see ErrorText).
    std::optional<QByteArray> Write(const AcsCharacter& character);
    // Writes the file atomically: on failure the file at path is left as it was.
    bool WriteFile(const AcsCharacter& character, const QString& path);

    // Why the last Write / WriteFile failed; empty after success.
    QString ErrorText() const { return m_errorText; }

    // The style flags written for this info: its own flags with the voice and balloon bits set from
    // the presence of the voice and balloon info.
    static quint32 StyleFlagsFor(const AcsCharacterInfo& info);

private:
    AcsWriteOptions m_options;
    QString m_errorText;
};
