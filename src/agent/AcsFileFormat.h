#pragma once

// Constants of the character file layout shared by AcsReader and AcsWriter.

#include <QByteArrayView>
#include <QtGlobal>

namespace AcsFileFormat {

inline constexpr quint32 kSignature = 0xABCDABC3;    // a 2.0 character file (.acs)
inline constexpr quint32 kWebSignature = 0xABCDABC4; // a web character (.acf)
// The older 1.5 characters are compound documents.
inline constexpr QByteArrayView kOldSignature{"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};

inline constexpr int kHeaderSize = 36;      // signature and four locators
inline constexpr int kImageHeaderSize = 10; // image record up to its pixel data
inline constexpr int kMinFrameSize = 10;    // a frame without images, branches or overlays
inline constexpr quint16 kRegionHeaderSize = 32;
// At most how many bytes of memory one byte of an animation record becomes (a 10-byte frame is an
// AcsFrame of about 80 bytes, with allocations).
inline constexpr int kAnimationMemoryFactor = 16;

inline quint32 ReadU32(QByteArrayView data, qsizetype at)
{
    const auto b = [&](qsizetype i) {
        return quint32(quint8(data[at + i]));
    };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

} // namespace AcsFileFormat
