#include "support/ProbeOrders.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

ProbeOrders::ProbeOrders(std::function<void(const QByteArray&)> handle, QObject* parent)
    : QObject(parent)
    , m_handle(std::move(handle))
    , m_input(STDIN_FILENO, QSocketNotifier::Read)
{
    connect(&m_input, &QSocketNotifier::activated, this, &ProbeOrders::ReadInput);
}

void ProbeOrders::Say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ProbeOrders::ReadInput()
{
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        QCoreApplication::quit();
        return;
    }
    m_pending.append(buffer, count);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray order = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        m_handle(order);
    }
}
