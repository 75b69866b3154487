#include "ui/CAboutDialog.h"

#include "base/AppPaths.h"
#include "base/FileVersionInfo.h"
#include "base/VersionNumber.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CAboutDialog::CAboutDialog(QWidget* parent)
    : CIconDialog(parent)
{
    setObjectName(u"aboutDialog"_s);
    setWindowTitle(u"About Quorvane"_s);

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(64, 64));

    auto* name = new QLabel(u"Quorvane"_s, this);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    name->setFont(bold);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(u"versionText"_s);
    auto* about = new QLabel(u"Follows your stocks and reads their prices aloud.\n\n"
                             u"Pennywit is brought to life by Quorvane's own character engine "
                             u"and speaks with the eSpeak NG voice.\n\n"
                             u"Copyright \u00a9 Brightwold"_s,
                             this);
    about->setObjectName(u"aboutText"_s);
    about->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(about);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(360);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDialog::VersionText()
{
    VersionNumber version;
    if (!FileVersionInfo(AppPaths::ProgramFile()).GetFixedVersion(version))
        return QString();
    return u"Version "_s + version.Text();
}
