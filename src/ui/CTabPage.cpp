#include "ui/CTabPage.h"

#include "ui/LayoutManager.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
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

QPushButton* CTabPage::Button(int id) const
{
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

QPushButton* CTabPage::AddButton(int id, const QString& text, const QRect& dialogUnits)
{
    auto* button = new QPushButton(text, this);
    SetControlId(button, id);
    button->setAutoDefault(false);
    button->setGeometry(MapDialogRect(*this, dialogUnits));
    m_buttons[id] = button;
    return button;
}

QAction* CTabPage::AddMenuItem(QMenu& menu, int id, const QString& text)
{
    QPushButton* button = Button(id);
    QAction* action = menu.addAction(text);
    action->setData(id);
    action->setEnabled(button && button->isEnabled());
    if (button)
        connect(action, &QAction::triggered, button, &QPushButton::click);
    return action;
}

void CTabPage::ExecMenu(QMenu& menu, const QAbstractItemView& list, const QPoint& position, MenuSide side)
{
    const QPoint global = list.viewport()->mapToGlobal(position);
    menu.exec(side == MenuSide::RightEdgeAtPoint ? global - QPoint(menu.sizeHint().width(), 0) : global);
}
