// screenshots: makes the user guide's pictures from the real windows. It starts Quorvane in-process
// on the offscreen platform with fresh XDG folders and a few sample stocks, rules and alerts, then
// grabs the main window, the dialogs and the character and writes them as small palette PNGs.
//
//   build/test/bin/screenshots doc/images
//
// Run it from the build tree's bin/ folder (it finds URL.ini and Pennywit there, as the program does).

#include "app/CEngine.h"
#include "app/CEngineWnd.h"
#include "app/CMainFrame.h"
#include "app/CQuorvaneApp.h"
#include "app/CTrayIcon.h"
#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "platform/IReachability.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "rules/RuleList.h"
#include "speech/CCharacterManager.h"
#include "ui/CAboutDialog.h"
#include "ui/CEditAnnouncementsDlg.h"
#include "ui/CEditRuleDlg.h"
#include "ui/CEditStockDlg.h"
#include "ui/CTabPage.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/options/COptionsSheet.h"
#include "ui/options/OptionsValues.h"
#include "ui/strip/CStockStrip.h"
#include "ui/wizard/CSetupWizard.h"
#include "webupdate/CWebUpdateDlg.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString g_output;
int g_failures = 0;

void Fail(const QString& what)
{
    std::fprintf(stderr, "screenshots: %s\n", qUtf8Printable(what));
    ++g_failures;
}

// Lets queued events, timers and animations run for a while.
void Settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Writes the picture as a small PNG: reduced to a palette when it has few colours (window
// pictures do), with the strongest compression.
void Write(const QImage& picture, const QString& name)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (indexed.colorCount() > 0 && indexed.colorCount() <= 256)
        image = indexed;
    QImageWriter writer(g_output + u'/' + name + u".png"_s, "png");
    writer.setQuality(0); // PNG: 0 is the strongest compression
    if (!writer.write(image))
        Fail(name + u": "_s + writer.errorString());
    else
        std::printf("%s/%s.png %dx%d\n", qUtf8Printable(g_output), qUtf8Printable(name), image.width(), image.height());
}

void Grab(QWidget& window, const QString& name)
{
    window.show();
    window.raise();
    Settle(300);
    Write(window.grab().toImage(), name);
}

// A dialog of the program, shown modeless over the main window so that it can be grabbed.
template <typename Dialog, typename Prepare>
void GrabDialog(CEngineWnd& engine, const QString& name, Prepare prepare)
{
    Dialog dialog(engine, engine.window());
    prepare(dialog);
    Grab(dialog, name);
    dialog.reject();
}

// Options that keep the program from reaching out on its own, and a finished setup.
void WriteSettings()
{
    QSettings settings(QDir::cleanPath(qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Brightwold/Quorvan.ini"_s),
                       QSettings::IniFormat);
    settings.setValue(u"Connection/Type"_s, u"LAN"_s);
    settings.setValue(u"Broadcast/ReadBroadcast"_s, 0);
    settings.setValue(u"Rules/CheckRules"_s, 0);
    settings.setValue(u"Ticker/Show"_s, 0);
    settings.setValue(u"Character/Position"_s, u"Top Left"_s);
}

struct SampleStock
{
    const char16_t* name;
    const char16_t* spoken;
    const char16_t* symbol;
    const char16_t* price;
    const char16_t* change;
    const char16_t* volume;
};

// The sample quotes: an afternoon in New York.
const QDateTime kQuoteTime(QDate(2024, 3, 14), QTime(15, 42), QTimeZone("America/New_York"));

void FillSampleData()
{
    const SampleStock stocks[] = {
        {u"Dow Jones", u"The Dow", u"^DJI", u"38712.21", u"184.15", u"318204000"},
        {u"Nasdaq", u"The Nasdaq", u"^IXIC", u"16302.76", u"-37.11", u"4811520000"},
        {u"S&P 500", u"The S and P 500", u"^GSPC", u"5117.09", u"12.33", u"2410960000"},
        {u"Acme Widgets", u"Acme Widgets", u"ACMW", u"52.5", u"1.25", u"1204300"},
        {u"Northwind Rail", u"Northwind Rail", u"NWRL", u"18.73", u"-0.42", u"836100"},
        {u"Tailspin Air", u"Tailspin Air", u"TSPA", u"7.06", u"0.", u"412900"},
    };
    StockList::DeleteAll();
    for (const SampleStock& sample : stocks) {
        Stock* stock = StockList::Add(QString::fromUtf16(sample.name), QString::fromUtf16(sample.spoken),
                                      QString::fromUtf16(sample.symbol), u"United States"_s);
        stock->SetPrice(QString::fromUtf16(sample.price), false);
        stock->SetChange(QString::fromUtf16(sample.change), false);
        stock->ComputePercent();
        stock->SetVolume(QString::fromUtf16(sample.volume));
        stock->SetQuoteTime(static_cast<qint32>(kQuoteTime.toSecsSinceEpoch()));
    }
    StockList::At(5)->SetState(u"Disabled"_s);

    if (GetAnnouncementCount() == 0) {
        auto announce = [](const QString& name, const QString& gesture, const QString& before, const QString& after) {
            auto announcement = std::make_unique<CAnnouncement>();
            announcement->SetName(name);
            announcement->SetGestureBefore(gesture);
            announcement->SetSayBefore(before);
            announcement->SetSayAfter(after);
            InsertAnnouncement(GetAnnouncementCount(), std::move(announcement));
        };
        announce(u"Target reached"_s, u"PotGold"_s, u"STOCK has reached its target: PRICE."_s, u"Well done!"_s);
        announce(u"Good news"_s, u"GraphUp"_s, u"Good news! STOCK is up CHANGE, at PRICE."_s, QString());
        announce(u"Bad news"_s, u"GraphDown"_s, u"I am afraid STOCK is down CHANGE, at PRICE."_s, QString());
    }

    auto rule = [](const QString& stock, const QString& attribute, int op, const QString& number,
                   const QString& announcement) {
        auto made = std::make_unique<CRule>();
        made->SetStockName(stock);
        made->SetAttribute(attribute);
        made->SetOperator(op);
        made->SetNumber(number);
        made->SetAnnouncement(announcement);
        const QString description = made->Description();
        InsertRule(GetRuleCount(), std::move(made));
        return description;
    };
    const QString acme = rule(u"Acme Widgets"_s, u"Price"_s, CRule::Greater, u"50"_s, u"Target reached"_s);
    const QString dow = rule(u"Dow Jones"_s, u"Change"_s, CRule::GreaterEqual, u"150"_s, u"Good news"_s);
    rule(u"Northwind Rail"_s, u"Price"_s, CRule::Less, u"15"_s, u"Bad news"_s);
    rule(u"Nasdaq"_s, u"Change%"_s, CRule::GreaterEqual, u"2"_s, u"Bad news"_s);

    const Stock* dowStock = StockList::FindByName(u"Dow Jones"_s);
    const Stock* acmeStock = StockList::FindByName(u"Acme Widgets"_s);
    InsertNewAlert(dow, dowStock->Price(), dowStock->FormatTime(true), dowStock->Country(), dowStock->Name());
    InsertNewAlert(acme, acmeStock->Price(), acmeStock->FormatTime(true), acmeStock->Country(), acmeStock->Name());
}

// The character with a word balloon, over a plain desktop colour: its window and its balloon's,
// composed as they stand on the screen.
void GrabCharacter(CEngineWnd& engine)
{
    CCharacterManager* characters = engine.Characters();
    if (!characters) {
        Fail(u"no character"_s);
        return;
    }
    characters->Say(u"Acme Widgets is up 1.25, at 52.50."_s, QString(), true, false, true);
    QList<QWidget*> windows;
    auto balloonComplete = [&] {
        windows.clear();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            const char* name = widget->metaObject()->className();
            if (widget->isVisible() && (qstrcmp(name, "AgentWindow") == 0 || qstrcmp(name, "AgentBalloonWindow") == 0))
                windows.append(widget);
        }
        return windows.size() == 2;
    };
    if (!WaitFor(balloonComplete, 20000)) {
        Fail(u"the character and its balloon did not both appear"_s);
        return;
    }
    Settle(4000); // the words are revealed as they are spoken
    balloonComplete();

    QRect area;
    for (QWidget* window : windows)
        area |= window->frameGeometry();
    area.adjust(-16, -16, 16, 16);
    QImage picture(area.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(0x3b, 0x6e, 0x8f));
    QPainter painter(&picture);
    for (QWidget* window : windows)
        painter.drawImage(window->frameGeometry().topLeft() - area.topLeft(), window->grab().toImage());
    painter.end();
    Write(picture, u"character"_s);
}

class AlwaysConnected final : public IReachability
{
public:
    bool IsConnected() override { return true; }
};

// The web update dialog once it has found a newer version on the local update site (quotesim,
// built beside this program).
void GrabWebUpdate(QWidget& frame)
{
    QProcess site;
    site.start(QCoreApplication::applicationDirPath() + u"/quotesim"_s, {u"--port"_s, u"0"_s});
    QByteArray output;
    const bool listening =
        site.waitForStarted(5000) && WaitFor(
                                         [&] {
                                             output += site.readAllStandardOutput();
                                             return output.contains('\n') || site.state() == QProcess::NotRunning;
                                         },
                                         10000);
    const QByteArray port = output.startsWith("port ") ? output.mid(5).trimmed() : QByteArray();
    if (!listening || port.isEmpty()) {
        Fail(u"the local update site (quotesim) did not start"_s);
        return;
    }
    {
        AlwaysConnected online;
        CWebUpdateDlg dialog(u"http://127.0.0.1:"_s + QString::fromLatin1(port) + u"/update/version.txt"_s,
                             QCoreApplication::applicationDirPath() + u"/quorvane"_s, QString(), &online, &frame);
        dialog.show();
        if (!WaitFor([&] { return !dialog.IsBusy(); }, 20000))
            Fail(u"the update check did not end"_s);
        dialog.adjustSize(); // TEMP
        Grab(dialog, u"web-update"_s);
        dialog.reject();
    }
    site.kill();
    site.waitForFinished(5000);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    // Fresh folders: nothing of the user's is read or written, and no running Quorvane is asked.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + u"/config"_s));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + u"/data"_s));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "America/New_York");
    qputenv("LC_ALL", "C.UTF-8");
    QDir().mkpath(home.path() + u"/config/Brightwold"_s);

    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication::setApplicationName(u"Quorvane"_s);
    QApplication::setOrganizationName(u"Brightwold"_s);
    QApplication::setWindowIcon(CTrayIcon::ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    g_output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(g_output)) {
        std::fprintf(stderr, "screenshots: cannot create %s\n", argv[1]);
        return 1;
    }

    MessageBoxPresenter presenter;
    SetMessagePresenter(&presenter);
    WriteSettings();
    {
        CQuorvaneApp quorvane;
        if (!quorvane.InitInstance({u"quorvane"_s})) {
            std::fprintf(stderr, "screenshots: Quorvane did not start (is URL.ini beside this program?)\n");
            return 1;
        }
        CMainFrame& frame = *quorvane.MainFrame();
        CEngineWnd& engine = *frame.EngineWnd();
        if (!WaitFor([&] { return engine.IsStarted(); }, 30000))
            Fail(u"the engine did not start"_s);

        FillSampleData();
        for (int tab = 0; tab < engine.TabCount(); ++tab)
            engine.Page(tab)->Fill();
        frame.resize(720, 430);
        engine.SetStatusText(u"Updated: "_s + CEngine::StatusStamp(kQuoteTime));
        engine.SelectTab(0);
        Grab(frame, u"main-window"_s);
        engine.SelectTab(2);
        Grab(frame, u"alerts"_s);
        engine.SelectTab(0);
        frame.ShowStrip();
        if (CStockStrip* strip = frame.Strip())
            Grab(*strip, u"stock-strip"_s);
        else
            Fail(u"no Stock Strip"_s);
        frame.HideStrip();

        GrabDialog<CEditStockDlg>(engine, u"edit-stock"_s, [](CEditStockDlg& dialog) {
            dialog.name = u"Acme Widgets"_s;
            dialog.spokenName = u"Acme Widgets"_s;
            dialog.symbol = u"ACMW"_s;
            dialog.country = u"United States"_s;
        });
        GrabDialog<CEditRuleDlg>(engine, u"edit-rule"_s, [](CEditRuleDlg& dialog) {
            const CRule* rule = GetRule(0);
            dialog.stockName = rule->StockName();
            dialog.attribute = rule->Attribute();
            dialog.operatorText = rule->OperatorText();
            dialog.number = rule->Number();
            dialog.announcement = rule->Announcement();
        });
        GrabDialog<CEditAnnouncementsDlg>(engine, u"edit-announcements"_s,
                                          [](CEditAnnouncementsDlg& dialog) { dialog.presetName = u"Good news"_s; });
        {
            OptionsValues values = OptionsValues::FromSettings(GetSettings(), false, false);
            COptionsSheet sheet(values, engine.Characters(), &frame);
            sheet.show();
            sheet.SetActivePage(COptionsSheet::GeneralPage);
            Grab(sheet, u"options-general"_s);
            sheet.SetActivePage(COptionsSheet::CharacterPage);
            Grab(sheet, u"options-character"_s);
            sheet.reject();
        }
        {
            CAboutDialog about(&frame);
            Grab(about, u"about"_s);
        }
        GrabWebUpdate(frame);
        GrabCharacter(engine);
        engine.Characters()->StopCharacter();
        {
            CSetupWizard wizard(*engine.Characters(), &frame);
            wizard.show();
            wizard.next(); // the primary country
            Grab(wizard, u"setup-wizard"_s);
            wizard.reject();
        }
        engine.Characters()->StopCharacter();
        frame.CloseFrame();
    }
    SetMessagePresenter(nullptr);
    return g_failures == 0 ? 0 : 1;
}
