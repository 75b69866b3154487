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
    const QCommandLineOption updateVersionOption(u"update-version"_s, u"The update site's latest version."_s,
                                                 u"version"_s, u"3.1.0.0"_s);
    const QCommandLineOption updateSizeOption(u"update-size"_s, u"The size of the update's download in bytes."_s,
                                              u"bytes"_s, u"514048"_s);
    const QCommandLineOption updateFileOption(u"update-file"_s, u"The download's last path segment (URL-encoded)."_s,
                                              u"segment"_s, u"quorvane-3.1.0.0.tar.gz"_s);
    const QCommandLineOption updateRateOption(
        u"update-rate"_s, u"The download's speed in bytes a second (0: unlimited)."_s, u"bytes"_s, u"0"_s);
    parser.addOptions({portOption, seedOption, faultOption, timeOption, certOption, keyOption, updateVersionOption,
                       updateSizeOption, updateFileOption, updateRateOption});
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
    UpdateSite& updates = server.Updates();
    updates.version = parser.value(updateVersionOption);
    updates.file = parser.value(updateFileOption);
    updates.size = parser.value(updateSizeOption).toLongLong(&ok);
    if (!ok || updates.size < 0) {
        err << "quotesim: --update-size takes a number of bytes\n";
        return 2;
    }
    updates.rate = parser.value(updateRateOption).toLongLong(&ok);
    if (!ok || updates.rate < 0) {
        err << "quotesim: --update-rate takes bytes a second\n";
        return 2;
    }
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
