#pragma once

#include "ui/LayoutRule.h"

#include <QWidget>

#include <map>
#include <span>

class IPageHost;
class QAbstractItemView;
class QAction;
class QMenu;
class QPushButton;

// Base of the main window's three tab pages (Stocks, Rules, Alerts): a child widget of the tab
// control with a list and buttons. A page never closes: Enter and Escape do nothing on it. When it
// is resized to a positive width and height it applies its layout table (GetLayout) with the
// dialog layout manager, so the list grows and the buttons keep to the right and bottom edges.
// Tab pages are not counted as open dialogs.
class CTabPage : public QWidget
{
    Q_OBJECT

public:
    explicit CTabPage(IPageHost& host, QWidget* parent = nullptr);

    // Enables or disables the page's buttons after a selection change.
    virtual void UpdateButtons() = 0;
    // Refits the columns, writes the page's data file and updates the buttons. Called after every
    // change the page makes to its list. Returns whether the file was written.
    virtual bool Commit() = 0;
    // Sizes the list columns to their contents (when the page is shown, resized or committed).
    virtual void FitColumns() = 0;
    // Rebuilds the list from its records and selects the first item; called once after the data
    // files are loaded.
    virtual void Fill() = 0;
    // The page's layout table (ends with a LayoutEnd row).
    virtual std::span<const LayoutRule> GetLayout() const = 0;

    IPageHost& Host() const { return m_host; }

    // The page's button with this control id, or null.
    QPushButton* Button(int id) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Makes a button with this control id, placed in dialog units; Enter does not press it unless
    // it is made the default.
    QPushButton* AddButton(int id, const QString& text, const QRect& dialogUnits);
    // A context menu item that stands for a button: enabled as the button is, and choosing it
    // presses the button.
    QAction* AddMenuItem(QMenu& menu, int id, const QString& text);
    // Opens a context menu at a point of the list (relative to its viewport), with its left edge or
    // its right edge at the point.
    enum class MenuSide
    {
        LeftEdgeAtPoint,
        RightEdgeAtPoint
    };
    static void ExecMenu(QMenu& menu, const QAbstractItemView& list, const QPoint& position, MenuSide side);

private:
    IPageHost& m_host;
    std::map<int, QPushButton*> m_buttons;
};
