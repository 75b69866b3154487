#include "ui/CEditStockDlg.h"

#include "base/CSettings.h"
#include "market/Countries.h"
#include "market/CountryIcon.h"
#include "market/Stock.h"
#include "ui/IPageHost.h"
#include "ui/LayoutManager.h"
#include "ui/PageBrowser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int HelpTopic = 61213;

} // namespace

CEditStockDlg::CEditStockDlg(IPageHost& host, QWidget* parent)
    : CIconDialog(parent)
    , m_host(host)
{
    setWindowTitle(u"Edit Stock"_s);

    auto* group = new QGroupBox(u" Stock Information "_s, this);
    auto* grid = new QGridLayout(group);

    m_country = WithControlId(new QComboBox(group), 1061);
    m_country->setEditable(false);
    m_flag = WithControlId(new QLabel(group), 1065);
    m_flag->setFixedSize(32, 24);
    m_flag->setAlignment(Qt::AlignCenter);
    m_name = WithControlId(new QLineEdit(group), 209);
    m_spokenName = WithControlId(new QLineEdit(group), 210);
    m_symbol = WithControlId(new QLineEdit(group), 213);
    auto* lookup = WithControlId(new QPushButton(u"&Lookup Symbol ..."_s, group), 1041);
    lookup->setAutoDefault(false);
    m_realtimeIcon = WithControlId(new QLabel(group), 1103);
    m_realtimeIcon->setPixmap(QIcon(u":/pages/realtime.svg"_s).pixmap(16, 16));
    m_realtimeText = WithControlId(new QLabel(u"Realtime quote available"_s, group), 1104);

    auto label = [group](const QString& text, QWidget* buddy) {
        auto* result = new QLabel(text, group);
        result->setBuddy(buddy);
        return result;
    };
    grid->addWidget(label(u"&Country"_s, m_country), 0, 0);
    auto* countryRow = new QHBoxLayout;
    countryRow->addWidget(m_country, 1);
    countryRow->addWidget(m_flag);
    grid->addLayout(countryRow, 0, 1, 1, 2);
    grid->addWidget(label(u"Stock &Name"_s, m_name), 1, 0);
    grid->addWidget(m_name, 1, 1, 1, 2);
    grid->addWidget(label(u"Say name &as"_s, m_spokenName), 2, 0);
    grid->addWidget(m_spokenName, 2, 1, 1, 2);
    grid->addWidget(label(u"&Stock Symbol"_s, m_symbol), 3, 0);
    grid->addWidget(m_symbol, 3, 1);
    grid->addWidget(lookup, 3, 2);
    auto* realtimeRow = new QHBoxLayout;
    realtimeRow->addWidget(m_realtimeIcon);
    realtimeRow->addWidget(m_realtimeText);
    realtimeRow->addStretch(1);
    grid->addLayout(realtimeRow, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    const ButtonColumn buttons = LayOutBesideButtons(group, 1105);
    m_ok = buttons.ok;
    QPushButton* help = buttons.help;

    m_country->addItems(Countries::CountryNames());

    connect(m_ok, &QPushButton::clicked, this, &CEditStockDlg::OnOk);
    connect(help, &QPushButton::clicked, this, [this] { m_host.ShowHelpTopic(HelpTopic); });
    connect(lookup, &QPushButton::clicked, this, &CEditStockDlg::OnLookupSymbol);
    connect(m_name, &QLineEdit::textChanged, this, &CEditStockDlg::UpdateOk);
    connect(m_symbol, &QLineEdit::textChanged, this, &CEditStockDlg::UpdateOk);
    connect(m_country, &QComboBox::currentIndexChanged, this, [this] {
        UpdateCountryDisplay();
        UpdateOk();
    });
}

void CEditStockDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        Initialize();
    }
    CIconDialog::showEvent(event);
}

void CEditStockDlg::Initialize()
{
    if (name == NewStockName())
        setWindowTitle(u"New Stock"_s);
    m_name->setText(name);
    m_spokenName->setText(spokenName);
    m_symbol->setText(symbol);

    int selection = -1;
    for (int i = 0; i < m_country->count(); ++i) {
        if (m_country->itemText(i).startsWith(country, Qt::CaseInsensitive)) {
            selection = i;
            break;
        }
    }
    {
        const QSignalBlocker blocker(m_country);
        m_country->setCurrentIndex(selection);
    }
    UpdateCountryDisplay();

    m_name->setFocus();
    m_name->selectAll();
    UpdateOk();
}

void CEditStockDlg::UpdateCountryDisplay()
{
    if (m_country->currentIndex() < 0) {
        // A country that matches no entry: no flag, and nothing to say about real-time quotes.
        m_flag->clear();
        m_realtimeIcon->setVisible(false);
        m_realtimeText->setVisible(false);
        return;
    }
    const QString selected = m_country->currentText();
    const QIcon flag = CountryIcon(selected);
    if (flag.isNull())
        return;
    m_flag->setPixmap(flag.pixmap(32, 24));
    const bool realtime = !Countries::ReadCountrySetting(selected, u"QuoteURL_RT"_s).isEmpty();
    m_realtimeIcon->setVisible(realtime);
    m_realtimeText->setVisible(realtime);
}

void CEditStockDlg::UpdateOk()
{
    const QString typed = m_name->text();
    m_ok->setEnabled(!typed.isEmpty() && typed != NewStockName() && !m_symbol->text().isEmpty() &&
                     m_country->currentIndex() >= 0);
}

void CEditStockDlg::OnOk()
{
    if (!m_ok->isEnabled())
        return;
    name = m_name->text();
    spokenName = m_spokenName->text();
    symbol = m_symbol->text();
    country = m_country->currentIndex() >= 0 ? m_country->currentText() : QString();
    accept();
}

void CEditStockDlg::OnLookupSymbol()
{
    Stock stock;
    const QString selected = m_country->currentIndex() >= 0 ? m_country->currentText() : QString();
    if (!selected.isEmpty())
        stock.SetCountry(selected);
    const QString typed = m_name->text();
    if (!typed.isEmpty() && typed != NewStockName())
        stock.SetName(typed);
    OpenPageLink(stock.LookupURL());
}

bool RunStockEditor(Stock& stock, IPageHost& host, QWidget* parent)
{
    CEditStockDlg dialog(host, parent);
    dialog.name = stock.Name();
    dialog.symbol = stock.Symbol();
    dialog.country = stock.Country();
    dialog.spokenName = stock.SpokenName();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    stock.SetName(dialog.name);
    stock.SetSpokenName(dialog.spokenName);
    stock.SetSymbol(dialog.symbol);
    stock.SetCountry(dialog.country);
    return true;
}

std::unique_ptr<Stock> NewStock(IPageHost& host, QWidget* parent)
{
    CEditStockDlg dialog(host, parent);
    dialog.name = CEditStockDlg::NewStockName();
    dialog.country = GetSettings().defaultCountry;
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return std::make_unique<Stock>(dialog.name, dialog.spokenName, dialog.symbol, dialog.country);
}
