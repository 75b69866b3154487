#include "ui/strip/CStockStrip.h"

#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "market/NumberText.h"
#include "market/PriceFormat.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/CAlert.h"
#include "rules/CRule.h"
#include "rules/RuleList.h"
#include "ui/strip/CMarkupText.h"
#include "ui/strip/IStripCommands.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QMenu>
#include <QMouseEvent>
#include <QStringBuilder>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A colour setting (0x00BBGGRR) as a markup colour tag.
QString ColourTag(qint32 value)
{
    const auto hex = [](int byte) {
        return QString::number(byte & 0xFF, 16).rightJustified(2, u'0');
    };
    return "<c"_L1 % hex(value) % u',' % hex(value >> 8) % u',' % hex(value >> 16) % u'>';
}

QColor SettingColour(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// Per stock in display order: whether an alert names it, directly or through the alert's rule.
std::vector<bool> AlertMarks(int stockCount)
{
    std::vector<bool> marks(size_t(stockCount), false);
    const int alertCount = GetAlertCount();
    if (alertCount == 0)
        return marks;
    // The first stock of each name, as a search by name finds it.
    QHash<QString, int> byName;
    byName.reserve(stockCount);
    for (int row = stockCount - 1; row >= 0; --row) {
        if (const Stock* stock = StockList::At(row, true))
            byName.insert(stock->Name(), row);
    }
    for (int index = 0; index < alertCount; ++index) {
        const CAlert* alert = GetAlert(index);
        if (alert == nullptr)
            continue;
        auto found = byName.constFind(alert->StockName());
        if (found == byName.cend()) {
            const CRule* rule = FindRuleByDescription(alert->RuleDescription());
            if (rule == nullptr)
                continue;
            found = byName.constFind(rule->StockName());
        }
        if (found != byName.cend())
            marks[size_t(found.value())] = true;
    }
    return marks;
}

} // namespace

CStockStrip::CStockStrip(IStripCommands& commands, std::unique_ptr<IScreenEdgeDock> dock)
    : CAppBarDlg(std::move(dock))
    , m_commands(commands)
{
    setObjectName(u"stockStrip"_s);
    setWindowTitle(u"Quorvane Stock Strip"_s);
    m_text = new CMarkupText(this);
    m_text->setObjectName(u"stripText"_s);
    // Its clicks are the strip's, in the strip's coordinates.
    m_text->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_advance.setTimerType(Qt::CoarseTimer);
    connect(&m_advance, &QTimer::timeout, this, &CStockStrip::NextPage);
}

CStockStrip::~CStockStrip() = default;

void CStockStrip::Create()
{
    ApplyBackground();
    SetFlags(AllowTopBottom);
    const int clientHeight = m_text->LineHeight() * 5 / 4;
    SetDockSize(Top, clientHeight);
    SetDockSize(Bottom, clientHeight);
    SetDockSize(Left, 0);
    SetDockSize(Right, 0);
    SetFloatSize(QSize(50, clientHeight));
    DockAtLocation();
    ApplyAdvanceTimer();
    show();
    // Shown without a size change (the window was already in its place): the pages all the same.
    if (m_pages.isEmpty())
        RebuildPages();
}

// Pages ------------------------------------------------------------------------------------------

void CStockStrip::RebuildPages()
{
    const CSettings& settings = GetSettings();
    m_pages = QStringList{QString()};
    int width = 0;
    const int available = m_text->width();

    const int stockCount = StockList::Count();
    const std::vector<bool> marks = AlertMarks(stockCount);
    const QString nameTag = ColourTag(settings.colorStockName);
    const QString upTag = ColourTag(settings.colorPosChange);
    const QString downTag = ColourTag(settings.colorNegChange);
    const QString unchangedTag = ColourTag(settings.colorNoChange);
    const QString mark = downTag % "<w>"_L1 % QChar(CMarkupText::kAlertMark) % "<w> "_L1;
    const int priceType = settings.pricesFormat == 0 ? PriceFormat::DisplayDecimals : PriceFormat::DisplayFractions;
    const double threshold = settings.boldThreshPct;
    static const QString kGap = u"    "_s;
    static const QString kBoldSpace = u"<b> <b>"_s;
    static const QString kBold = u"<b>"_s;
    static const QString kNotAvailable = u"N/A"_s;

    for (int row = 0; row < stockCount; ++row) {
        const Stock* stock = StockList::At(row, true);
        if (stock == nullptr || !stock->IsEnabled())
            continue;
        const int direction = stock->Direction();
        const QString& directionTag =
            direction == Stock::Up ? upTag : (direction == Stock::Down ? downTag : unchangedTag);
        const double percent = NumberText::LeadingDouble(stock->Percent());
        const bool bold = settings.bold != 0 && (percent < -threshold || percent > threshold);
        const QString b = bold ? kBold : QString();
        const QString price =
            stock->HasQuote() ? CMarkupText::Escape(stock->FormatPrice(priceType, PriceFormat::NoUnit)) : kNotAvailable;
        const QString item = kGap % (marks[size_t(row)] ? mark : QString()) % nameTag % b %
                             CMarkupText::Escape(stock->Name()) % b % kBoldSpace % b % price % ", "_L1 % directionTag %
                             CMarkupText::Escape(stock->FormatChange(priceType, PriceFormat::NoUnit)) % b % kGap;
        const int itemWidth = m_text->Measure(item).width();
        // A new page when the item does not fit on this one, unless this one is still empty: an
        // item wider than the whole strip gets a page of its own and no empty page before it.
        if (width + itemWidth > available && width > 0) {
            m_pages.append(item);
            width = itemWidth;
        } else {
            m_pages.last().append(item);
            width += itemWidth;
        }
    }
    if (m_current > m_pages.size() - 1)
        m_current = int(m_pages.size()) - 1;
    ShowCurrentPage();
}

void CStockStrip::ShowCurrentPage()
{
    m_text->SetText(m_current >= 0 && m_current < m_pages.size() ? m_pages[m_current] : QString());
}

bool CStockStrip::NextPage()
{
    const int before = m_current;
    m_current = m_current + 1 >= PageCount() ? 0 : m_current + 1;
    if (m_current == before)
        return false;
    ShowCurrentPage();
    return true;
}

bool CStockStrip::PreviousPage()
{
    const int before = m_current;
    m_current = m_current - 1 < 0 ? std::max(PageCount() - 1, 0) : m_current - 1;
    if (m_current == before)
        return false;
    ShowCurrentPage();
    return true;
}

// Settings ---------------------------------------------------------------------------------------

void CStockStrip::ApplyBackground()
{
    m_text->SetBackground(SettingColour(GetSettings().colorBackground));
}

void CStockStrip::ApplyAdvanceTimer()
{
    const CSettings& settings = GetSettings();
    const bool wanted = settings.autoAdvance != 0;
    const int period = settings.advanceInterval * 1000;
    if (m_advance.isActive() == wanted && (!wanted || m_advance.interval() == period))
        return;
    m_advance.stop();
    if (wanted && period > 0)
        m_advance.start(period);
}

void CStockStrip::DockAtLocation()
{
    SetState(GetSettings().location != 0 ? Bottom : Top);
}

void CStockStrip::ApplySettings()
{
    ApplyBackground();
    RebuildPages();
    ApplyAdvanceTimer();
    DockAtLocation();
}

void CStockStrip::OnExitSizeMove()
{
    CSettings& settings = GetSettings();
    settings.location = State() == Top ? 0 : 1;
    settings.Save();
}

// Window -----------------------------------------------------------------------------------------

void CStockStrip::resizeEvent(QResizeEvent* event)
{
    CAppBarDlg::resizeEvent(event);
    if (State() == Floating)
        return;
    m_text->setGeometry(rect());
    RebuildPages();
}

void CStockStrip::TurnOnClick(Qt::KeyboardModifiers modifiers)
{
    const bool changed = modifiers.testFlag(Qt::ShiftModifier) ? NextPage() : PreviousPage();
    // The new page stays a full period.
    if (changed && m_advance.isActive())
        m_advance.start();
}

void CStockStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        TurnOnClick(event->modifiers());
    CAppBarDlg::mousePressEvent(event);
}

void CStockStrip::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        TurnOnClick(event->modifiers());
    CAppBarDlg::mouseDoubleClickEvent(event);
}

std::unique_ptr<QMenu> CStockStrip::CreateMenu()
{
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(u"stripMenu"_s);
    const auto add = [&](int commandId, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setData(commandId);
        action->setEnabled(m_commands.IsStripCommandEnabled(commandId));
    };
    add(CommandId::StripPrevious, u"Show &Previous stocks\tClick"_s);
    add(CommandId::StripNext, u"Show &Next stocks\tShift+Click"_s);
    menu->addSeparator();
    add(CommandId::Broadcast, u"&Broadcast"_s);
    add(CommandId::ReadAllPrices, u"&Read All Prices"_s);
    menu->addSeparator();
    add(CommandId::QuorvaneWindow, u"&Quorvane Window"_s);
    add(CommandId::HideStrip, u"&Hide Stock Strip"_s);
    add(CommandId::StripHelp, u"&Stock Strip Help"_s);
    menu->addSeparator();
    add(CommandId::Exit, u"E&xit"_s);
    return menu;
}

void CStockStrip::contextMenuEvent(QContextMenuEvent* event)
{
    // Not run in an event loop of its own: the strip may be hidden (deleted) while its menu is open,
    // and the menu, its child, goes with it.
    QMenu* menu = CreateMenu().release();
    menu->setParent(this, menu->windowFlags());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &QMenu::triggered, this,
            [this](const QAction* action) { m_commands.PostStripCommand(action->data().toInt()); });
    menu->popup(event->globalPos());
}
