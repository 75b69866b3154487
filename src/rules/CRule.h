#pragma once

#include "market/CsvRecord.h"

#include <QString>

// A rule watches one stock: it compares one quote attribute ("Price", "Change%", "Change" or
// "Volume") with the number the user typed, and names the announcement to perform when the
// comparison holds. Its Description, "Acme (Price) > 25", is its identity outside the rule list.
class CRule : public CsvRecord
{
public:
    // The operator table; the order is the stored index.
    enum Operator
    {
        Greater = 0,      // ">"
        GreaterEqual = 1, // ">="
        Less = 2,         // "<"
        LessEqual = 3,    // "<="
        Equal = 4,        // "="
        NoOperator = 5,   // empty text: never holds
    };
    static constexpr int OperatorCount = 6;

    // The text of an operator index (empty for NoOperator and any index outside the table).
    static QString OperatorText(int index);
    // The index of the first table entry whose text equals `text` exactly; NoOperator when none does.
    static int OperatorIndex(const QString& text);

    CRule() = default;

    bool Parse() override;  // StockName, Attribute, operator text, Number, Announcement
    bool Format() override; // the same five fields

    const QString& StockName() const { return m_stockName; }
    const QString& Attribute() const { return m_attribute; }
    int Operator() const { return m_operator; }
    QString OperatorText() const { return OperatorText(m_operator); }
    const QString& Number() const { return m_number; }
    const QString& Announcement() const { return m_announcement; }

    void SetStockName(const QString& name) { m_stockName = name; }
    void SetAttribute(const QString& attribute) { m_attribute = attribute; }
    void SetOperator(int index); // an index outside the table becomes NoOperator
    void SetOperator(const QString& text) { m_operator = OperatorIndex(text); }
    void SetNumber(const QString& number) { m_number = number; }
    void SetAnnouncement(const QString& name) { m_announcement = name; }

    // "StockName (Attribute) operator Number", computed on request.
    QString Description() const;

    // The StockName of a rule that is being created from the Rules page.
    static QString NewStockName() { return QStringLiteral("(New)"); }

private:
    QString m_stockName;
    QString m_attribute;
    int m_operator = NoOperator;
    QString m_number;
    QString m_announcement;
};
