// A small program for the X11 test of the Stock Strip: shows the real strip with a few stocks and
// takes orders on standard input, one per line, answering on standard output:
//   show          "shown <window id> <height>"   (shown and exposed)
//   top, bottom   "docked"                        (docked at that edge, the slide over)
//   panel <N>     "panel <window id>"             another program's bar, N pixels at the bottom
//   hide          "hidden"                        (the strip deleted)
//   quit

#include "support/ProbeOrders.h"

#include "base/CSettings.h"
#include "market/StockList.h"
#include "platform/ScreenEdgeDock.h"
#include "ui/strip/CStockStrip.h"
#include "ui/strip/IStripCommands.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class NoCommands final : public IStripCommands
{
public:
    void PostStripCommand(int) override {}
    bool IsStripCommandEnabled(int) const override { return true; }
};

QByteArray Id(const QWidget& window)
{
    return "0x" + QByteArray::number(quint64(window.winId()), 16);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    for (const QString& name : {u"Acme"_s, u"Globex"_s, u"Initech"_s})
        StockList::Add(name, name, name.left(3).toUpper(), u"United States"_s);
    NoCommands commands;
    std::unique_ptr<CStockStrip> strip;
    std::unique_ptr<QWidget> panel;
    std::unique_ptr<IScreenEdgeDock> panelDock;

    ProbeOrders orders([&](const QByteArray& order) {
        if (order == "show") {
            strip = std::make_unique<CStockStrip>(commands);
            strip->Create();
            ProbeOrders::Say(QTest::qWaitForWindowExposed(strip.get())
                                 ? "shown " + Id(*strip) + ' ' + QByteArray::number(strip->height())
                                 : "not shown");
        } else if (order == "top" || order == "bottom") {
            GetSettings().location = order == "top" ? 0 : 1;
            strip->DockAtLocation();
            ProbeOrders::Say(QTest::qWaitFor([&] { return !strip->IsSliding(); }, 5000) ? "docked" : "sliding");
        } else if (order.startsWith("panel ")) {
            const int size = order.mid(6).toInt();
            panel = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
            panelDock = CreateScreenEdgeDock();
            panel->winId();
            panelDock->PrepareWindow(*panel->windowHandle());
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            const QRect band(screen.left(), screen.bottom() + 1 - size, screen.width(), size);
            panel->setGeometry(band);
            panelDock->ReserveBand(*panel->windowHandle(), IScreenEdgeDock::Edge::Bottom, band);
            panel->show();
            ProbeOrders::Say(QTest::qWaitForWindowExposed(panel.get()) ? "panel " + Id(*panel) : "not shown");
        } else if (order == "hide") {
            strip.reset();
            ProbeOrders::Say("hidden");
        } else if (order == "quit") {
            QCoreApplication::quit();
        }
    });
    return QApplication::exec();
}
