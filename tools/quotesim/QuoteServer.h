#pragma once

#include "UpdateSite.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QString>

#include <random>

class QTcpServer;
class QTcpSocket;

// A small HTTP/1.1 quote server for tests and demonstrations. It serves any symbol from a seeded
// random walk in three forms, and misbehaves on request (see README.md beside this file):
//   /csv/<symbol>                 23.50,-0.25,880,4/5/2002,4:05pm
//   /eu/<symbol>                  23,50;-0,25;880;4/5/2002;16.05
//   /chart/<symbol>, /v8/finance/chart/<symbol>   a chart JSON answer (chart.result[0].meta)
//   /update/version.txt, /update/news.rtf, /update/files/<file>   a program's update site
//   /control/fault?add=<fault>, /control/reset, /control/stats, /control/last-request
class QuoteServer final : public QObject
{
    Q_OBJECT

public:
    // One scripted fault. target: a symbol, "*" for every quote request, "#n" for the n-th
    // quote request (from 1), or "/version", "/news", "/download" for the update site. remaining: how many more
    // matching requests it takes (-1: all).
    struct Fault
    {
        QString target;
        QString kind;
        QString argument;
        int remaining = -1;
    };
    // Parses "target:kind[=argument][*count]"; false (and an explanation) when malformed.
    static bool ParseFault(const QString& text, Fault& fault, QString& error);

    explicit QuoteServer(quint64 seed, QObject* parent = nullptr);
    ~QuoteServer() override;

    // Serve TLS with this certificate and key (PEM files); false when they cannot be read.
    bool EnableTls(const QString& certificateFile, const QString& keyFile, QString& error);
    // Listens on 127.0.0.1; port 0 picks a free one. The port in use afterwards, or 0 on failure.
    quint16 Listen(quint16 port);

    void AddFault(const Fault& fault) { m_faults << fault; }
    void ClearFaults() { m_faults.clear(); }
    // The update site's version, download size and file name, and the download's rate.
    UpdateSite& Updates() { return m_updates; }
    // Answers as if it were this moment (instead of now): same answers every run.
    void SetFixedTime(const QDateTime& time) { m_fixedTime = time; }

    qint64 QuoteRequests() const { return m_quoteRequests; }
    qint64 ServerNanoseconds() const { return m_serverNanoseconds; }

private:
    struct Walk
    {
        double price = 0;
        double previousClose = 0;
        qint64 volume = 0;
        std::mt19937_64 random;
    };

    void OnConnection(QTcpSocket* socket);
    void OnReadyRead(QTcpSocket* socket);
    void HandleRequest(QTcpSocket* socket, const QByteArray& head, const QByteArray& method, const QByteArray& target);
    void HandleControl(QTcpSocket* socket, const QString& path, const QString& query);
    void Serve(QTcpSocket* socket, const QString& format, const QString& symbol);
    void ApplyFault(QTcpSocket* socket, const Fault& fault, const QString& format, const QString& symbol,
                    const QByteArray& path);
    void HandleUpdate(QTcpSocket* socket, const QByteArray& head, const QString& path, const QByteArray& target);
    // Writes total bytes (total < 0: never ends) of the repeated block at up to rate bytes a second
    // (0: as fast as the client takes them), then closes the connection unless stay is set.
    void Stream(QTcpSocket* socket, qint64 total, const QByteArray& block, qint64 rate = 0, bool stay = false);
    const Fault* TakeFault(const QString& symbol, bool update = false);
    Walk& Step(const QString& symbol);
    QDateTime Now() const;
    QByteArray QuoteBody(const QString& format, const QString& symbol);

    static void Respond(QTcpSocket* socket, int status, const QByteArray& contentType, const QByteArray& body,
                        const QByteArray& extraHeaders = {});

    quint64 m_seed;
    QTcpServer* m_server = nullptr;
    QSslConfiguration m_tls;
    bool m_useTls = false;
    QList<Fault> m_faults;
    QHash<QString, Walk> m_walks;
    QDateTime m_fixedTime;
    qint64 m_quoteRequests = 0;
    qint64 m_serverNanoseconds = 0;
    QElapsedTimer m_clock;
    QByteArray m_lastHead; // the head of the last quote or update request
    UpdateSite m_updates;
};
