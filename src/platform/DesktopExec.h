#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The Exec key of a Desktop Entry: a program and its arguments in one line, with its own quoting
// and '%' field codes, stored inside a string value that has its own escapes. Two layers, both
// handled here:
//  - Exec quoting: an argument holding a reserved character (blank, tab, newline, " ' \ > < ~ | &
//    ; $ * ? # ( ) or `) is wrapped in double quotes, and inside them " ` $ \ get a backslash;
//    a literal '%' is written "%%".
//  - string escaping (DesktopEntry::Escape): a backslash is doubled, so a '$' inside quotes reaches
//    the file as \\$ and a backslash as \\\\.
namespace DesktopExec {

// One argument quoted for an Exec line ('%' doubled), without the string escaping.
QString QuoteArgument(const QString& argument);

// The Exec line of program + arguments, quoted, without the string escaping.
QString BuildExec(const QString& program, const QStringList& arguments);

// The text to write after "Exec=": BuildExec() with the string escaping applied.
QString BuildExecValue(const QString& program, const QStringList& arguments);

// Splits an Exec line (string escapes already undone, as DesktopEntry::Value gives it) into the
// program and its arguments, undoing the quoting. Field codes stay as they are ("%u", "%%"): see
// ExpandFieldCodes(). Lenient with lines written by hand: outside double quotes a backslash escapes
// the next character and single quotes quote literally, as a shell would. Nothing for an
// unterminated quote or a line without a program.
std::optional<QStringList> SplitExec(const QString& exec);

// Replaces the field codes of split Exec arguments for opening one URL: %u %U %f %F become the URL
// (the first of them only; later ones are dropped), %% becomes %, every other code (%i %c %k and
// the deprecated ones) is dropped, and an argument that held nothing but dropped codes disappears.
// When no argument took the URL it is appended as the last argument. In the program (the first
// element) only %% is replaced.
QStringList ExpandFieldCodes(const QStringList& arguments, const QString& url);

} // namespace DesktopExec
