#include "ui/CEditRuleDlg.h"

#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "ui/CEditAnnouncementsDlg.h"
#include "ui/HelpTopics.h"
#include "ui/IPageHost.h"
#include "ui/LayoutManager.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

int FindExact(const QComboBox* list, const QString& text)
{
    return list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

} // namespace

CEditRuleDlg::CEditRuleDlg(IPageHost& host, QWidget* parent)
    : CIconDialog(parent)
    , m_host(host)
{
    setWindowTitle(u"Edit Rule"_s);

    auto* group = new QGroupBox(u"Rule"_s, this);
    auto* grid = new QGridLayout(group);
    m_stock = WithControlId(new QComboBox(group), 225);
    m_attribute = WithControlId(new QComboBox(group), 227);
    m_operator = WithControlId(new QComboBox(group), 228);
    m_operator->addItems({u">"_s, u">="_s, u"<"_s, u"<="_s, u"="_s});
    m_number = WithControlId(new QLineEdit(group), 1049);
    m_hint = WithControlId(new QLabel(u"Type a number"_s, group), 1050);
    m_announcement = WithControlId(new QComboBox(group), 233);
    auto* preview = WithControlId(new QPushButton(u"&Preview"_s, group), 236);
    auto* announcements = WithControlId(new QPushButton(u"&Announcements..."_s, group), 234);
    for (QPushButton* button : {preview, announcements})
        button->setAutoDefault(false);

    auto* stockLabel = new QLabel(u"&Stock Name"_s, group);
    stockLabel->setBuddy(m_stock);
    auto* whenLabel = new QLabel(u"&When The Following Happens"_s, group);
    whenLabel->setBuddy(m_attribute);
    auto* announceLabel = new QLabel(u"&Announce the following"_s, group);
    announceLabel->setBuddy(m_announcement);

    grid->addWidget(stockLabel, 0, 0, 1, 4);
    grid->addWidget(m_stock, 1, 0, 1, 4);
    grid->addWidget(whenLabel, 2, 0, 1, 4);
    grid->addWidget(m_attribute, 3, 0);
    grid->addWidget(m_operator, 3, 1);
    grid->addWidget(m_number, 3, 2);
    grid->addWidget(m_hint, 3, 3);
    grid->addWidget(announceLabel, 4, 0, 1, 4);
    grid->addWidget(m_announcement, 5, 0, 1, 2);
    auto* announceButtons = new QHBoxLayout;
    announceButtons->addWidget(preview);
    announceButtons->addWidget(announcements);
    grid->addLayout(announceButtons, 5, 2, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(2, 1);

    // The hint keeps its room while hidden, so the row does not jump as the number is typed.
    QSizePolicy keepRoom = m_hint->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_hint->setSizePolicy(keepRoom);

    const ButtonColumn buttons = LayOutBesideButtons(group, 235);
    m_ok = buttons.ok;
    QPushButton* help = buttons.help;

    connect(m_ok, &QPushButton::clicked, this, &CEditRuleDlg::OnOk);
    connect(help, &QPushButton::clicked, this, [this] { m_host.ShowHelpTopic(HelpTopics::EditRule); });
    connect(preview, &QPushButton::clicked, this, &CEditRuleDlg::OnPreview);
    connect(announcements, &QPushButton::clicked, this, &CEditRuleDlg::OnAnnouncements);
    connect(m_number, &QLineEdit::textChanged, this, &CEditRuleDlg::ApplyNumberRule);
    connect(m_announcement, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            announcement = m_announcement->itemText(index);
    });
}

void CEditRuleDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        Initialize();
    }
    CIconDialog::showEvent(event);
}

void CEditRuleDlg::Initialize()
{
    for (int row = 0; row < StockList::Count(); ++row) {
        if (const Stock* stock = StockList::At(row, true))
            m_stock->addItem(stock->Name());
    }
    m_stock->setCurrentIndex(FindExact(m_stock, stockName));

    m_attribute->addItems({u"Price"_s, u"Change%"_s, u"Change"_s, u"Volume"_s});
    m_attribute->setCurrentIndex(std::max(0, FindExact(m_attribute, attribute)));

    int operatorIndex = 0;
    for (int i = 0; i < m_operator->count(); ++i) {
        if (m_operator->itemText(i).startsWith(operatorText, Qt::CaseInsensitive)) {
            operatorIndex = i;
            break;
        }
    }
    m_operator->setCurrentIndex(operatorIndex);
    m_number->setText(number);

    const QString wanted = announcement;
    FillAnnouncements();
    {
        const QSignalBlocker blocker(m_announcement);
        m_announcement->setCurrentIndex(FindExact(m_announcement, wanted));
    }

    if (stockName == CRule::NewStockName()) {
        setWindowTitle(u"New Rule"_s);
        m_stock->setCurrentIndex(m_stock->count() > 0 ? 0 : -1);
        const QSignalBlocker blocker(m_announcement);
        m_announcement->setCurrentIndex(m_announcement->count() > 0 ? 0 : -1);
        announcement = m_announcement->currentText();
    }

    QFont bold = m_hint->font();
    bold.setBold(true);
    m_hint->setFont(bold);
    QPalette red = m_hint->palette();
    red.setColor(QPalette::WindowText, QColor(173, 20, 20));
    m_hint->setPalette(red);
    ApplyNumberRule();
}

void CEditRuleDlg::FillAnnouncements()
{
    const QSignalBlocker blocker(m_announcement);
    m_announcement->clear();
    for (int i = 0; i < GetAnnouncementCount(); ++i)
        m_announcement->addItem(GetAnnouncement(i)->Name());
    m_announcement->setCurrentIndex(-1);
}

void CEditRuleDlg::ApplyNumberRule()
{
    const bool empty = m_number->text().isEmpty();
    m_ok->setEnabled(!empty);
    m_hint->setVisible(empty);
}

void CEditRuleDlg::OnPreview()
{
    if (m_announcement->currentIndex() < 0)
        return;
    if (const CAnnouncement* found = FindAnnouncement(m_announcement->currentText()))
        m_host.PlayAnnouncement(found, nullptr, true);
}

void CEditRuleDlg::OnAnnouncements()
{
    const QString before = announcement;
    {
        CEditAnnouncementsDlg dialog(m_host, this);
        dialog.presetName = before;
        dialog.exec();
    }
    FillAnnouncements();
    const QSignalBlocker blocker(m_announcement);
    m_announcement->setCurrentIndex(FindExact(m_announcement, before));
}

void CEditRuleDlg::OnOk()
{
    if (!m_ok->isEnabled())
        return;
    stockName = m_stock->currentIndex() >= 0 ? m_stock->currentText() : QString();
    attribute = m_attribute->currentIndex() >= 0 ? m_attribute->currentText() : QString();
    operatorText = m_operator->currentIndex() >= 0 ? m_operator->currentText() : QString();
    number = m_number->text();
    announcement = m_announcement->currentIndex() >= 0 ? m_announcement->currentText() : QString();
    accept();
}
