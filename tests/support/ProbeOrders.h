#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <functional>

// The order loop of the small programs that X11 tests drive: orders arrive on standard input, one
// per line; answers go to standard output, one per line, flushed at once. The end of the input
// quits the program.
class ProbeOrders : public QObject
{
public:
    // Calls handle with each order, trimmed, once the event loop runs.
    explicit ProbeOrders(std::function<void(const QByteArray&)> handle, QObject* parent = nullptr);

    static void Say(const QByteArray& line);

private:
    void ReadInput();

    std::function<void(const QByteArray&)> m_handle;
    QSocketNotifier m_input;
    QByteArray m_pending;
};
