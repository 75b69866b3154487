#include "base/VersionNumber.h"

#include <QList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool IsAtoiBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

} // namespace

VersionNumber::VersionNumber(std::uint16_t major, std::uint16_t minor, std::uint16_t third, std::uint16_t fourth)
    : m_parts{major, minor, third, fourth}
    , m_valid(true)
{}

VersionNumber::VersionNumber(const QString& text)
{
    int index = 0;
    for (const QStringView piece : QStringView(text).split(u'.', Qt::SkipEmptyParts)) {
        if (index == 4)
            break;
        m_parts[index++] = ParsePiece(piece);
    }
    m_valid = index > 0;
}

std::uint16_t VersionNumber::ParsePiece(QStringView piece)
{
    qsizetype i = 0;
    while (i < piece.size() && IsAtoiBlank(piece[i]))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == u'+' || piece[i] == u'-')) {
        negative = piece[i] == u'-';
        ++i;
    }
    constexpr std::uint32_t limit = 65535;
    std::uint32_t value = 0;
    for (; i < piece.size() && piece[i] >= u'0' && piece[i] <= u'9'; ++i) {
        // Once past the limit the value stays there, so no digit count can overflow.
        value = std::min<std::uint32_t>(limit + 1, value * 10 + static_cast<std::uint32_t>(piece[i].unicode() - u'0'));
    }
    if (negative)
        return 0;
    return static_cast<std::uint16_t>(std::min(value, limit));
}

void VersionNumber::SetPart(int index, std::uint16_t value)
{
    m_parts[index] = value;
    m_valid = true;
}

QString VersionNumber::Text() const
{
    return u"%1.%2.%3.%4"_s.arg(m_parts[0]).arg(m_parts[1]).arg(m_parts[2]).arg(m_parts[3]);
}

int VersionNumber::Compare(const VersionNumber& other) const
{
    static constexpr int newerCodes[4] = {NewerMajor, NewerMinor, NewerThird, NewerFourth};
    for (int i = 0; i < 4; ++i) {
        if (m_parts[i] > other.m_parts[i])
            return newerCodes[i];
        if (m_parts[i] < other.m_parts[i])
            return Older;
    }
    return Equal;
}
