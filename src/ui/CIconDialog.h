#pragma once

#include "ui/CQuorvaneDialog.h"

// A CQuorvaneDialog that carries the program icon in its title bar: base of the About, Edit Stock,
// Edit Rule and Edit Announcements dialogs.
class CIconDialog : public CQuorvaneDialog
{
    Q_OBJECT

public:
    explicit CIconDialog(QWidget* parent = nullptr);

    // The program icon (":/icons/quorvane.svg").
    static QIcon ProgramIcon();
};
