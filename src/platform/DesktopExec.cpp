#include "platform/DesktopExec.h"

#include "platform/DesktopEntry.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace DesktopExec {

namespace {

bool IsReserved(QChar c)
{
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#()`"_s;
    return reserved.contains(c);
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

} // namespace

QString QuoteArgument(const QString& argument)
{
    QString quoted;
    const bool needsQuotes = argument.isEmpty() || std::any_of(argument.cbegin(), argument.cend(), IsReserved);
    if (needsQuotes) {
        quoted += u'"';
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted += u'"';
    } else {
        quoted = argument;
    }
    quoted.replace(u'%', u"%%"_s);
    return quoted;
}

QString BuildExec(const QString& program, const QStringList& arguments)
{
    QString exec = QuoteArgument(program);
    for (const QString& argument : arguments)
        exec += u' ' + QuoteArgument(argument);
    return exec;
}

QString BuildExecValue(const QString& program, const QStringList& arguments)
{
    return DesktopEntry::Escape(BuildExec(program, arguments));
}

std::optional<QStringList> SplitExec(const QString& exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (IsBlank(c)) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == u'"') {
            for (++i;; ++i) {
                if (i == exec.size())
                    return std::nullopt;
                const QChar q = exec[i];
                if (q == u'"')
                    break;
                if (q == u'\\' && i + 1 < exec.size()) {
                    const QChar next = exec[i + 1];
                    if (next == u'"' || next == u'`' || next == u'$' || next == u'\\') {
                        current += next;
                        ++i;
                        continue;
                    }
                }
                current += q;
            }
        } else if (c == u'\'') {
            const qsizetype end = exec.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            current += exec.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else {
            current += c;
        }
    }
    if (inArgument)
        arguments.append(current);
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return std::nullopt;
    return arguments;
}

QStringList ExpandFieldCodes(const QStringList& arguments, const QString& url)
{
    QStringList expanded;
    bool urlPlaced = false;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        QString result;
        bool droppedCode = false;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            const QChar c = argument[i];
            if (c != u'%' || i + 1 == argument.size()) {
                result += c;
                continue;
            }
            const QChar code = argument[++i];
            if (code == u'%') {
                result += u'%';
            } else if (index > 0 && (code == u'u' || code == u'U' || code == u'f' || code == u'F') && !urlPlaced) {
                result += url;
                urlPlaced = true;
            } else if (index == 0) {
                result += c;
                result += code;
            } else {
                droppedCode = true;
            }
        }
        if (droppedCode && result.isEmpty())
            continue;
        expanded.append(result);
    }
    if (!urlPlaced)
        expanded.append(url);
    return expanded;
}

} // namespace DesktopExec
