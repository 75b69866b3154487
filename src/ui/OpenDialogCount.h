#pragma once

#include <QObject>

// The program-wide number of the program's own dialogs that are open (see CQuorvaneDialog). The main
// frame disables Exit while it is not zero, so the program never ends under an open dialog:
//
//   connect(&OpenDialogCount::Instance(), &OpenDialogCount::CountChanged, this,
//           [this](int count) { m_exitAction->setEnabled(count == 0); });
class OpenDialogCount : public QObject
{
    Q_OBJECT

public:
    static OpenDialogCount& Instance();

    int Count() const { return m_count; }

    void Increment();
    void Decrement(); // never below zero

signals:
    void CountChanged(int count);

private:
    OpenDialogCount() = default;

    int m_count = 0;
};
