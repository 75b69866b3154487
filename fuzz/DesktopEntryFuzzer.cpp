// Fuzzes the Desktop Entry reading that the autostart entry and the browser look-up rely on: any
// bytes parse without a crash; an Exec line that splits, quoted again and split again, gives the same
// arguments; the string escapes round-trip; and the field-code expansion always yields a program.
#include "platform/DesktopEntry.h"
#include "platform/DesktopExec.h"

#include <QStringList>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DesktopEntry entry = DesktopEntry::Parse(bytes);
    const QString raw = QString::fromUtf8(bytes);

    // The string escapes: Escape then Unescape gives the text back.
    if (DesktopEntry::Unescape(DesktopEntry::Escape(raw)) != raw)
        std::abort();

    for (const QString& exec : {entry.Value(QStringLiteral("Exec")), DesktopEntry::Unescape(raw)}) {
        const std::optional<QStringList> arguments = DesktopExec::SplitExec(exec);
        if (!arguments)
            continue;
        if (arguments->isEmpty() || arguments->first().isEmpty())
            std::abort();
        const QString rebuilt = DesktopExec::BuildExec(arguments->first(), arguments->mid(1));
        const std::optional<QStringList> again = DesktopExec::SplitExec(rebuilt);
        // Quoting doubles every '%' (the field-code layer), so compare against that.
        QStringList expected = *arguments;
        for (QString& argument : expected)
            argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
        if (!again || *again != expected)
            std::abort();
        const QStringList expanded = DesktopExec::ExpandFieldCodes(*again, QStringLiteral("https://x.test/%u"));
        if (expanded.isEmpty() || expanded.first().isEmpty() || !expanded.contains(QStringLiteral("https://x.test/%u")))
            std::abort();
    }
    return 0;
}
