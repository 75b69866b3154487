#pragma once

#include <QHeaderView>

// The stock list's header: draws the sorted column with a small three-dimensional triangle near its
// right end, pointing up for an ascending and down for a descending order. Qt's own sort indicator is
// not used.
class CSortHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit CSortHeader(QWidget* parent = nullptr);

    // column -1: no sorted column.
    void SetSortColumn(int column, bool ascending);
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_ascending; }

    // Where the triangle of a section drawn in `rect` goes (empty when there is no room).
    QRect ArrowRect(const QRect& rect) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    // The sorted column asks for room for its arrow, so fitting the columns keeps its title readable.
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    int m_sortColumn = -1;
    bool m_ascending = true;
};
