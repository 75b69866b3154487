#include "QuoteServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A request head larger than this is refused: the server's memory stays bounded.
constexpr qsizetype kMaxRequestHead = 64 * 1024;
// While streaming, keep at most this much queued in the socket.
constexpr qint64 kStreamChunk = 64 * 1024;
constexpr qint64 kHugeBody = 100LL * 1024 * 1024;

const QStringList kKinds = {u"status"_s,        u"delay"_s,   u"silent"_s, u"endless"_s,  u"huge"_s,
                            u"redirect-loop"_s, u"garbage"_s, u"drop"_s,   u"truncate"_s, u"chart-error"_s,
                            u"no-quote"_s,      u"empty"_s,   u"body"_s,   u"stall"_s,    u"wrong-sha256"_s};

// The body of the endless and huge answers.
const QByteArray& DigitsBlock()
{
    static const QByteArray block = QByteArray("1234567890,").repeated(kStreamChunk / 11);
    return block;
}

QByteArray ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

quint64 Fnv1a(const QString& text)
{
    quint64 hash = 1469598103934665603ULL;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 1099511628211ULL;
    }
    return hash;
}

QString Decimal(double value, int decimals, QChar point)
{
    QString text = QString::number(value, 'f', decimals);
    if (point != u'.')
        text.replace(u'.', point);
    return text;
}

} // namespace

bool QuoteServer::ParseFault(const QString& text, Fault& fault, QString& error)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0) {
        error = u"a fault reads target:kind[=argument][*count]: "_s + text;
        return false;
    }
    fault = Fault{};
    fault.target = text.left(colon);
    QString rest = text.mid(colon + 1);
    const qsizetype star = rest.lastIndexOf(u'*');
    if (star >= 0) {
        bool ok = false;
        fault.remaining = rest.mid(star + 1).toInt(&ok);
        if (!ok || fault.remaining < 1) {
            error = u"the count after * must be a positive number: "_s + text;
            return false;
        }
        rest = rest.left(star);
    }
    const qsizetype equals = rest.indexOf(u'=');
    fault.kind = equals >= 0 ? rest.left(equals) : rest;
    fault.argument = equals >= 0 ? rest.mid(equals + 1) : QString();
    if (!kKinds.contains(fault.kind)) {
        error = u"unknown fault kind '"_s + fault.kind + u"' (known: "_s + kKinds.join(u", "_s) + u")"_s;
        return false;
    }
    if (fault.target.startsWith(u'#')) {
        bool ok = false;
        if (fault.target.mid(1).toLongLong(&ok) < 1 || !ok) {
            error = u"a request number reads #n with n from 1: "_s + text;
            return false;
        }
    }
    if (fault.kind == u"status"_s || fault.kind == u"delay"_s || fault.kind == u"stall"_s) {
        bool ok = false;
        const int value = fault.argument.toInt(&ok);
        if (!ok || value < 0 || (fault.kind == u"status"_s && (value < 100 || value > 999))) {
            error = fault.kind + u" needs a number: "_s + text;
            return false;
        }
    }
    return true;
}

QuoteServer::QuoteServer(quint64 seed, QObject* parent)
    : QObject(parent)
    , m_seed(seed)
{
    m_clock.start();
}

QuoteServer::~QuoteServer() = default;

bool QuoteServer::EnableTls(const QString& certificateFile, const QString& keyFile, QString& error)
{
    QFile certificate(certificateFile);
    QFile key(keyFile);
    if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
        error = u"cannot read the certificate or key file"_s;
        return false;
    }
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certificate.readAll(), QSsl::Pem);
    const QSslKey privateKey(key.readAll(), QSsl::Rsa, QSsl::Pem);
    if (chain.isEmpty() || privateKey.isNull()) {
        error = u"the certificate or the (RSA, PEM) key is not valid"_s;
        return false;
    }
    m_tls = QSslConfiguration::defaultConfiguration();
    m_tls.setLocalCertificateChain(chain);
    m_tls.setPrivateKey(privateKey);
    m_tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_useTls = true;
    return true;
}

quint16 QuoteServer::Listen(quint16 port)
{
    if (m_useTls) {
        auto* server = new QSslServer(this);
        server->setSslConfiguration(m_tls);
        m_server = server;
    } else {
        m_server = new QTcpServer(this);
    }
    connect(m_server, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection())
            OnConnection(socket);
    });
    if (!m_server->listen(QHostAddress::LocalHost, port))
        return 0;
    return m_server->serverPort();
}

void QuoteServer::OnConnection(QTcpSocket* socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    if (socket->bytesAvailable() > 0)
        OnReadyRead(socket);
}

void QuoteServer::OnReadyRead(QTcpSocket* socket)
{
    if (socket->property("handled").toBool()) {
        socket->readAll(); // one request per connection: the rest is ignored
        return;
    }
    if (!socket->property("received").isValid())
        socket->setProperty("received", m_clock.nsecsElapsed());
    QByteArray head = socket->property("head").toByteArray();
    head += socket->readAll();
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > kMaxRequestHead) {
            Respond(socket, 431, "text/plain", "Request head too large\r\n");
            return;
        }
        socket->setProperty("head", head);
        return;
    }
    socket->setProperty("handled", true);
    socket->setProperty("head", QVariant());
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    if (requestLine.size() != 3) {
        Respond(socket, 400, "text/plain", "Bad request\r\n");
        return;
    }
    HandleRequest(socket, head.left(end + 4), requestLine.at(0), requestLine.at(1));
}

void QuoteServer::HandleRequest(QTcpSocket* socket, const QByteArray& head, const QByteArray& method,
                                const QByteArray& target)
{
    const QUrl url(QString::fromLatin1(target));
    const QString path = url.path(QUrl::FullyDecoded);
    if (method != "GET") {
        Respond(socket, 405, "text/plain", "Only GET is served\r\n");
        return;
    }
    if (path.startsWith(u"/control/"_s)) {
        HandleControl(socket, path, url.query(QUrl::FullyDecoded));
        return;
    }
    if (path.startsWith(u"/update/"_s)) {
        HandleUpdate(socket, head, url.path(QUrl::FullyEncoded), target);
        return;
    }

    QString format;
    QString symbol;
    for (const auto& [prefix, name] :
         {std::pair{u"/csv/"_s, u"csv"_s}, std::pair{u"/eu/"_s, u"eu"_s}, std::pair{u"/chart/"_s, u"chart"_s},
          std::pair{u"/v8/finance/chart/"_s, u"chart"_s}}) {
        if (path.startsWith(prefix)) {
            format = name;
            symbol = path.mid(prefix.size());
            break;
        }
    }
    if (format.isEmpty() || symbol.isEmpty()) {
        Respond(socket, 404, "text/plain", "Unknown path\r\n");
        return;
    }
    ++m_quoteRequests;
    m_lastHead = head;
    // The server's share of a quote request: from its first byte to the answer handed to the system.
    const qint64 received = socket->property("received").toLongLong();
    auto count = [this, received] {
        m_serverNanoseconds += m_clock.nsecsElapsed() - received;
    };
    connect(socket, &QTcpSocket::disconnected, this, count, Qt::SingleShotConnection);
    if (const Fault* fault = TakeFault(symbol)) {
        const Fault copy = *fault;
        ApplyFault(socket, copy, format, symbol, target);
    } else {
        Serve(socket, format, symbol);
    }
}

void QuoteServer::HandleUpdate(QTcpSocket* socket, const QByteArray& head, const QString& path,
                               const QByteArray& target)
{
    QString name;
    if (path == u"/update/version.txt"_s)
        name = u"/version"_s;
    else if (path == u"/update/news.rtf"_s)
        name = u"/news"_s;
    else if (path.startsWith(u"/update/files/"_s) && path.size() > 14)
        name = u"/download"_s;
    if (name.isEmpty()) {
        Respond(socket, 404, "text/plain", "Unknown path\r\n");
        return;
    }
    m_lastHead = head;

    // The address the client used: absolute in a proxy's request, else the Host header.
    QString base;
    const QUrl absolute(QString::fromLatin1(target));
    if (!absolute.scheme().isEmpty()) {
        base = absolute.scheme() + u"://"_s + absolute.authority();
    } else {
        QByteArray host;
        for (const QByteArray& line : head.split('\n')) {
            if (line.trimmed().toLower().startsWith("host:"))
                host = line.mid(line.indexOf(':') + 1).trimmed();
        }
        base = (m_useTls ? u"https://"_s : u"http://"_s) + QString::fromLatin1(host);
    }

    const bool download = name == u"/download"_s;
    const QByteArray type = download             ? "application/octet-stream"
                            : name == u"/news"_s ? "application/rtf"
                                                 : "text/plain";
    auto body = [this, name, base](bool wrongChecksum) {
        return name == u"/version"_s ? m_updates.VersionFile(base, wrongChecksum) : m_updates.Description();
    };
    auto writeHead = [socket, type](qint64 length) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + QByteArray::number(length) +
                      "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n");
    };
    auto serve = [this, socket, download, type, body, writeHead](bool wrongChecksum) {
        if (!download) {
            Respond(socket, 200, type, body(wrongChecksum));
            return;
        }
        writeHead(m_updates.size);
        Stream(socket, m_updates.size, UpdateSite::Block(), m_updates.rate);
    };

    const Fault* found = TakeFault(name, true);
    if (found == nullptr) {
        serve(false);
        return;
    }
    const Fault fault = *found;
    if (fault.kind == u"wrong-sha256"_s) {
        serve(true);
    } else if (fault.kind == u"delay"_s) {
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(fault.argument.toInt(), this, [guarded, serve] {
            if (guarded && guarded->state() == QAbstractSocket::ConnectedState)
                serve(false);
        });
    } else if (fault.kind == u"stall"_s) {
        // The whole size announced, part of the body sent, then nothing more.
        const qint64 part = fault.argument.toLongLong();
        if (download) {
            writeHead(m_updates.size);
            Stream(socket, qMin(part, m_updates.size), UpdateSite::Block(), 0, true);
        } else {
            const QByteArray whole = body(false);
            writeHead(whole.size());
            socket->write(whole.left(part));
        }
    } else {
        ApplyFault(socket, fault, u"update"_s, name, target);
    }
}

void QuoteServer::HandleControl(QTcpSocket* socket, const QString& path, const QString& query)
{
    const QUrlQuery parameters(query);
    if (path == u"/control/fault"_s) {
        Fault fault;
        QString error;
        if (!ParseFault(parameters.queryItemValue(u"add"_s, QUrl::FullyDecoded), fault, error)) {
            Respond(socket, 400, "text/plain", error.toUtf8() + "\r\n");
            return;
        }
        AddFault(fault);
        Respond(socket, 200, "text/plain", "added\r\n");
    } else if (path == u"/control/reset"_s) {
        ClearFaults();
        Respond(socket, 200, "text/plain", "reset\r\n");
    } else if (path == u"/control/stats"_s) {
        const QJsonObject stats{{u"requests"_s, double(m_quoteRequests)},
                                {u"serverNanoseconds"_s, double(m_serverNanoseconds)}};
        Respond(socket, 200, "application/json", QJsonDocument(stats).toJson(QJsonDocument::Compact));
    } else if (path == u"/control/last-request"_s) {
        Respond(socket, 200, "text/plain", m_lastHead);
    } else {
        Respond(socket, 404, "text/plain", "Unknown control\r\n");
    }
}

const QuoteServer::Fault* QuoteServer::TakeFault(const QString& symbol, bool update)
{
    for (qsizetype i = 0; i < m_faults.size(); ++i) {
        Fault& fault = m_faults[i];
        bool matches = fault.target == symbol || (!update && fault.target == u"*"_s);
        if (fault.target.startsWith(u'#'))
            matches = !update && fault.target.mid(1).toLongLong() == m_quoteRequests;
        if (!matches || fault.remaining == 0)
            continue;
        if (fault.remaining > 0)
            --fault.remaining;
        return &fault;
    }
    return nullptr;
}

QuoteServer::Walk& QuoteServer::Step(const QString& symbol)
{
    auto it = m_walks.find(symbol);
    if (it == m_walks.end()) {
        Walk walk;
        walk.random.seed(m_seed ^ Fnv1a(symbol));
        walk.price = 5.0 + double(walk.random() % 49500) / 100.0;
        walk.previousClose = walk.price;
        walk.volume = qint64(walk.random() % 100000);
        it = m_walks.insert(symbol, walk);
    }
    Walk& walk = it.value();
    std::normal_distribution<double> move(0.0, 0.004);
    walk.price = std::max(0.01, std::round(walk.price * (1.0 + move(walk.random)) * 100.0) / 100.0);
    walk.volume += qint64(walk.random() % 5000);
    return walk;
}

QDateTime QuoteServer::Now() const
{
    return m_fixedTime.isValid() ? m_fixedTime.toLocalTime() : QDateTime::currentDateTime();
}

QByteArray QuoteServer::QuoteBody(const QString& format, const QString& symbol)
{
    const Walk& walk = Step(symbol);
    const double change = walk.price - walk.previousClose;
    const QDateTime now = Now();
    const QDate date = now.date();
    const QTime time = now.time();
    const QString dateText = u"%1/%2/%3"_s.arg(date.month()).arg(date.day()).arg(date.year());
    if (format == u"csv"_s) {
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        const QString timeText =
            u"%1:%2%3"_s.arg(hour12).arg(time.minute(), 2, 10, QChar(u'0')).arg(time.hour() < 12 ? u"am"_s : u"pm"_s);
        return (QStringList{Decimal(walk.price, 2, u'.'), Decimal(change, 2, u'.'), QString::number(walk.volume),
                            dateText, timeText}
                    .join(u',') +
                u"\r\n"_s)
            .toUtf8();
    }
    if (format == u"eu"_s) {
        const QString timeText = u"%1.%2"_s.arg(time.hour()).arg(time.minute(), 2, 10, QChar(u'0'));
        return (QStringList{Decimal(walk.price, 2, u','), Decimal(change, 2, u','), QString::number(walk.volume),
                            dateText, timeText}
                    .join(u';') +
                u"\r\n"_s)
            .toUtf8();
    }
    const QJsonObject meta{
        {u"currency"_s, u"USD"_s},
        {u"symbol"_s, symbol},
        {u"exchangeName"_s, u"SIM"_s},
        {u"instrumentType"_s, u"EQUITY"_s},
        {u"regularMarketTime"_s, double(now.toSecsSinceEpoch())},
        {u"gmtoffset"_s, now.offsetFromUtc()},
        {u"timezone"_s, now.timeZoneAbbreviation()},
        {u"regularMarketPrice"_s, walk.price},
        {u"regularMarketVolume"_s, double(walk.volume)},
        {u"chartPreviousClose"_s, walk.previousClose},
        {u"previousClose"_s, walk.previousClose},
    };
    const QJsonObject result{{u"meta"_s, meta},
                             {u"timestamp"_s, QJsonArray{double(now.toSecsSinceEpoch())}},
                             {u"indicators"_s, QJsonObject{{u"quote"_s, QJsonArray{QJsonObject{}}}}}};
    const QJsonObject chart{{u"result"_s, QJsonArray{result}}, {u"error"_s, QJsonValue::Null}};
    return QJsonDocument(QJsonObject{{u"chart"_s, chart}}).toJson(QJsonDocument::Compact);
}

void QuoteServer::Serve(QTcpSocket* socket, const QString& format, const QString& symbol)
{
    const QByteArray type = format == u"chart"_s ? "application/json" : "text/plain";
    Respond(socket, 200, type, QuoteBody(format, symbol));
}

void QuoteServer::ApplyFault(QTcpSocket* socket, const Fault& fault, const QString& format, const QString& symbol,
                             const QByteArray& path)
{
    const QString& kind = fault.kind;
    if (kind == u"status"_s) {
        const int status = fault.argument.toInt();
        QByteArray extra;
        if (status >= 300 && status < 400)
            extra = "Location: " + path + "\r\n";
        Respond(socket, status, "text/plain", "Status " + fault.argument.toLatin1() + "\r\n", extra);
    } else if (kind == u"delay"_s) {
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(fault.argument.toInt(), this, [this, guarded, format, symbol] {
            if (guarded && guarded->state() == QAbstractSocket::ConnectedState)
                Serve(guarded, format, symbol);
        });
    } else if (kind == u"silent"_s) {
        // Keep the connection open and never answer.
    } else if (kind == u"endless"_s) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
        Stream(socket, -1, DigitsBlock());
    } else if (kind == u"huge"_s) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                      QByteArray::number(kHugeBody) + "\r\nConnection: close\r\n\r\n");
        Stream(socket, kHugeBody, DigitsBlock());
    } else if (kind == u"redirect-loop"_s) {
        Respond(socket, 302, "text/plain", "Moved\r\n", "Location: " + path + "\r\n");
    } else if (kind == u"garbage"_s) {
        std::mt19937_64 random(m_seed ^ Fnv1a(symbol) ^ 0x9e3779b97f4a7c15ULL);
        QByteArray bytes(4096, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(random() & 0xff);
        socket->write(bytes);
        socket->disconnectFromHost();
    } else if (kind == u"drop"_s) {
        socket->abort();
        socket->deleteLater();
    } else if (kind == u"truncate"_s) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 1000\r\nConnection: "
                      "close\r\n\r\n23.50,-0.2");
        socket->flush();
        socket->abort();
        socket->deleteLater();
    } else if (kind == u"chart-error"_s) {
        const QJsonObject error{{u"code"_s, u"Not Found"_s},
                                {u"description"_s, u"No data found, symbol may be delisted"_s}};
        const QJsonObject chart{{u"result"_s, QJsonValue::Null}, {u"error"_s, error}};
        Respond(socket, 404, "application/json",
                QJsonDocument(QJsonObject{{u"chart"_s, chart}}).toJson(QJsonDocument::Compact));
    } else if (kind == u"no-quote"_s) {
        const QJsonObject meta{{u"currency"_s, u"USD"_s}, {u"symbol"_s, symbol}};
        const QJsonObject chart{{u"result"_s, QJsonArray{QJsonObject{{u"meta"_s, meta}}}},
                                {u"error"_s, QJsonValue::Null}};
        Respond(socket, 200, "application/json",
                QJsonDocument(QJsonObject{{u"chart"_s, chart}}).toJson(QJsonDocument::Compact));
    } else if (kind == u"empty"_s) {
        Respond(socket, 200, "text/plain", QByteArray());
    } else if (kind == u"body"_s) {
        // A body of the test's choosing, with \r and \n written as escapes.
        QString body = fault.argument;
        body.replace(u"\\r"_s, u"\r"_s).replace(u"\\n"_s, u"\n"_s);
        Respond(socket, 200, "text/plain", body.toUtf8());
    }
}

void QuoteServer::Stream(QTcpSocket* socket, qint64 total, const QByteArray& block, qint64 rate, bool stay)
{
    // Writes in pieces as the client takes them, so the server never holds more than a few.
    struct Progress
    {
        qint64 sent = 0;
        bool timerSet = false; // a throttled stream waits for its timer
        QElapsedTimer clock;
    };
    auto progress = std::make_shared<Progress>();
    progress->clock.start();
    auto pump = std::make_shared<std::function<void()>>();
    *pump = [socket, total, block, rate, stay, progress, weak = std::weak_ptr(pump)] {
        Progress& p = *progress;
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * kStreamChunk &&
               (total < 0 || p.sent < total)) {
            const qint64 offset = p.sent % block.size();
            qint64 size = block.size() - offset;
            if (total >= 0)
                size = qMin(size, total - p.sent);
            if (rate > 0) {
                const qint64 allowed = rate * p.clock.elapsed() / 1000 - p.sent;
                if (allowed <= 0) {
                    const auto again = weak.lock();
                    if (again && !p.timerSet) {
                        p.timerSet = true;
                        QTimer::singleShot(20, socket, [again, progress] {
                            progress->timerSet = false;
                            (*again)();
                        });
                    }
                    return;
                }
                size = qMin(size, allowed);
            }
            socket->write(block.constData() + offset, size);
            p.sent += size;
        }
        if (!stay && total >= 0 && p.sent >= total && socket->bytesToWrite() == 0)
            socket->disconnectFromHost();
    };
    // The connection keeps the pump alive as long as the socket lives.
    connect(socket, &QTcpSocket::bytesWritten, socket, [pump] { (*pump)(); });
    (*pump)();
}

void QuoteServer::Respond(QTcpSocket* socket, int status, const QByteArray& contentType, const QByteArray& body,
                          const QByteArray& extraHeaders)
{
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonPhrase(status) + "\r\n";
    response += "Content-Type: " + contentType + "\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    response += "Cache-Control: no-store\r\nConnection: close\r\n";
    response += extraHeaders;
    response += "\r\n";
    response += body;
    socket->write(response);
    socket->disconnectFromHost();
}
