#include "QuoteSim.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QUrl>

using namespace Qt::StringLiterals;

QString QuoteSim::Program()
{
    return QStringLiteral(QUOTESIM_PROGRAM);
}

QuoteSim::QuoteSim(const QStringList& arguments)
{
    m_tls = arguments.contains(u"--tls-cert"_s);
    m_process.setProgram(Program());
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000))
        return;
    while (m_process.state() == QProcess::Running && !m_process.canReadLine())
        m_process.waitForReadyRead(10000);
    const QByteArray line = m_process.readLine().trimmed();
    if (line.startsWith("port "))
        m_port = quint16(line.mid(5).toUInt());
}

QuoteSim::~QuoteSim()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString QuoteSim::Url(const QString& path) const
{
    return (m_tls ? u"https://127.0.0.1:"_s : u"http://127.0.0.1:"_s) + QString::number(m_port) + path;
}

QByteArray QuoteSim::Control(const QString& pathAndQuery) const
{
    if (m_tls || m_port == 0)
        return {};
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, m_port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write("GET " + QUrl(pathAndQuery).toEncoded() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray response;
    while (socket.waitForReadyRead(5000))
        response += socket.readAll();
    response += socket.readAll();
    const qsizetype end = response.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : response.mid(end + 4);
}

bool QuoteSim::AddFault(const QString& fault) const
{
    return Control(u"/control/fault?add="_s + QString::fromLatin1(QUrl::toPercentEncoding(fault))) == "added\r\n";
}

qint64 QuoteSim::Requests() const
{
    return qint64(QJsonDocument::fromJson(Control(u"/control/stats"_s)).object().value(u"requests"_s).toDouble(-1));
}

qint64 QuoteSim::ServerNanoseconds() const
{
    return qint64(
        QJsonDocument::fromJson(Control(u"/control/stats"_s)).object().value(u"serverNanoseconds"_s).toDouble(-1));
}

QString WriteQuoteSimUrlIni(const QString& folder, const QuoteSim& server, bool chart, const QString& userAgent)
{
    static const QStringList countries = {u"United States"_s, u"Canada"_s, u"Brazil"_s,        u"UK & Ireland"_s,
                                          u"Germany"_s,       u"France"_s, u"Italy"_s,         u"Spain"_s,
                                          u"Sweden"_s,        u"Norway"_s, u"Australia & NZ"_s};
    QString text;
    for (const QString& country : countries) {
        const bool european = country == u"France"_s || country == u"Germany"_s;
        const QString path = chart ? u"/chart/%s"_s : european ? u"/eu/%s"_s : u"/csv/%s"_s;
        text += u"["_s + country + u"]\n"_s;
        text += u"QuoteURL="_s + server.Url(path) + u"\n"_s;
        text += u"QuoteURL_RT=\n"_s;
        text += chart ? u"AnswerFormat=yahoo-chart-json\n"_s : u"AnswerFormat=csv\n"_s;
        if (!userAgent.isEmpty())
            text += u"UserAgent="_s + userAgent + u"\n"_s;
        text += u"PriceMultiplier=1\nFormatPriceUnitDisplay=\nFormatPriceUnitSay=\nDefaultTimeZone=ET\n\n"_s;
    }
    const QString path = folder + u"/URL.ini"_s;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
    return path;
}
