#include "webupdate/VersionMarkers.h"

#include "base/VersionNumber.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

void ReplaceVersionMarkers(QTextDocument& document, const VersionNumber& installed, const QString& newHeading,
                           const QString& oldHeading)
{
    const QString marker = u"@@Version"_s;
    bool newSeen = false;
    bool oldSeen = false;
    int from = 0;
    for (;;) {
        const QTextCursor found = document.find(marker, from);
        if (found.isNull())
            break;
        // The marker's line: lines end at a line break inside the block, or at the block's end.
        const QTextBlock block = found.block();
        const QString text = block.text();
        const int markerStart = found.selectionStart() - block.position();
        const int markerEnd = found.selectionEnd() - block.position();
        const int lineStart = int(text.lastIndexOf(QChar::LineSeparator, markerStart - 1)) + 1;
        int lineEnd = int(text.indexOf(QChar::LineSeparator, markerEnd));
        int nextLine = 0;
        if (lineEnd >= 0)
            nextLine = block.position() + lineEnd + 1;
        else if (block.next().isValid())
            nextLine = block.position() + block.length(); // the next block's start
        else
            nextLine = block.position() + block.length() - 1; // the end of the document
        if (lineEnd < 0)
            lineEnd = int(text.size());
        const VersionNumber version(text.mid(markerEnd, lineEnd - markerEnd).trimmed());

        QTextCursor line(&document);
        line.setPosition(block.position() + lineStart);
        line.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        const QTextCharFormat format = line.charFormat(); // the format of the line's first character
        line.setPosition(block.position() + lineStart);
        line.setPosition(nextLine, QTextCursor::KeepAnchor);

        const bool newer = version.Compare(installed) >= VersionNumber::NewerFourth;
        bool& seen = newer ? newSeen : oldSeen;
        if (!seen) {
            seen = true;
            line.insertText(newer ? newHeading : oldHeading, format);
            from = line.position(); // the heading itself is not searched
        } else {
            line.removeSelectedText();
            from = line.position();
        }
    }
}
