#pragma once

#include "ui/CIconDialog.h"

// "About Quorvane": the program's name, its version (from the program file's version information)
// and who brings its character to life.
class CAboutDialog final : public CIconDialog
{
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    // "Version " and the program file's four-part version ("Version 3.0.0.0").
    static QString VersionText();
};
