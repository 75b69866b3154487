#include "webupdate/RtfReader.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <algorithm>
#include <limits>
#include <map>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Where the text of a group goes.
enum class Destination : quint8
{
    Text,
    FontTable,
    ColorTable,
};

// What a group saves and restores.
struct State
{
    Destination destination = Destination::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = 0; // 0: the document's default size
    int color = 0;      // index in the colour table; 0: the default colour
    int font = -1;      // index in the font table; -1: the default font (\deff)
    int unicodeSkip = 1;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct Font
{
    QString family;
    int codePage = 0; // 0: the document's
};

constexpr int kDefaultCodePage = 1252;
constexpr int kMaxWordLength = 32;
constexpr int kMaxParameterDigits = 10;
constexpr int kMaxHalfPoints = 3276;

// The groups skipped whole: what the window does not show.
constexpr QLatin1StringView kSkippedDestinations[] = {
    "annotation"_L1, "atnauthor"_L1,
    "atnid"_L1,      "bkmkend"_L1,
    "bkmkstart"_L1,  "colorschememapping"_L1,
    "datastore"_L1,  "docvar"_L1,
    "fchars"_L1,     "filetbl"_L1,
    "fldinst"_L1,    "footer"_L1,
    "footerf"_L1,    "footerl"_L1,
    "footerr"_L1,    "footnote"_L1,
    "ftncn"_L1,      "ftnsep"_L1,
    "ftnsepc"_L1,    "generator"_L1,
    "header"_L1,     "headerf"_L1,
    "headerl"_L1,    "headerr"_L1,
    "info"_L1,       "latentstyles"_L1,
    "lchars"_L1,     "listoverridetable"_L1,
    "listtable"_L1,  "mmathPr"_L1,
    "nonshppict"_L1, "object"_L1,
    "pgdsctbl"_L1,   "pict"_L1,
    "pn"_L1,         "pnseclvl"_L1,
    "revtbl"_L1,     "rsidtbl"_L1,
    "rxe"_L1,        "shp"_L1,
    "shpinst"_L1,    "shppict"_L1,
    "stylesheet"_L1, "tc"_L1,
    "template"_L1,   "themedata"_L1,
    "txe"_L1,        "userprops"_L1,
    "xe"_L1,         "xmlnstbl"_L1,
};

// Windows-1252 from 0x80 to 0x9F (0 where the code page has no character); the rest is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The code page of a font's character set (\fcharset); 0 for the document's.
int CharsetCodePage(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
    case 255:
        return 437;
    default:
        return 0;
    }
}

QStringList EncodingNames(int codePage)
{
    switch (codePage) {
    case 65001:
        return {u"UTF-8"_s};
    case 932:
        return {u"Shift_JIS"_s};
    case 936:
        return {u"GBK"_s};
    case 949:
        return {u"windows-949"_s, u"EUC-KR"_s};
    case 950:
        return {u"Big5"_s};
    case 1361:
        return {u"Johab"_s};
    case 10000:
        return {u"macintosh"_s};
    default:
        break;
    }
    const QString number = QString::number(codePage);
    return {u"windows-"_s + number, u"cp"_s + number, u"IBM"_s + number};
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A control word with its parameter, or a control symbol (word empty, symbol set).
struct Control
{
    QLatin1StringView word;
    char symbol = 0;
    bool hasParameter = false;
    int parameter = 0;
};

class Reader
{
public:
    Reader(QByteArrayView data, QTextCursor& cursor)
        : m_p(data.data())
        , m_end(data.data() + data.size())
        , m_cursor(cursor)
    {}

    void Run()
    {
        while (m_p < m_end && !m_done) {
            const char c = *m_p++;
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                HandleControl(ReadControl());
                break;
            case '\r':
            case '\n':
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
                    TextByte(c);
                break;
            }
        }
        if (!m_done)
            FinishParagraph(); // a document cut short
    }

private:
    // Reading -------------------------------------------------------------------------------------

    // After a backslash.
    Control ReadControl()
    {
        Control control;
        if (m_p >= m_end)
            return control;
        if (!IsLetter(*m_p)) {
            control.symbol = *m_p++;
            return control;
        }
        const char* start = m_p;
        while (m_p < m_end && IsLetter(*m_p))
            ++m_p;
        // A longer word is no word the reader knows: it is read whole and ignored.
        control.word = m_p - start <= kMaxWordLength ? QLatin1StringView(start, m_p - start) : "?"_L1;
        bool negative = false;
        if (m_p + 1 < m_end && *m_p == '-' && IsDigit(m_p[1])) {
            negative = true;
            ++m_p;
        }
        qint64 value = 0;
        int digits = 0;
        while (m_p < m_end && IsDigit(*m_p)) {
            if (digits++ < kMaxParameterDigits)
                value = value * 10 + (*m_p - '0');
            ++m_p;
        }
        if (digits > 0) {
            control.hasParameter = true;
            value = negative ? -value : value;
            control.parameter =
                int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        }
        if (m_p < m_end && *m_p == ' ')
            ++m_p; // the delimiter belongs to the control word
        return control;
    }

    void SkipBinary(int count) { m_p += qMin<qint64>(qMax(count, 0), m_end - m_p); }

    // Skips the rest of the current group, up to and including its closing brace.
    void SkipGroup()
    {
        FinishText();
        int depth = 1;
        while (m_p < m_end) {
            const char c = *m_p++;
            if (c == '\\') {
                const Control control = ReadControl();
                if (control.word == "bin"_L1)
                    SkipBinary(control.parameter);
            } else if (c == '{') {
                ++depth;
            } else if (c == '}' && --depth == 0) {
                CloseGroup();
                return;
            }
        }
    }

    // Groups --------------------------------------------------------------------------------------

    void OpenGroup()
    {
        FlushBytes();
        m_fallbackToSkip = 0;
        if (int(m_stack.size()) < RtfReader::kMaxDepth)
            m_stack.push_back(m_state);
        else
            ++m_overflow;
    }

    void CloseGroup()
    {
        FlushBytes();
        m_fallbackToSkip = 0;
        if (m_state.destination == Destination::FontTable)
            CommitFont();
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_stack.empty()) {
            m_done = true; // a brace closing more than was opened
            return;
        }
        if (m_stack.size() == 1) {
            // The document's group closes: its last paragraph keeps its own properties.
            FinishParagraph();
            m_done = true;
        }
        m_state = m_stack.back();
        m_stack.pop_back();
        m_formatDirty = true;
    }

    // Control words -------------------------------------------------------------------------------

    void HandleControl(const Control& control)
    {
        if (control.word.isEmpty()) {
            HandleSymbol(control.symbol);
            return;
        }
        if (control.word == "bin"_L1) {
            SkipBinary(control.parameter);
            return;
        }
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip; // a control word in a \u fallback counts as one character
            return;
        }
        const QLatin1StringView word = control.word;
        const int parameter = control.parameter;
        const bool on = !control.hasParameter || parameter != 0;

        // Destinations.
        if (word == "fonttbl"_L1) {
            m_state.destination = Destination::FontTable;
            return;
        }
        if (word == "colortbl"_L1) {
            m_state.destination = Destination::ColorTable;
            return;
        }
        for (const QLatin1StringView skipped : kSkippedDestinations) {
            if (word == skipped) {
                SkipGroup();
                return;
            }
        }

        // The document.
        if (word == "ansicpg"_L1) {
            m_codePage = parameter > 0 ? parameter : kDefaultCodePage;
            return;
        }
        if (word == "ansi"_L1 || word == "mac"_L1 || word == "pc"_L1 || word == "pca"_L1) {
            m_codePage = word == "mac"_L1 ? 10000 : word == "pc"_L1 ? 437 : word == "pca"_L1 ? 850 : kDefaultCodePage;
            return;
        }
        if (word == "deff"_L1) {
            m_defaultFont = parameter;
            m_formatDirty = true;
            return;
        }
        if (word == "uc"_L1) {
            m_state.unicodeSkip = qBound(0, parameter, 10);
            return;
        }

        switch (m_state.destination) {
        case Destination::FontTable:
            FontTableWord(word, parameter);
            return;
        case Destination::ColorTable:
            if (word == "red"_L1)
                m_red = qBound(0, parameter, 255);
            else if (word == "green"_L1)
                m_green = qBound(0, parameter, 255);
            else if (word == "blue"_L1)
                m_blue = qBound(0, parameter, 255);
            return;
        case Destination::Text:
            break;
        }

        if (word == "u"_L1) {
            // A signed 16-bit code unit; the fallback characters that follow are skipped.
            int unit = parameter < 0 ? parameter + 65536 : parameter;
            if (unit < 0 || unit > 0xFFFF)
                unit = QChar::ReplacementCharacter;
            AppendText(QString(QChar(char16_t(unit))));
            m_fallbackToSkip = m_state.unicodeSkip;
            return;
        }
        if (word == "par"_L1 || word == "sect"_L1 || word == "page"_L1 || word == "row"_L1) {
            NewParagraph();
            return;
        }
        if (word == "pard"_L1) {
            m_state.alignment = Qt::AlignLeft;
            return;
        }
        struct Special
        {
            QLatin1StringView word;
            char16_t character;
        };
        static constexpr Special specials[] = {
            {"line"_L1, QChar::LineSeparator},
            {"tab"_L1, u'\t'},
            {"cell"_L1, u'\t'},
            {"emdash"_L1, 0x2014},
            {"endash"_L1, 0x2013},
            {"bullet"_L1, 0x2022},
            {"lquote"_L1, 0x2018},
            {"rquote"_L1, 0x2019},
            {"ldblquote"_L1, 0x201C},
            {"rdblquote"_L1, 0x201D},
            {"emspace"_L1, 0x2003},
            {"enspace"_L1, 0x2002},
            {"qmspace"_L1, 0x2005},
        };
        for (const Special& special : specials) {
            if (word == special.word) {
                AppendText(QString(QChar(special.character)));
                return;
            }
        }
        struct Alignment
        {
            QLatin1StringView word;
            Qt::Alignment alignment;
        };
        static constexpr Alignment alignments[] = {
            {"ql"_L1, Qt::AlignLeft},
            {"qc"_L1, Qt::AlignHCenter},
            {"qr"_L1, Qt::AlignRight},
            {"qj"_L1, Qt::AlignJustify},
        };
        for (const Alignment& alignment : alignments) {
            if (word == alignment.word) {
                m_state.alignment = alignment.alignment;
                return;
            }
        }
        CharacterWord(word, parameter, on);
    }

    void CharacterWord(QLatin1StringView word, int parameter, bool on)
    {
        FlushBytes();
        if (word == "b"_L1) {
            m_state.bold = on;
        } else if (word == "i"_L1) {
            m_state.italic = on;
        } else if (word == "ul"_L1 || word == "uld"_L1 || word == "uldb"_L1 || word == "ulw"_L1 ||
                   word == "uldash"_L1 || word == "ulwave"_L1 || word == "ulth"_L1) {
            m_state.underline = on;
        } else if (word == "ulnone"_L1) {
            m_state.underline = false;
        } else if (word == "strike"_L1) {
            m_state.strike = on;
        } else if (word == "fs"_L1) {
            m_state.halfPoints = parameter > 0 ? qMin(parameter, kMaxHalfPoints) : 0;
        } else if (word == "cf"_L1) {
            m_state.color = parameter;
        } else if (word == "f"_L1) {
            m_state.font = parameter;
        } else if (word == "plain"_L1) {
            const State plain;
            m_state.bold = plain.bold;
            m_state.italic = plain.italic;
            m_state.underline = plain.underline;
            m_state.strike = plain.strike;
            m_state.halfPoints = plain.halfPoints;
            m_state.color = plain.color;
            m_state.font = plain.font;
        } else {
            return; // unknown control words are ignored
        }
        m_formatDirty = true;
    }

    void HandleSymbol(char symbol)
    {
        switch (symbol) {
        case '*':
            // An ignorable destination: none of them is shown.
            if (m_fallbackToSkip == 0)
                SkipGroup();
            return;
        case '\'': {
            const int high = m_p < m_end ? HexDigit(m_p[0]) : -1;
            const int low = m_p + 1 < m_end ? HexDigit(m_p[1]) : -1;
            if (high < 0 || low < 0)
                return;
            m_p += 2;
            TextByte(char(high * 16 + low));
            return;
        }
        case '\r':
        case '\n':
            if (m_fallbackToSkip > 0)
                --m_fallbackToSkip;
            else if (m_state.destination == Destination::Text)
                NewParagraph();
            return;
        default:
            break;
        }
        char16_t character = 0;
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            character = char16_t(symbol);
            break;
        case '~':
            character = QChar::Nbsp;
            break;
        case '-':
            character = QChar::SoftHyphen;
            break;
        case '_':
            character = 0x2011;
            break;
        default:
            return;
        }
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        if (m_state.destination == Destination::Text)
            AppendText(QString(QChar(character)));
        else if (m_state.destination == Destination::FontTable)
            m_fontName.append(char(character & 0xFF));
    }

    // Tables --------------------------------------------------------------------------------------

    void FontTableWord(QLatin1StringView word, int parameter)
    {
        if (word == "f"_L1) {
            CommitFont();
            m_tableFont = parameter;
        } else if (word == "fcharset"_L1) {
            m_fontCodePage = CharsetCodePage(parameter);
        } else if (word == "cpg"_L1) {
            m_fontCodePage = parameter;
        }
    }

    void CommitFont()
    {
        if (m_tableFont >= 0 && !m_fonts.contains(m_tableFont)) {
            Font font;
            font.family = QString::fromLatin1(m_fontName).trimmed();
            font.codePage = m_fontCodePage;
            m_fonts.emplace(m_tableFont, font);
            m_formatDirty = true;
        }
        m_tableFont = -1;
        m_fontName.clear();
        m_fontCodePage = 0;
    }

    void TableByte(char c)
    {
        if (m_state.destination == Destination::ColorTable) {
            if (c == ';') {
                m_colors.append(m_red >= 0 || m_green >= 0 || m_blue >= 0
                                    ? QColor(qMax(m_red, 0), qMax(m_green, 0), qMax(m_blue, 0))
                                    : QColor());
                m_red = m_green = m_blue = -1;
            }
            return;
        }
        if (c == ';')
            CommitFont();
        else if (m_tableFont >= 0 && m_fontName.size() < 256)
            m_fontName.append(c);
    }

    // Text ----------------------------------------------------------------------------------------

    int CodePage() const
    {
        const int font = m_state.font >= 0 ? m_state.font : m_defaultFont;
        const auto found = m_fonts.find(font);
        if (found != m_fonts.end() && found->second.codePage != 0)
            return found->second.codePage;
        return m_codePage;
    }

    void TextByte(char c)
    {
        if (m_state.destination != Destination::Text) {
            TableByte(c);
            return;
        }
        if (m_fallbackToSkip > 0) {
            --m_fallbackToSkip;
            return;
        }
        const int codePage = CodePage();
        if (!m_bytes.isEmpty() && codePage != m_bytesCodePage)
            FlushBytes();
        m_bytesCodePage = codePage;
        m_bytes.append(c);
    }

    QString Decode(int codePage, const QByteArray& bytes)
    {
        auto found = m_decoders.find(codePage);
        if (found == m_decoders.end()) {
            QStringDecoder decoder;
            for (const QString& name : EncodingNames(codePage)) {
                decoder = QStringDecoder(name.toLatin1().constData(), QStringConverter::Flag::Stateless);
                if (decoder.isValid())
                    break;
            }
            found = m_decoders.emplace(codePage, std::move(decoder)).first;
        }
        if (found->second.isValid())
            return found->second.decode(bytes);
        if (codePage != kDefaultCodePage)
            return Decode(kDefaultCodePage, bytes);
        // Without converters for other code pages: Windows-1252 by hand.
        QString text;
        text.reserve(bytes.size());
        for (const char byte : bytes) {
            const auto value = static_cast<unsigned char>(byte);
            const char16_t high = value >= 0x80 && value < 0xA0 ? kWindows1252High[value - 0x80] : value;
            text.append(QChar(high != 0 ? high : char16_t(QChar::ReplacementCharacter)));
        }
        return text;
    }

    void FlushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QByteArray bytes = std::exchange(m_bytes, {});
        AppendText(Decode(m_bytesCodePage, bytes));
    }

    QTextCharFormat CharFormat() const
    {
        QTextCharFormat format;
        if (m_state.bold)
            format.setFontWeight(QFont::Bold);
        if (m_state.italic)
            format.setFontItalic(true);
        if (m_state.underline)
            format.setFontUnderline(true);
        if (m_state.strike)
            format.setFontStrikeOut(true);
        if (m_state.halfPoints > 0)
            format.setFontPointSize(m_state.halfPoints / 2.0);
        if (m_state.color > 0 && m_state.color < m_colors.size() && m_colors[m_state.color].isValid())
            format.setForeground(m_colors[m_state.color]);
        const auto font = m_fonts.find(m_state.font >= 0 ? m_state.font : m_defaultFont);
        if (font != m_fonts.end() && !font->second.family.isEmpty())
            format.setFontFamilies(QStringList{font->second.family});
        return format;
    }

    QTextBlockFormat BlockFormat() const
    {
        QTextBlockFormat format;
        format.setAlignment(m_state.alignment);
        return format;
    }

    void AppendText(const QString& text)
    {
        if (!m_bytes.isEmpty()) {
            // Bytes read before this text come first.
            const QByteArray bytes = std::exchange(m_bytes, {});
            AppendText(Decode(m_bytesCodePage, bytes));
        }
        if (m_formatDirty) {
            m_formatDirty = false;
            QTextCharFormat format = CharFormat();
            if (format != m_runFormat) {
                FlushRun();
                m_runFormat = std::move(format);
            }
        }
        m_run += text;
    }

    void FlushRun()
    {
        if (m_run.isEmpty())
            return;
        // A surrogate without its partner (\u of half a pair) becomes the replacement character.
        for (qsizetype i = 0; i < m_run.size(); ++i) {
            const QChar c = m_run[i];
            if (c.isHighSurrogate() && i + 1 < m_run.size() && m_run[i + 1].isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                m_run[i] = QChar::ReplacementCharacter;
        }
        m_cursor.insertText(m_run, m_runFormat);
        m_run.clear();
    }

    void FinishText()
    {
        FlushBytes();
        FlushRun();
    }

    void FinishParagraph()
    {
        FinishText();
        m_cursor.setBlockFormat(BlockFormat());
    }

    void NewParagraph()
    {
        FinishParagraph();
        m_cursor.insertBlock(BlockFormat(), m_runFormat);
    }

    const char* m_p;
    const char* m_end;
    QTextCursor& m_cursor;
    bool m_done = false;

    State m_state;
    std::vector<State> m_stack;
    int m_overflow = 0;       // groups opened beyond the deepest one kept
    int m_fallbackToSkip = 0; // characters after \uN still to skip

    int m_codePage = kDefaultCodePage;
    int m_defaultFont = -1;
    std::map<int, Font> m_fonts;
    int m_tableFont = -1;
    QByteArray m_fontName;
    int m_fontCodePage = 0;
    QList<QColor> m_colors;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;

    std::map<int, QStringDecoder> m_decoders;
    QByteArray m_bytes;
    int m_bytesCodePage = kDefaultCodePage;
    QString m_run;
    QTextCharFormat m_runFormat;
    bool m_formatDirty = true;
};

} // namespace

bool RtfReader::Read(QByteArrayView rtf, QTextCursor& cursor)
{
    qsizetype start = 0;
    while (start < rtf.size() && (rtf[start] == ' ' || rtf[start] == '\t' || rtf[start] == '\r' || rtf[start] == '\n'))
        ++start;
    rtf = rtf.sliced(start);
    if (!rtf.startsWith("{\\rtf"))
        return false;
    cursor.beginEditBlock();
    Reader(rtf, cursor).Run();
    cursor.endEditBlock();
    return true;
}
