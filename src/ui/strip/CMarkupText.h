#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QRgb>
#include <QString>
#include <QWidget>

#include <array>

// The Stock Strip's text: one or more lines of coloured text in four fonts, written as a markup
// string that is parsed left to right with the state starting black and plain:
//   "<b>" toggles bold, "<h>" toggles underline, "<w>" toggles the symbol font,
//   "<cRR,GG,BB>" (exactly eleven characters, two hexadecimal digits each) sets the text colour,
//   a line feed ends the line, "<<" is one "<" of the text (Escape writes outside text so);
//   every other character is text. A "<" that starts none of these tags (a malformed colour tag
//   included) is text too.
// The font of a piece of text is bold if bold is on, else underlined, else the symbol font, else
// the normal one. In the symbol font the marks of the strip are drawn with glyphs every Linux
// desktop has (the alert flag), never with a missing glyph's box.
//
// Drawn on one line from the left margin over the background colour, each piece vertically
// centred.
class CMarkupText : public QWidget
{
public:
    enum FontKind
    {
        NormalFont,
        BoldFont,
        UnderlinedFont,
        SymbolFont,
        FontCount,
    };

    // One piece of text drawn in one font and colour.
    struct Segment
    {
        QString text; // as drawn: symbol-font characters are already given their glyphs
        bool bold = false;
        bool underline = false;
        bool symbol = false;
        QRgb colour = qRgb(0, 0, 0);
        bool endsLine = false;
        QRect drawn; // where it was last drawn (empty before the first paint)

        FontKind Font() const;
        bool operator==(const Segment& other) const;
    };

    // The symbol-font code of the alert mark, and the character it is drawn with.
    static constexpr char16_t kAlertMark = 0xF0;
    static constexpr char32_t kAlertGlyph = 0x2691; // a black flag

    explicit CMarkupText(QWidget* parent = nullptr);

    // Parses the markup into the segments and repaints.
    void SetText(const QString& markup);
    // The size of the markup's text in pixels: the widest line by the sum of the lines' heights.
    // Measured with the same fonts as drawn, without touching the shown text.
    QSize Measure(QStringView markup) const;
    void SetBackground(const QColor& colour);
    QColor Background() const { return m_background; }
    // The height of a line of bold text: what the strip's height is made from.
    int LineHeight() const { return m_lineHeight; }

    const QList<Segment>& Segments() const { return m_segments; }
    const QFont& Font(FontKind kind) const { return m_fonts[kind]; }
    // Outside text (a stock's name) as markup that shows it as it is: every "<" doubled.
    static QString Escape(const QString& text);
    // The segments of a markup text.
    static QList<Segment> Parse(QStringView markup);
    // The character a symbol-font code is drawn with.
    static char32_t SymbolGlyph(char16_t code);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int SegmentWidth(FontKind kind, QStringView text) const;

    std::array<QFont, FontCount> m_fonts;
    std::array<QFontMetrics, FontCount> m_metrics;
    int m_lineHeight = 0;
    QColor m_background = Qt::black;
    int m_leftMargin = 0;
    QList<Segment> m_segments;
    QList<int> m_widths; // of the segments, measured when the text was set
};
