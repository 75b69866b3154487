#include "rules/CAnnouncement.h"

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t LineSeparator = u'\u2028';

QString ToFileText(QString text)
{
    text.replace(u"\r\n"_s, QString(LineSeparator));
    text.replace(u'\n', LineSeparator);
    text.replace(u'\r', LineSeparator);
    return text;
}

QString FromFileText(QString text)
{
    return text.replace(LineSeparator, u'\n');
}

} // namespace

bool CAnnouncement::Parse()
{
    ResetCursor();
    m_name = FromFileText(ReadField());
    m_gestureBefore = FromFileText(ReadField());
    m_sayBefore = FromFileText(ReadField());
    m_gestureAfter = FromFileText(ReadField());
    m_sayAfter = FromFileText(ReadField());
    return true;
}

bool CAnnouncement::Format()
{
    ClearLine();
    AppendField(ToFileText(m_name));
    AppendField(ToFileText(m_gestureBefore));
    AppendField(ToFileText(m_sayBefore));
    AppendField(ToFileText(m_gestureAfter));
    AppendField(ToFileText(m_sayAfter));
    return true;
}
