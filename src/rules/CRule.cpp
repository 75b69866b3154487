#include "rules/CRule.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

const std::array<QString, CRule::OperatorCount>& OperatorTable()
{
    static const std::array<QString, CRule::OperatorCount> table{u">"_s, u">="_s, u"<"_s, u"<="_s, u"="_s, QString()};
    return table;
}

} // namespace

QString CRule::OperatorText(int index)
{
    if (index < 0 || index >= OperatorCount)
        return QString();
    return OperatorTable()[static_cast<size_t>(index)];
}

int CRule::OperatorIndex(const QString& text)
{
    const auto& table = OperatorTable();
    for (int i = 0; i < OperatorCount; ++i) {
        if (table[static_cast<size_t>(i)] == text)
            return i;
    }
    return NoOperator;
}

void CRule::SetOperator(int index)
{
    m_operator = index >= 0 && index < OperatorCount ? index : NoOperator;
}

bool CRule::Parse()
{
    ResetCursor();
    m_stockName = ReadField();
    m_attribute = ReadField();
    SetOperator(ReadField());
    m_number = ReadField();
    m_announcement = ReadField();
    return true;
}

bool CRule::Format()
{
    ClearLine();
    AppendField(m_stockName);
    AppendField(m_attribute);
    AppendField(OperatorText());
    AppendField(m_number);
    AppendField(m_announcement);
    return true;
}

QString CRule::Description() const
{
    return m_stockName + u" ("_s + m_attribute + u") "_s + OperatorText() + u' ' + m_number;
}
