#include "ui/strip/CMarkupText.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace {

// The text state while a markup text is read.
struct MarkupState
{
    bool bold = false;
    bool underline = false;
    bool symbol = false;
    QRgb colour = qRgb(0, 0, 0);
};

CMarkupText::FontKind FontOf(bool bold, bool underline, bool symbol)
{
    if (bold)
        return CMarkupText::BoldFont;
    if (underline)
        return CMarkupText::UnderlinedFont;
    if (symbol)
        return CMarkupText::SymbolFont;
    return CMarkupText::NormalFont;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The value of the two hexadecimal digits at `at`, or -1.
int HexByte(QStringView text, qsizetype at)
{
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The colour of a well-formed "<cRR,GG,BB>" tag at `at`; false when there is none there.
bool ColourTag(QStringView text, qsizetype at, QRgb& colour)
{
    constexpr qsizetype kLength = 11;
    if (text.size() - at < kLength || text[at + 1] != u'c' || text[at + 4] != u',' || text[at + 7] != u',' ||
        text[at + 10] != u'>')
        return false;
    const int red = HexByte(text, at + 2);
    const int green = HexByte(text, at + 5);
    const int blue = HexByte(text, at + 8);
    if (red < 0 || green < 0 || blue < 0)
        return false;
    colour = qRgb(red, green, blue);
    return true;
}

// Reads a markup text left to right. The sink gets Piece(text, state, endsLine) for each piece of
// text, and EndLine() when a line feed ends a line whose last piece it already has. A line with no
// text at all is one empty piece that ends the line. The text ends with a line feed, written or not.
template <class Sink>
void Walk(QStringView markup, Sink& sink)
{
    MarkupState state;
    qsizetype start = 0; // of the text gathered since the last tag or line feed
    bool lineHasPiece = false;
    const auto flush = [&](qsizetype end, bool endsLine) {
        if (end > start) {
            sink.Piece(markup.sliced(start, end - start), state, endsLine);
            lineHasPiece = !endsLine;
        } else if (endsLine) {
            if (lineHasPiece)
                sink.EndLine();
            else
                sink.Piece(QStringView(), state, true);
            lineHasPiece = false;
        }
    };
    const qsizetype size = markup.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = markup[i];
        if (c == u'\n') {
            flush(i, true);
            start = ++i;
            continue;
        }
        if (c != u'<' || i + 1 >= size) {
            ++i;
            continue;
        }
        if (markup[i + 1] == u'<') {
            // "<<" is a "<" of the text.
            flush(i + 1, false);
            start = i += 2;
            continue;
        }
        if (i + 2 >= size) {
            ++i;
            continue;
        }
        const QChar tag = markup[i + 1];
        QRgb colour = 0;
        if (markup[i + 2] == u'>' && (tag == u'b' || tag == u'h' || tag == u'w')) {
            flush(i, false);
            if (tag == u'b')
                state.bold = !state.bold;
            else if (tag == u'h')
                state.underline = !state.underline;
            else
                state.symbol = !state.symbol;
            start = i += 3;
        } else if (ColourTag(markup, i, colour)) {
            flush(i, false);
            state.colour = colour;
            start = i += 11;
        } else {
            ++i; // a "<" that starts no tag is text
        }
    }
    if (size == 0 || markup[size - 1] != u'\n')
        flush(size, true);
}

// Symbol-font text as drawn.
QString SymbolText(QStringView text)
{
    QString drawn;
    drawn.reserve(text.size());
    for (const QChar c : text) {
        const char32_t glyph = CMarkupText::SymbolGlyph(c.unicode());
        if (QChar::requiresSurrogates(glyph)) {
            drawn.append(QChar(QChar::highSurrogate(glyph)));
            drawn.append(QChar(QChar::lowSurrogate(glyph)));
        } else {
            drawn.append(QChar(char16_t(glyph)));
        }
    }
    return drawn;
}

std::array<QFont, CMarkupText::FontCount> MakeFonts(const QFont& base)
{
    QFont bold(base);
    bold.setWeight(QFont::Bold);
    QFont underlined(base);
    underlined.setUnderline(true);
    // The flag comes from DejaVu Sans, which every Debian desktop installs; another font that has
    // the glyph stands in through the font fallback where it is missing.
    QFont symbol(base);
    symbol.setFamilies({QStringLiteral("DejaVu Sans")});
    symbol.setUnderline(false);
    return {base, bold, underlined, symbol};
}

} // namespace

CMarkupText::FontKind CMarkupText::Segment::Font() const
{
    return FontOf(bold, underline, symbol);
}

bool CMarkupText::Segment::operator==(const Segment& other) const
{
    return text == other.text && bold == other.bold && underline == other.underline && symbol == other.symbol &&
           colour == other.colour && endsLine == other.endsLine;
}

QString CMarkupText::Escape(const QString& text)
{
    return text.contains(u'<') ? QString(text).replace(QStringLiteral("<"), QStringLiteral("<<")) : text;
}

char32_t CMarkupText::SymbolGlyph(char16_t code)
{
    return code == kAlertMark ? kAlertGlyph : char32_t(code);
}

CMarkupText::CMarkupText(QWidget* parent)
    : QWidget(parent)
    , m_fonts(MakeFonts(QApplication::font()))
    , m_metrics{QFontMetrics(m_fonts[NormalFont]), QFontMetrics(m_fonts[BoldFont]),
                QFontMetrics(m_fonts[UnderlinedFont]), QFontMetrics(m_fonts[SymbolFont])}
    , m_lineHeight(m_metrics[BoldFont].height())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QList<CMarkupText::Segment> CMarkupText::Parse(QStringView markup)
{
    struct Sink
    {
        QList<Segment> segments;
        void Piece(QStringView text, const MarkupState& state, bool endsLine)
        {
            Segment segment;
            segment.text = state.symbol && !state.bold && !state.underline ? SymbolText(text) : text.toString();
            segment.bold = state.bold;
            segment.underline = state.underline;
            segment.symbol = state.symbol;
            segment.colour = state.colour;
            segment.endsLine = endsLine;
            segments.append(std::move(segment));
        }
        void EndLine() { segments.last().endsLine = true; }
    } sink;
    Walk(markup, sink);
    return std::move(sink.segments);
}

int CMarkupText::SegmentWidth(FontKind kind, QStringView text) const
{
    if (text.isEmpty())
        return 0;
    // A view of the markup, not a copy.
    return m_metrics[kind].horizontalAdvance(QString::fromRawData(text.data(), text.size()));
}

QSize CMarkupText::Measure(QStringView markup) const
{
    // Neighbouring pieces in one font are measured together, as SetText places them: colour tags
    // cost no measuring.
    struct Sink
    {
        explicit Sink(const CMarkupText& owner)
            : control(owner)
        {}
        const CMarkupText& control;
        QString run; // the text of the current font so far
        FontKind runKind = NormalFont;
        int width = 0;  // of the line so far
        int height = 0; // of the line so far
        QSize size{0, 0};
        void Piece(QStringView text, const MarkupState& state, bool endsLine)
        {
            const FontKind kind = FontOf(state.bold, state.underline, state.symbol);
            if (kind != runKind)
                Flush();
            runKind = kind;
            if (kind == SymbolFont)
                run += SymbolText(text);
            else
                run += text;
            height = std::max(height, control.m_metrics[kind].height());
            if (endsLine)
                EndLine();
        }
        void Flush()
        {
            width += control.SegmentWidth(runKind, run);
            run.resize(0);
        }
        void EndLine()
        {
            Flush();
            size.setWidth(std::max(size.width(), width));
            size.setHeight(size.height() + height);
            width = height = 0;
        }
    } sink(*this);
    sink.run.reserve(markup.size());
    Walk(markup, sink);
    return sink.size;
}

void CMarkupText::SetText(const QString& markup)
{
    m_segments = Parse(markup);
    m_widths.resize(m_segments.size());
    // Placed as Measure measures: a run of segments in one font as one text, each segment ending
    // where the run's text up to it ends.
    QString run;
    int runStart = 0;
    int x = 0;
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        const Segment& segment = m_segments[i];
        if (i == 0 || segment.Font() != m_segments[i - 1].Font() || m_segments[i - 1].endsLine) {
            run.resize(0);
            runStart = x;
        }
        run += segment.text;
        const int end = runStart + SegmentWidth(segment.Font(), run);
        m_widths[i] = end - x;
        x = end;
    }
    update();
}

void CMarkupText::SetBackground(const QColor& colour)
{
    if (colour == m_background)
        return;
    m_background = colour;
    update();
}

void CMarkupText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    int x = m_leftMargin;
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        Segment& segment = m_segments[i];
        const FontKind kind = segment.Font();
        const int height = m_metrics[kind].height();
        segment.drawn = QRect(x, (this->height() - height) / 2, m_widths[i], height);
        x += m_widths[i];
        if (segment.text.isEmpty() || !segment.drawn.intersects(rect()))
            continue;
        painter.setFont(m_fonts[kind]);
        painter.setPen(QColor::fromRgb(segment.colour));
        painter.drawText(segment.drawn, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, segment.text);
    }
}
