#pragma once

#include <QString>

class QTextDocument;
class VersionNumber;

// The version markers of a change description: a line holding "@@Version" followed by a version
// number opens the changes of that version. The first marker newer than the installed version
// becomes the new-changes heading and every later newer one disappears; the first marker older
// than or equal to it becomes the old-changes heading and every later such one disappears. So, with
// the markers in descending order, one heading stands above what an update would bring and one
// above what the user already has.
//
// A marker's line runs from the start of the line that holds it to the start of the next line; a
// heading replaces the whole line, as plain text in the formatting of the line's start, each "\n"
// of it a line break. The search is not case-sensitive.
void ReplaceVersionMarkers(QTextDocument& document, const VersionNumber& installed, const QString& newHeading,
                           const QString& oldHeading);
