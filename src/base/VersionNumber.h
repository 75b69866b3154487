#pragma once

#include <QString>

#include <cstdint>

// A dotted version of up to four parts ("3.0.0.0"), each an unsigned 16-bit number. A new version
// has all parts 0 and is not valid; parsing a text with at least one piece, setting any part, or
// building one from four numbers makes it valid.
class VersionNumber
{
public:
    // The codes of Compare(): 2 to 5 mean "this is newer".
    static constexpr int Older = 0;
    static constexpr int Equal = 1;
    static constexpr int NewerFourth = 2;
    static constexpr int NewerThird = 3;
    static constexpr int NewerMinor = 4;
    static constexpr int NewerMajor = 5;

    VersionNumber() = default;
    VersionNumber(std::uint16_t major, std::uint16_t minor, std::uint16_t third, std::uint16_t fourth);

    // Splits the text at '.', skipping empty pieces ("3..1" is 3.1), and reads up to four pieces as
    // numbers the way atoi does: leading blanks and a sign are taken, digits are read up to the first
    // other character, and a piece without digits counts 0. A piece out of the 0..65535 range is
    // clamped to it (so "70000" never wraps round to an older version).
    explicit VersionNumber(const QString& text);

    std::uint16_t Major() const { return m_parts[0]; }
    std::uint16_t Minor() const { return m_parts[1]; }
    std::uint16_t Third() const { return m_parts[2]; }
    std::uint16_t Fourth() const { return m_parts[3]; }
    void SetMajor(std::uint16_t value) { SetPart(0, value); }
    void SetMinor(std::uint16_t value) { SetPart(1, value); }
    void SetThird(std::uint16_t value) { SetPart(2, value); }
    void SetFourth(std::uint16_t value) { SetPart(3, value); }

    bool IsValid() const { return m_valid; }

    // "major.minor.third.fourth".
    QString Text() const;

    // Compares this version with the other, part by part from the major one down; the first part
    // that differs decides. Returns one of the codes above.
    int Compare(const VersionNumber& other) const;

    // One piece of a version text read as atoi would, clamped to 0..65535.
    static std::uint16_t ParsePiece(QStringView piece);

private:
    void SetPart(int index, std::uint16_t value);

    std::uint16_t m_parts[4] = {0, 0, 0, 0};
    bool m_valid = false;
};
