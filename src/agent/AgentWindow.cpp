#include "agent/AgentWindow.h"

#include "agent/AgentBalloonWindow.h"
#include "agent/ToolWindowHints.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

AgentWindow::AgentWindow(std::shared_ptr<const AcsCharacter> character, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::NoDropShadowWindowHint)
    , m_character(std::move(character))
    , m_toolHints(CreateToolWindowHints())
    , m_composer(m_character)
{
    setObjectName(u"AgentWindow"_s);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(m_character->Width(), m_character->Height());
    m_frame = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_frame.fill(Qt::transparent);
    const AcsCharacterInfo& info = m_character->Info();
    m_balloon = new AgentBalloonWindow(info.balloon ? &*info.balloon : nullptr);
    m_balloon->setObjectName(u"AgentBalloon"_s);

    // A monitor that goes away must not take the character with it. Queued: the screen list is
    // up to date once the change has been handled.
    const auto keep = [this] {
        QMetaObject::invokeMethod(this, &AgentWindow::KeepOnScreen, Qt::QueuedConnection);
    };
    connect(qApp, &QGuiApplication::screenRemoved, this, keep);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, keep);
}

AgentWindow::~AgentWindow()
{
    delete m_balloon;
}

void AgentWindow::DrawFrame(const AgentPicture& picture)
{
    if (picture == m_picture && !m_frame.isNull())
        return;
    m_picture = picture;
    m_frame = m_composer.Compose(picture);
    UpdateShape();
    update();
}

void AgentWindow::UpdateShape()
{
    QImage shape = m_frame.createAlphaMask();
    if (shape == m_shape)
        return;
    m_shape = shape;
    const QRegion region(QBitmap::fromImage(m_shape));
    // An empty mask would make the whole window show: keep one transparent pixel instead.
    setMask(region.isEmpty() ? QRegion(0, 0, 1, 1) : region);
}

void AgentWindow::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        winId(); // the native window, for the hints to go on
        m_toolHints->KeepOffTaskbar(windowHandle());
    }
    QWidget::setVisible(visible);
}

QPoint AgentWindow::PlaceOnScreens(const QRect& window, const QList<QRect>& screens, const QRect& fallback)
{
    for (const QRect& screen : screens) {
        if (screen.intersects(window))
            return window.topLeft();
    }
    if (fallback.isEmpty())
        return window.topLeft();
    const int x =
        std::clamp(window.x(), fallback.left(), std::max(fallback.left(), fallback.right() + 1 - window.width()));
    const int y =
        std::clamp(window.y(), fallback.top(), std::max(fallback.top(), fallback.bottom() + 1 - window.height()));
    return QPoint(x, y);
}

void AgentWindow::KeepOnScreen()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->geometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QPoint place = PlaceOnScreens(frameGeometry(), screens, primary ? primary->availableGeometry() : QRect());
    if (place != pos())
        move(place);
}

void AgentWindow::ShowWindow()
{
    show();
    if (m_balloonWanted)
        m_balloon->show();
    // Once the window manager has had time to place the window; a move made since (a glide, a drag)
    // has put it somewhere on purpose and settles the question.
    const quint64 moves = m_moves;
    for (const int ms : {100, 500}) {
        QTimer::singleShot(ms, this, [this, moves] {
            if (isVisible() && moves == m_moves)
                SyncPosition();
        });
    }
}

QPoint AgentWindow::RealPosition() const
{
    if (isVisible()) {
        if (const std::optional<QPoint> server = m_toolHints->ServerPosition(windowHandle()))
            return *server;
    }
    return pos();
}

void AgentWindow::SyncPosition()
{
    const QPoint real = RealPosition();
    if (real != pos())
        move(real); // where the window already is: the toolkit learns it, and moves go from there
    m_balloon->FollowCharacter(frameGeometry());
}

void AgentWindow::HideWindow()
{
    m_balloon->hide();
    hide();
}

void AgentWindow::MoveWindow(QPoint topLeft)
{
    ++m_moves;
    move(topLeft);
}

QPoint AgentWindow::WindowPosition() const
{
    return RealPosition();
}

void AgentWindow::ShowBalloon(const AgentBalloon& balloon, int revealed)
{
    m_balloonWanted = true;
    if (isVisible())
        SyncPosition();
    m_balloon->SetBalloon(balloon, revealed, frameGeometry());
    if (isVisible())
        m_balloon->show();
}

void AgentWindow::RevealBalloon(int revealed)
{
    m_balloon->Reveal(revealed);
}

void AgentWindow::HideBalloon()
{
    m_balloonWanted = false;
    m_balloon->hide();
}

void AgentWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_frame);
}

void AgentWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    SyncPosition();
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void AgentWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        ++m_moves;
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
}

void AgentWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void AgentWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    m_balloon->FollowCharacter(frameGeometry());
}
