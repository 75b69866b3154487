#include "ui/OpenDialogCount.h"

OpenDialogCount& OpenDialogCount::Instance()
{
    static OpenDialogCount instance;
    return instance;
}

void OpenDialogCount::Increment()
{
    ++m_count;
    emit CountChanged(m_count);
}

void OpenDialogCount::Decrement()
{
    if (m_count == 0)
        return;
    --m_count;
    emit CountChanged(m_count);
}
