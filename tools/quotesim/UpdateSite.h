#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// What quotesim serves under /update/: a program's update site. The version file names the
// download and the description by absolute URLs under the base the request came to, so the same
// answers work directly and through a proxy.
class UpdateSite
{
public:
    QString version = QStringLiteral("3.1.0.0");
    qint64 size = 514048; // "502 KB"
    // The download's last path segment as it stands in FILE URL (percent-encoded as wanted).
    QString file = QStringLiteral("quorvane-3.1.0.0.tar.gz");
    qint64 rate = 0; // bytes per second of the download; 0: as fast as the client takes it

    // The version file; with wrongChecksum its SHA256 names other bytes.
    QByteArray VersionFile(const QString& base, bool wrongChecksum);
    // The change description (RTF) with a version marker for this version and three older ones.
    QByteArray Description() const;
    // The download is this block repeated (and cut) to size.
    static const QByteArray& Block();
    // The SHA-256 of the download, lower-case hexadecimal.
    QByteArray Sha256();

private:
    QHash<qint64, QByteArray> m_sha256; // by size
};
