#include "ui/CIconDialog.h"

#include <QIcon>

using namespace Qt::StringLiterals;

CIconDialog::CIconDialog(QWidget* parent)
    : CQuorvaneDialog(parent)
{
    setWindowIcon(ProgramIcon());
}

QIcon CIconDialog::ProgramIcon()
{
    return QIcon(u":/icons/quorvane.svg"_s);
}
