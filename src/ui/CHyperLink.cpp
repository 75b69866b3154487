#include "ui/CHyperLink.h"

#include "base/LaunchBrowser.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

// Space around the text, where the focus frame is drawn.
constexpr int kMargin = 2;

// The colour under the mouse: the link colour, darker on a light background and lighter on a dark one.
QColor HoverColor(const QPalette& palette)
{
    const QColor link = palette.color(QPalette::Link);
    return palette.color(QPalette::Window).lightness() >= 128 ? link.darker(160) : link.lighter(160);
}

} // namespace

CHyperLink::CHyperLink(const QString& text, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [this] {
        SetVisited(true);
        Follow();
    });
}

void CHyperLink::SetVisited(bool visited)
{
    m_visited = visited;
    update();
}

void CHyperLink::Follow()
{
    if (!m_link.isEmpty())
        LaunchBrowser(m_link, true, true, true);
}

QSize CHyperLink::sizeHint() const
{
    QFont underlined = font();
    underlined.setUnderline(true);
    const QFontMetrics metrics(underlined);
    return QSize(metrics.horizontalAdvance(text()) + 2 * kMargin, metrics.height() + 2 * kMargin);
}

void CHyperLink::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QFont underlined = font();
    underlined.setUnderline(true);
    painter.setFont(underlined);
    const QColor color = m_hovered   ? HoverColor(palette())
                         : m_visited ? palette().color(QPalette::LinkVisited)
                                     : palette().color(QPalette::Link);
    painter.setPen(isEnabled() ? color : palette().color(QPalette::Disabled, QPalette::WindowText));
    const QRect textRect = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void CHyperLink::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CHyperLink::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
