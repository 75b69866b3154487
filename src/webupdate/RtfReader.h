#pragma once

#include <QByteArrayView>

class QTextCursor;

// Reads a rich-text (RTF) document into a QTextDocument at a cursor: the text with its groups,
// paragraphs (\par, \pard, \qc ...), line breaks (\line), tabs, bold, italic, underline and
// strike-through, font sizes (\fs), colours (\cf and the colour table) and fonts (\f and the font
// table). Characters come as \'hh in the document's code page (\ansicpg, Windows-1252 unless
// given; a font's \fcharset overrides it) or as \uN with \ucN fallback characters skipped.
// Destinations the window does not show (\* groups, pictures, headers, the document information,
// field instructions ...) and unknown control words are skipped. Damaged input never fails the
// read: what can be read is shown.
class RtfReader
{
public:
    // Inserts the document at the cursor. false, with nothing inserted, when the data is not RTF
    // (it does not begin with "{\rtf").
    static bool Read(QByteArrayView rtf, QTextCursor& cursor);

    // Groups nested deeper than this share the state of the deepest one.
    static constexpr int kMaxDepth = 200;
};
