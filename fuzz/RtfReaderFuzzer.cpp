// Any change description read by the news window: the RTF reader and the version markers never
// crash, never read out of bounds and never loop; what is read is no longer than the input allows.

#include "base/VersionNumber.h"
#include "webupdate/RtfReader.h"
#include "webupdate/VersionMarkers.h"

#include <QByteArrayView>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    QTextCursor cursor(&document);
    if (!RtfReader::Read(rtf, cursor))
        return 0;
    // Each input byte yields at most two UTF-16 units (a code page character outside the BMP).
    if (document.characterCount() > 2 * qsizetype(size) + 2)
        __builtin_trap();
    ReplaceVersionMarkers(document, VersionNumber(3, 0, 0, 0), QStringLiteral("New\n"), QStringLiteral("Old\n"));
    return 0;
}
