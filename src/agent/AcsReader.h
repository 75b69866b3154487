#pragma once

#include "agent/AcsCharacter.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// Why a character file could not be read.
enum class AcsReadError
{
    None,
    CannotOpen,       // missing, unreadable, or not a regular file
    TooLarge,         // larger than the reader accepts
    NotCharacterFile, // no character file signature
    OldFormat,        // a character file of the older 1.5 format (a compound document)
    WebFormat,        // a web character (.acf) rather than a complete .acs file
    Damaged,          // the structure is broken: a block outside the file, a count past its end, bad compression
    LimitExceeded,    // well formed, but it would need more memory than the limits allow
};

// Bounds that keep a hostile file from claiming unreasonable memory.
struct AcsReadLimits
{
    qint64 maxFileSize = qint64(256) << 20; // bytes of the file itself
    // Memory for everything read: image pixels and regions, sounds, animations (several list entries
    // may name the same record, so this can be far more than the file's size).
    qint64 maxDecodedBytes = qint64(512) << 20;
    int maxImageSide = 4096; // pixels, for width and height of each image
};

// Reads a Microsoft Agent 2.0 character file (.acs) completely into an AcsCharacter: the character
// info (voice, balloon, palette, tray icon, states, localized names), every animation, every image
// (decompressed, with its region) and every sound.
//
// A damaged or hostile file is refused with an error (never a crash, never a runaway allocation).
// Slips that do not stop the character from playing are mended instead, so that everything in the
// result refers to something that exists: a frame image or mouth overlay naming a missing image is
// dropped, a sound index out of range becomes "no sound", a branch to a missing frame is dropped,
// an exit branch out of range ends the exit there, an unknown transition type counts as none, a
// return animation that does not exist is cleared, branches beyond 100 % in total (which can never
// be taken) are dropped, and animations without a name or with the name of an earlier one (which
// can never be played) and states without a name are left out. A character read is therefore
// always one that AcsCharacter::Validate accepts and AcsWriter can write.
class AcsReader
{
public:
    explicit AcsReader(AcsReadLimits limits = {});

    std::optional<AcsCharacter> ReadFile(const QString& path);
    std::optional<AcsCharacter> Read(QByteArrayView data);

    // The result of the last Read / ReadFile.
    AcsReadError Error() const { return m_error; }
    // A sentence for the user describing the last failure; empty after success.
    QString ErrorText() const { return m_errorText; }

private:
    std::optional<AcsCharacter> Fail(AcsReadError error, const QString& text);

    AcsReadLimits m_limits;
    AcsReadError m_error = AcsReadError::None;
    QString m_errorText;
};
