// quotesim: a local quote server for tests and demonstrations (see README.md).

#include "QuoteServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"quotesim"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"A local HTTP quote server with scripted faults."_s);
    parser.addHelpOption();
    const QCommandLineOption portOption(u"port"_s, u"Port on 127.0.0.1 (0: a free one)."_s, u"port"_s, u"0"_s);
    const QCommandLineOption seedOption(u"seed"_s, u"Seed of the random walks."_s, u"seed"_s, u"1"_s);
    const QCommandLineOption faultOption(u"fault"_s, u"A scripted fault: target:kind[=argument][*count]."_s,
                                         u"fault"_s);
    const QCommandLineOption timeOption(u"time"_s, u"Answer as if it were this moment (seconds since 1970)."_s,
                                        u"seconds"_s);
    const QCommandLineOption certOption(u"tls-cert"_s, u"Serve https with this PEM certificate."_s, u"file"_s);
    const QCommandLineOption keyOption(u"tls-key"_s, u"The PEM (RSA) key of the certificate."_s, u"file"_s);
    parser.addOptions({portOption, seedOption, faultOption, timeOption, certOption, keyOption});
    parser.process(app);

    QTextStream err(stderr);
    bool ok = false;
    const quint64 seed = parser.value(seedOption).toULongLong(&ok);
    if (!ok) {
        err << "quotesim: the seed must be a number\n";
        return 2;
    }
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        err << "quotesim: the port must be a number from 0 to 65535\n";
        return 2;
    }

    QuoteServer server(seed);
    for (const QString& text : parser.values(faultOption)) {
        QuoteServer::Fault fault;
        QString error;
        if (!QuoteServer::ParseFault(text, fault, error)) {
            err << "quotesim: " << error << '\n';
            return 2;
        }
        server.AddFault(fault);
    }
    if (parser.isSet(timeOption)) {
        const qint64 seconds = parser.value(timeOption).toLongLong(&ok);
        if (!ok) {
            err << "quotesim: --time takes seconds since 1970\n";
            return 2;
        }
        server.SetFixedTime(QDateTime::fromSecsSinceEpoch(seconds));
    }
    if (parser.isSet(certOption) || parser.isSet(keyOption)) {
        QString error;
        if (!server.EnableTls(parser.value(certOption), parser.value(keyOption), error)) {
            err << "quotesim: " << error << '\n';
            return 2;
        }
    }
    const quint16 listening = server.Listen(quint16(port));
    if (listening == 0) {
        err << "quotesim: cannot listen on 127.0.0.1:" << port << '\n';
        return 1;
    }
    std::printf("port %u\n", unsigned(listening));
    std::fflush(stdout);
    return app.exec();
}
