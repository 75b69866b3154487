#include "ui/CIconDialog.h"

#include "ui/LayoutManager.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CIconDialog::CIconDialog(QWidget* parent)
    : CQuorvaneDialog(parent)
{
    setWindowIcon(ProgramIcon());
}

QIcon CIconDialog::ProgramIcon()
{
    // The program gives the application its icon at start: share it rather than parse the picture
    // again for every dialog.
    QIcon icon = QGuiApplication::windowIcon();
    return icon.isNull() ? QIcon(u":/icons/quorvane.svg"_s) : icon;
}

CIconDialog::ButtonColumn CIconDialog::LayOutBesideButtons(QWidget* content, int helpControlId)
{
    auto* ok = WithControlId(new QPushButton(u"&OK"_s, this), 1);
    ok->setDefault(true);
    auto* cancel = WithControlId(new QPushButton(u"&Cancel"_s, this), 2);
    auto* help = WithControlId(new QPushButton(u"&Help"_s, this), helpControlId);
    help->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(content, 1);
    layout->addLayout(buttons);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return {ok, help};
}
