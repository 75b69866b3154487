#include "ui/CSortHeader.h"

#include <QPainter>
#include <QPolygon>
#include <QStyleOptionHeader>

CSortHeader::CSortHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSortIndicatorShown(false);
    setSectionsClickable(true);
    setHighlightSections(false);
}

void CSortHeader::SetSortColumn(int column, bool ascending)
{
    m_sortColumn = column;
    m_ascending = ascending;
    viewport()->update();
}

QRect CSortHeader::ArrowRect(const QRect& rect) const
{
    const int space = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    const int width = 2 * space;
    const int height = std::max(4, std::min(width, rect.height() / 2));
    const QRect arrow(rect.right() - 2 * space - width + 1, rect.center().y() - height / 2, width, height);
    return arrow.left() > rect.left() ? arrow : QRect();
}

QSize CSortHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (logicalIndex == m_sortColumn) {
        const int space = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char(' ')));
        size.rwidth() += 8 * space;
    }
    return size;
}

void CSortHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (logicalIndex != m_sortColumn || !rect.isValid()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }

    // The section's frame without text, then the text in the room the arrow leaves.
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.text.clear();
    option.icon = QIcon();
    option.sortIndicator = QStyleOptionHeader::None;
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();

    const int space = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    const QRect textRect = rect.adjusted(2 * space, 0, -(2 * space + 6 * space), 0);
    const QString text =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    if (textRect.width() > 0 && !text.isEmpty()) {
        const QVariant alignment = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
        const auto flags = alignment.isValid() ? Qt::Alignment(alignment.toInt()) : Qt::Alignment(Qt::AlignLeft);
        const auto horizontal = flags & Qt::AlignHorizontal_Mask;
        painter->save();
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(textRect, static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                          fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
        painter->restore();
    }

    const QRect arrow = ArrowRect(rect);
    if (arrow.isEmpty())
        return;
    // A triangle raised from the header: shadow-coloured, with a highlight along its upper edge.
    const QPoint apex =
        m_ascending ? QPoint(arrow.center().x(), arrow.top()) : QPoint(arrow.center().x(), arrow.bottom());
    const QPoint left = m_ascending ? arrow.bottomLeft() : arrow.topLeft();
    const QPoint right = m_ascending ? arrow.bottomRight() : arrow.topRight();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::Dark));
    painter->drawPolygon(QPolygon({apex, left, right}));
    painter->setPen(QPen(palette().color(QPalette::Light), 1));
    if (m_ascending)
        painter->drawLine(apex, right);
    else
        painter->drawLine(left, right);
    painter->restore();
}
