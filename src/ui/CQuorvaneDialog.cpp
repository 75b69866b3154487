#include "ui/CQuorvaneDialog.h"

#include "ui/OpenDialogCount.h"

#include <QHideEvent>
#include <QShowEvent>

CQuorvaneDialog::CQuorvaneDialog(QWidget* parent)
    : QDialog(parent)
{}

CQuorvaneDialog::~CQuorvaneDialog()
{
    Uncount();
}

int CQuorvaneDialog::OpenCount()
{
    return OpenDialogCount::Instance().Count();
}

void CQuorvaneDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_counted && !event->spontaneous()) {
        m_counted = true;
        OpenDialogCount::Instance().Increment();
    }
}

void CQuorvaneDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // A spontaneous hide (the window manager minimising the dialog) leaves it open.
    if (!event->spontaneous())
        Uncount();
}

void CQuorvaneDialog::Uncount()
{
    if (!m_counted)
        return;
    m_counted = false;
    OpenDialogCount::Instance().Decrement();
}
