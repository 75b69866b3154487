#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs tools/quotesim as a child process for one test: started on a free port of 127.0.0.1 with the
// given arguments (faults, seed, time), stopped when the object goes away.
class QuoteSim
{
public:
    explicit QuoteSim(const QStringList& arguments = {});
    ~QuoteSim();
    QuoteSim(const QuoteSim&) = delete;
    QuoteSim& operator=(const QuoteSim&) = delete;

    bool IsRunning() const { return m_port != 0; }
    quint16 Port() const { return m_port; }
    // "http://127.0.0.1:<port>" + path (https with TLS arguments).
    QString Url(const QString& path) const;

    // A GET of a control path ("/control/stats"); the body, empty on failure.
    QByteArray Control(const QString& pathAndQuery) const;
    bool AddFault(const QString& fault) const;
    qint64 Requests() const;
    qint64 ServerNanoseconds() const;

    static QString Program();

private:
    QProcess m_process;
    quint16 m_port = 0;
    bool m_tls = false;
};

// Writes a URL.ini into folder whose every country fetches from the server: "United States" and
// every other country in CSV (/csv/%s), "France" and "Germany" in their European form (/eu/%s), or,
// with chart true, every country in the chart JSON form (/chart/%s). Returns the file path.
// A non-empty userAgent becomes every country's "UserAgent".
QString WriteQuoteSimUrlIni(const QString& folder, const QuoteSim& server, bool chart = false,
                            const QString& userAgent = {});
