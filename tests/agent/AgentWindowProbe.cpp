// A small program for the X11 test of the character window: shows the real AgentWindow and its
// balloon and takes orders on standard input, one per line, answering on standard output:
//   show    "shown <character window id> <balloon window id>"   (both shown and exposed)
//   hide    "hidden"
//   new     "new"  the windows made again (the next show is their first), at (300, 300)
//   plain   "plain <window id>"  a tool window shown without the hints, then given them while on
//           the screen
//   quit

#include "AgentTestCharacter.h"
#include "support/ProbeOrders.h"

#include "agent/AgentBalloonWindow.h"
#include "agent/AgentWindow.h"
#include "agent/ToolWindowHints.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void Say(const QByteArray& line)
{
    ProbeOrders::Say(line);
}

QByteArray Id(QWidget& window)
{
    return "0x" + QByteArray::number(quint64(window.winId()), 16);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<AgentWindow> window;
    const auto make = [&window] {
        window = std::make_unique<AgentWindow>(MakeTestCharacter());
        window->MoveWindow(QPoint(300, 300));
        window->ShowBalloon(AgentBalloon{u"Prices are up."_s, false, 15}, 14);
    };
    make();
    std::unique_ptr<QWidget> plain;

    ProbeOrders orders([&](const QByteArray& order) {
        if (order == "show") {
            window->ShowWindow();
            const bool exposed =
                QTest::qWaitForWindowExposed(window.get()) && QTest::qWaitForWindowExposed(window->Balloon());
            Say(exposed ? "shown " + Id(*window) + ' ' + Id(*window->Balloon()) : "not shown");
        } else if (order == "hide") {
            window->HideWindow();
            Say("hidden");
        } else if (order == "new") {
            make();
            Say("new");
        } else if (order == "plain") {
            plain = std::make_unique<QWidget>(nullptr, Qt::Tool);
            plain->resize(60, 40);
            plain->show();
            if (!QTest::qWaitForWindowExposed(plain.get())) {
                Say("not shown");
                return;
            }
            CreateToolWindowHints()->KeepOffTaskbar(plain->windowHandle());
            Say("plain " + Id(*plain));
        } else if (order == "quit") {
            QCoreApplication::quit();
        }
    });
    return QApplication::exec();
}
