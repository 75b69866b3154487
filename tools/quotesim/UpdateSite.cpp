#include "UpdateSite.h"

#include <QCryptographicHash>

#include <random>

using namespace Qt::StringLiterals;

const QByteArray& UpdateSite::Block()
{
    static const QByteArray block = [] {
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        std::mt19937 random(20260602);
        for (char& byte : bytes)
            byte = char(random() & 0xff);
        return bytes;
    }();
    return block;
}

QByteArray UpdateSite::Sha256()
{
    auto found = m_sha256.find(size);
    if (found == m_sha256.end()) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        const QByteArray& block = Block();
        for (qint64 done = 0; done < size; done += block.size())
            hash.addData(QByteArrayView(block).first(qMin<qint64>(block.size(), size - done)));
        found = m_sha256.insert(size, hash.result().toHex());
    }
    return found.value();
}

QByteArray UpdateSite::VersionFile(const QString& base, bool wrongChecksum)
{
    QByteArray sha = Sha256();
    if (wrongChecksum)
        sha = QCryptographicHash::hash(sha, QCryptographicHash::Sha256).toHex();
    const QString text =
        u"Latest Version: %1\r\n"
        "Version To Display: %1\r\n"
        "File URL: %2/update/files/%3\r\n"
        "File Size: %4 KB\r\n"
        "Release Date: June 2, 2026\r\n"
        "News Date: June 9, 2026\r\n"
        "Description URL: %2/update/news.rtf\r\n"
        "New Changes Text: New since the version you have:\\n\r\n"
        "Old Changes Text: Already in the version you have:\\n\r\n"
        "SHA256: %5\r\n"_s.arg(version, base, file, QString::number((size + 1023) / 1024), QString::fromLatin1(sha));
    return text.toUtf8();
}

QByteArray UpdateSite::Description() const
{
    // Shaped like what a word processor writes: tables, a stylesheet, a starred destination, code
    // page characters and Unicode escapes.
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
           "{\\f1\\froman\\fcharset2 Symbol;}}\r\n"
           "{\\colortbl ;\\red0\\green0\\blue128;\\red192\\green0\\blue0;}\r\n"
           "{\\stylesheet{\\s0 Normal;}}{\\*\\generator quotesim;}\\viewkind4\\uc1\r\n"
           "\\pard\\qc\\cf1\\b\\fs28 Quorvane news\\b0\\fs20\\par\r\n"
           "\\pard\\cf0 @@Version " +
           version.toLatin1() +
           "\\par\r\n"
           "{\\pntext\\f1\\'B7\\tab}A caf\\'e9 of new quote sources, and prices in \\u8364? as well.\\par\r\n"
           "{\\pntext\\f1\\'B7\\tab}The Stock Strip keeps its place on \\i every\\i0  monitor.\\par\r\n"
           "@@Version 3.0.5.0\\par\r\n"
           "{\\pntext\\f1\\'B7\\tab}Faster start-up.\\par\r\n"
           "@@Version 3.0.0.0\\par\r\n"
           "{\\pntext\\f1\\'B7\\tab}\\cf2 Pennywit\\cf0  reads the prices aloud.\\par\r\n"
           "@@Version 2.5\\par\r\n"
           "{\\pntext\\f1\\'B7\\tab}The first version with alerts.\\par\r\n"
           "}\r\n";
}
