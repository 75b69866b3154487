#include "ui/wizard/CWizPage.h"

#include "ui/CIconDialog.h"
#include "ui/COXStatic.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

CWizPage::CWizPage(const QString& caption, const QString& title, QWidget* parent)
    : QWizardPage(parent)
    , m_caption(caption)
{
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(CIconDialog::ProgramIcon().pixmap(20, 20));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_title = new COXStatic(title, this);
    m_title->SetFontWeight(QFont::Bold);
    m_title->setWordWrap(true);
    m_body = new QVBoxLayout;
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
    grid->addWidget(m_title, 0, 1);
    grid->addLayout(m_body, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
}

bool CWizPage::validatePage()
{
    if (onNext)
        onNext();
    return true;
}
