#include "webupdate/CNewsDlg.h"

#include "ui/CIconDialog.h"
#include "webupdate/RtfReader.h"
#include "webupdate/VersionMarkers.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextOption>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CNewsDlg::CNewsDlg(QWidget* parent)
    : CQuorvaneDialog(parent)
{
    setObjectName(u"newsDialog"_s);
    setWindowTitle(u"Quorvane News"_s);
    setWindowIcon(CIconDialog::ProgramIcon());

    m_editor = new QTextEdit(this);
    m_editor->setObjectName(u"newsText"_s);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editor->setAcceptRichText(false);
    // RTF's default tab stops: every half inch.
    QTextOption option = m_editor->document()->defaultTextOption();
    option.setTabStopDistance(m_editor->logicalDpiX() / 2.0);
    m_editor->document()->setDefaultTextOption(option);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(u"Close"_s, QDialogButtonBox::AcceptRole);
    close->setObjectName(u"closeButton"_s);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(buttons);
    resize(580, 460);
}

void CNewsDlg::SetHeadings(const QString& newText, const QString& oldText)
{
    m_newHeading = QString(newText).replace(u"\\n"_s, u"\n"_s);
    m_oldHeading = QString(oldText).replace(u"\\n"_s, u"\n"_s);
}

void CNewsDlg::showEvent(QShowEvent* event)
{
    if (!m_filled) {
        m_filled = true;
        Fill();
    }
    CQuorvaneDialog::showEvent(event);
}

void CNewsDlg::Fill()
{
    m_editor->clear();
    QTextCursor cursor(m_editor->document());
    if (!RtfReader::Read(m_description, cursor))
        cursor.insertText(QString::fromUtf8(m_description)); // not RTF: shown as plain text
    if (!m_description.isEmpty())
        ReplaceVersionMarkers(*m_editor->document(), m_installed, m_newHeading, m_oldHeading);
    m_editor->setReadOnly(true);
    m_editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_editor->moveCursor(QTextCursor::Start);
    m_editor->setFocus();
}
