#include "agent/AgentBalloonWindow.h"

#include "agent/IAgentCharacter.h"
#include "agent/ToolWindowHints.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Padding = 8;
constexpr int ThoughtPadding = 14;
constexpr int TailLength = 14;
constexpr int ThoughtTailLength = 24;
constexpr int CornerRadius = 8;
constexpr int MinWrapWidth = 140;
constexpr int MaxWrapWidth = 380;
constexpr int MaxLinesShown = 8;

QColor ToColor(const AcsColor& color)
{
    return QColor(color.red, color.green, color.blue);
}

int TextHeight(const QFontMetrics& metrics, int width, const QString& text)
{
    if (text.isEmpty())
        return 0;
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text).height();
}

} // namespace

AgentBalloonWindow::AgentBalloonWindow(const AcsBalloonInfo* info, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::NoDropShadowWindowHint)
    , m_toolHints(CreateToolWindowHints())
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    const AcsBalloonInfo look = info ? *info : AcsBalloonInfo{};
    m_background = ToColor(look.backgroundColor);
    m_textColor = ToColor(look.textColor);
    m_border = ToColor(look.borderColor);
    m_lines = std::clamp<int>(look.lines, 1, MaxLinesShown);
    m_charactersPerLine = std::clamp<int>(look.charactersPerLine, 8, 80);
    m_font = QGuiApplication::font();
    if (info) {
        if (!look.fontName.isEmpty())
            m_font.setFamily(look.fontName);
        m_font.setPixelSize(std::clamp(std::abs(look.fontHeight), 8, 40));
        m_font.setWeight(QFont::Weight(std::clamp(look.fontWeight, 100, 900)));
        m_font.setItalic(look.italic);
    }
}

AgentBalloonWindow::~AgentBalloonWindow() = default;

void AgentBalloonWindow::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        winId(); // the native window, for the hints to go on
        m_toolHints->KeepOffTaskbar(windowHandle());
    }
    QWidget::setVisible(visible);
}

void AgentBalloonWindow::SetBalloon(const AgentBalloon& balloon, int revealed, const QRect& characterRect)
{
    m_balloon = balloon;
    m_revealed = std::clamp<int>(revealed, 0, int(balloon.text.size()));
    m_character = characterRect;
    Layout();
    Place();
    update();
}

void AgentBalloonWindow::Reveal(int revealed)
{
    revealed = std::clamp<int>(revealed, 0, int(m_balloon.text.size()));
    if (revealed == m_revealed)
        return;
    m_revealed = revealed;
    update();
}

void AgentBalloonWindow::FollowCharacter(const QRect& characterRect)
{
    if (characterRect == m_character)
        return;
    m_character = characterRect;
    Place();
}

void AgentBalloonWindow::Layout()
{
    const QFontMetrics metrics(m_font);
    const int wrap = std::clamp(m_charactersPerLine * metrics.averageCharWidth(), MinWrapWidth, MaxWrapWidth);
    const int lineHeight = metrics.lineSpacing();
    int textWidth = wrap;
    int textHeight = m_lines * lineHeight;
    if (m_balloon.style & IAgentCharacter::BalloonSizeToText) {
        const QRect bounds = metrics.boundingRect(QRect(0, 0, wrap, 1 << 20), Qt::TextWordWrap, m_balloon.text);
        textWidth = std::clamp(bounds.width() + 1, 3 * metrics.averageCharWidth(), wrap);
        textHeight = std::clamp(bounds.height(), lineHeight, MaxLinesShown * lineHeight);
    }
    const int padding = m_balloon.thought ? ThoughtPadding : Padding;
    m_body = QRect(0, 0, textWidth + 2 * padding, textHeight + 2 * padding);
    m_textRect = QRect(padding, padding, textWidth, textHeight);
}

void AgentBalloonWindow::Place()
{
    const int tail = m_balloon.thought ? ThoughtTailLength : TailLength;
    const QSize size(m_body.width(), m_body.height() + tail);
    const QScreen* screen = QGuiApplication::screenAt(m_character.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);

    int y = m_character.top() - size.height();
    m_tailDown = y >= available.top();
    if (!m_tailDown)
        y = m_character.bottom() + 1;
    int x = m_character.center().x() - size.width() / 2;
    x = std::max(available.left(), std::min(x, available.right() + 1 - size.width()));

    const int bodyTop = m_tailDown ? 0 : tail;
    const int shift = bodyTop - m_body.top();
    m_body.translate(0, shift);
    m_textRect.translate(0, shift);
    m_tailX = std::clamp(m_character.center().x() - x, CornerRadius + 12,
                         std::max(CornerRadius + 12, size.width() - CornerRadius - 12));

    setFixedSize(size);
    move(x, y);
    const std::optional<OutlineKey> before = m_outlineKey;
    const QPainterPath& outline = Outline();
    if (m_outlineKey != before) {
        QRegion mask;
        for (const QPolygonF& polygon : outline.toFillPolygons())
            mask += QRegion(polygon.toPolygon());
        setMask(mask);
    }
}

const QPainterPath& AgentBalloonWindow::Outline()
{
    const OutlineKey key{m_body, m_tailDown, m_tailX, m_balloon.thought};
    if (key != m_outlineKey) {
        m_outline = BuildOutline();
        m_outlineKey = key;
    }
    return m_outline;
}

QPainterPath AgentBalloonWindow::BuildOutline() const
{
    QPainterPath path;
    const QRectF body = QRectF(m_body).adjusted(0.5, 0.5, -0.5, -0.5);
    const double edge = m_tailDown ? body.bottom() : body.top();
    const double away = m_tailDown ? 1.0 : -1.0; // towards the character
    if (!m_balloon.thought) {
        path.addRoundedRect(body, CornerRadius, CornerRadius);
        QPainterPath tail;
        tail.moveTo(m_tailX - 8, edge - away * 2);
        tail.lineTo(m_tailX + 2, edge + away * TailLength);
        tail.lineTo(m_tailX + 8, edge - away * 2);
        tail.closeSubpath();
        return path.united(tail).simplified();
    }
    // A cloud: puffs all around an inner rounded box, and bubbles leading to the character.
    const QRectF inner = body.adjusted(7, 7, -7, -7);
    path.addRoundedRect(inner, 12, 12);
    const double puff = 9;
    const auto addPuffs = [&](QPointF from, QPointF to) {
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int count = std::max(1, int(std::round(length / (puff * 1.6))));
        for (int i = 0; i <= count; ++i) {
            const QPointF at = from + (to - from) * (double(i) / count);
            QPainterPath circle;
            circle.addEllipse(at, puff, puff);
            path = path.united(circle);
        }
    };
    const QRectF ring = body.adjusted(puff - 1, puff - 1, -puff + 1, -puff + 1);
    addPuffs(ring.topLeft(), ring.topRight());
    addPuffs(ring.topRight(), ring.bottomRight());
    addPuffs(ring.bottomRight(), ring.bottomLeft());
    addPuffs(ring.bottomLeft(), ring.topLeft());
    path.addEllipse(QPointF(m_tailX, edge + away * 8), 5, 5);
    path.addEllipse(QPointF(m_tailX + 5, edge + away * 18), 3, 3);
    return path.simplified();
}

void AgentBalloonWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_border, 1));
    painter.setBrush(m_background);
    painter.drawPath(Outline());

    const QString shown = m_balloon.text.left(m_revealed);
    if (shown.isEmpty())
        return;
    painter.setFont(m_font);
    painter.setPen(m_textColor);
    painter.setClipRect(m_textRect);
    // When the words outgrow the box, the latest lines stay in view.
    const int height = TextHeight(QFontMetrics(m_font), m_textRect.width(), shown);
    const int scroll = std::max(0, height - m_textRect.height());
    painter.drawText(QRect(m_textRect.left(), m_textRect.top() - scroll, m_textRect.width(), height + 1),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, shown);
}
