#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that ask a process to end (SIGTERM from a logout or a service manager, SIGINT
// from Ctrl+C in a terminal, SIGHUP when the terminal goes) into a Qt signal delivered by the event
// loop, so that the program can end in order instead of dying where it stands. The handler only
// writes the signal's number to a pipe that a QSocketNotifier watches (the self-pipe way: nothing
// else is safe inside a signal handler).
//
// One instance at a time; while it lives the three signals are caught, afterwards they do what they
// did before. Main thread only.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether the signals are caught (false when the pipe or the handlers could not be set up).
    bool IsActive() const { return m_notifier != nullptr; }

signals:
    // One of the signals arrived (its number).
    void Received(int signalNumber);

private:
    void ReadPipe();

    QSocketNotifier* m_notifier = nullptr;
};
