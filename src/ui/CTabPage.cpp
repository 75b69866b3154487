#include "ui/CTabPage.h"

#include "ui/LayoutManager.h"

#include <QKeyEvent>
#include <QResizeEvent>

CTabPage::CTabPage(IPageHost& host, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
{}

void CTabPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() > 0 && event->size().height() > 0)
        ApplyLayoutRules(this, GetLayout());
}

void CTabPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // A page is not a dialog: these keys neither confirm nor close anything here.
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
