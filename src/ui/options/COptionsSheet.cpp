#include "ui/options/COptionsSheet.h"

#include "ui/CHelpTextDialog.h"
#include "ui/CIconDialog.h"
#include "ui/options/CBroadcastPPg.h"
#include "ui/options/CCharacterPPg.h"
#include "ui/options/CConnectionPPg.h"
#include "ui/options/CGeneralPPg.h"
#include "ui/options/CRulesPPg.h"
#include "ui/options/CStripPPg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The page shown at the last OK, for the whole run.
int g_rememberedPage = 0;

// The Alt letters of the pages, in page order.
constexpr char16_t kPageLetters[] = u"SBRGCN";

bool IsUsable(const QWidget* widget)
{
    return widget->isVisible() && widget->isEnabled();
}

} // namespace

COptionsSheet::COptionsSheet(OptionsValues& values, CCharacterManager* characters, QWidget* parent)
    : CQuorvaneDialog(parent)
    , m_characters(characters)
{
    setObjectName(u"optionsSheet"_s);
    setWindowTitle(u"Quorvane Options"_s);
    setWindowIcon(CIconDialog::ProgramIcon());

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"optionsTabs"_s);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabs->setIconSize(QSize(16, 16));
    m_pages = {new CStripPPg(values, m_tabs),
               new CBroadcastPPg(values, characters, m_tabs),
               new CRulesPPg(values, m_tabs),
               new CGeneralPPg(values, m_tabs),
               new CCharacterPPg(values, characters, m_tabs),
               new CConnectionPPg(values, m_tabs)};
    for (COptionsPage* page : m_pages)
        m_tabs->addTab(page, page->TabIcon(), page->Caption());
    // Wide enough for every tab; the row scrolls only when a large font makes it wider than the screen.
    m_tabs->setMinimumWidth(qMin(m_tabs->tabBar()->sizeHint().width() + 8, 900));

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    m_ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(u"Cancel"_s, QDialogButtonBox::RejectRole);
    m_help = buttons->addButton(u"Help"_s, QDialogButtonBox::HelpRole);
    m_help->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &COptionsSheet::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, &COptionsSheet::OnHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    m_active = qBound(0, g_rememberedPage, int(PageCount) - 1);
    m_pages[size_t(m_active)]->Activate();
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_active);
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &COptionsSheet::OnTabChanged);
}

COptionsSheet::~COptionsSheet()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

int COptionsSheet::RememberedPage()
{
    return g_rememberedPage;
}

COptionsPage* COptionsSheet::Page(int index) const
{
    return index >= 0 && index < PageCount ? m_pages[size_t(index)] : nullptr;
}

bool COptionsSheet::SetActivePage(int index)
{
    if (index < 0 || index >= PageCount)
        return false;
    if (index == m_active)
        return true;
    if (!m_pages[size_t(m_active)]->Leave())
        return false;
    m_active = index;
    // Built and filled before it is shown.
    m_pages[size_t(index)]->Activate();
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
    return true;
}

void COptionsSheet::OnTabChanged(int index)
{
    // The tab bar has switched already (a click, Ctrl+Tab): the page that was shown is asked
    // first, with the sheet back on it, so that its message and focus appear where they belong.
    const int wanted = index;
    {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(m_active);
    }
    SetActivePage(wanted);
}

void COptionsSheet::OnOk()
{
    if (!m_pages[size_t(m_active)]->Leave())
        return;
    g_rememberedPage = m_active;
    accept();
}

void COptionsSheet::OnHelp()
{
    ShowHelpTopic(m_pages[size_t(m_active)]->HelpTopic(), m_characters, this);
}

void COptionsSheet::showEvent(QShowEvent* event)
{
    CQuorvaneDialog::showEvent(event);
    if (!m_filtering) {
        // The Alt letters are decided here before Qt's shortcuts see them: a page's own controls
        // take their letters first, and the tabs' letters would otherwise clash with them.
        qApp->installEventFilter(this);
        m_filtering = true;
    }
}

void COptionsSheet::hideEvent(QHideEvent* event)
{
    if (m_filtering && !event->spontaneous()) {
        qApp->removeEventFilter(this);
        m_filtering = false;
    }
    CQuorvaneDialog::hideEvent(event);
}

bool COptionsSheet::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::AltModifier || key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
        return false;
    if (!AltLetter(key->key(), type == QEvent::KeyPress))
        return false;
    key->accept();
    return true;
}

bool COptionsSheet::AltLetter(int key, bool perform)
{
    const QKeySequence wanted(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
    COptionsPage* page = m_pages[size_t(m_active)];

    // A control of the shown page: a button (check boxes and radio buttons are clicked) or a label
    // that leads to its buddy.
    for (QWidget* child : page->findChildren<QWidget*>()) {
        if (!IsUsable(child))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            if (QKeySequence::mnemonic(button->text()) != wanted)
                continue;
            if (perform) {
                button->setFocus(Qt::ShortcutFocusReason);
                if (button->isCheckable())
                    button->click();
                else
                    button->animateClick();
            }
            return true;
        }
        if (auto* label = qobject_cast<QLabel*>(child)) {
            QWidget* buddy = label->buddy();
            if (buddy == nullptr || !IsUsable(buddy) || QKeySequence::mnemonic(label->text()) != wanted)
                continue;
            if (perform)
                buddy->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }

    // Otherwise the letter of a page.
    const QChar letter(char16_t(u'A' + (key - Qt::Key_A)));
    for (int index = 0; index < PageCount; ++index) {
        if (kPageLetters[index] == letter) {
            if (perform)
                SetActivePage(index);
            return true;
        }
    }
    return false;
}
