#pragma once

#include "agent/AcsModel.h"
#include "agent/IAgentView.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QWidget>

#include <memory>
#include <optional>

class IToolWindowHints;

// The word balloon beside the character: a rounded box with a tail pointing at the character (a
// cloud with little bubbles for a thought), in the character's balloon colours and font. Sized to
// the whole text (wrapped at about the character's characters-per-line) or, without the size-to-text
// style, to the character's number of lines, showing the latest lines; the text appears as it is
// revealed. A frameless, always-on-top tool window that never takes the focus, kept out of task bars
// and pagers (IToolWindowHints).
class AgentBalloonWindow : public QWidget
{
    Q_OBJECT

public:
    // info: the character's balloon look (nullptr: a pale yellow balloon in the system font).
    explicit AgentBalloonWindow(const AcsBalloonInfo* info, QWidget* parent = nullptr);
    ~AgentBalloonWindow() override;

    // Sets the text and how much of it shows, sizes the balloon and places it beside the character
    // (whose window occupies characterRect, in screen coordinates). Does not show it.
    void SetBalloon(const AgentBalloon& balloon, int revealed, const QRect& characterRect);
    void Reveal(int revealed);
    // Places the balloon again beside a character that has moved.
    void FollowCharacter(const QRect& characterRect);

    const QString& Text() const { return m_balloon.text; }
    int Revealed() const { return m_revealed; }
    bool IsThought() const { return m_balloon.thought; }
    QColor BackgroundColor() const { return m_background; }
    QColor TextColor() const { return m_textColor; }
    QColor BorderColor() const { return m_border; }
    const QFont& TextFont() const { return m_font; }
    // Where the text is drawn, in widget coordinates.
    QRect TextRect() const { return m_textRect; }

    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Layout();
    void Place();
    // The shape of the balloon for the current layout (cached: the cloud is costly to build).
    const QPainterPath& Outline();
    QPainterPath BuildOutline() const;

    std::unique_ptr<IToolWindowHints> m_toolHints;
    AgentBalloon m_balloon;
    int m_revealed = 0;
    QRect m_character;
    QColor m_background;
    QColor m_textColor;
    QColor m_border;
    QFont m_font;
    int m_lines = 2;
    int m_charactersPerLine = 28;
    QRect m_body;           // the box, in widget coordinates
    QRect m_textRect;       // inside the box
    bool m_tailDown = true; // the balloon sits above the character, its tail pointing down
    int m_tailX = 0;        // where the tail meets the character side, in widget coordinates
    struct OutlineKey
    {
        QRect body;
        bool tailDown = true;
        int tailX = 0;
        bool thought = false;
        bool operator==(const OutlineKey&) const = default;
    };
    QPainterPath m_outline;
    std::optional<OutlineKey> m_outlineKey; // what m_outline was built for
};
