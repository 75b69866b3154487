#pragma once

#include "ui/CQuorvaneDialog.h"

class QPushButton;

// A CQuorvaneDialog that carries the program icon in its title bar: base of the About, Edit Stock,
// Edit Rule and Edit Announcements dialogs.
class CIconDialog : public CQuorvaneDialog
{
    Q_OBJECT

public:
    explicit CIconDialog(QWidget* parent = nullptr);

    // The program icon (":/icons/quorvane.svg").
    static QIcon ProgramIcon();

protected:
    struct ButtonColumn
    {
        QPushButton* ok;
        QPushButton* help;
    };
    // Lays the dialog out as its content beside a column of "&OK" (the default button), "&Cancel"
    // (rejects the dialog) and "&Help" (with this control id; Enter never presses it).
    ButtonColumn LayOutBesideButtons(QWidget* content, int helpControlId);
};
