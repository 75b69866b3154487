#pragma once

#include "app/CEngineWnd.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class SingleInstance;
class TerminationSignals;

// The program itself: it allows one running copy per user, checks that the market configuration is
// installed, builds the main window, restores its placement (hidden when the session started the
// program with -AUTOSTART) and lets later starts bring the window back. Once it runs, a request to
// quit (the desktop's, or SIGTERM, SIGINT or SIGHUP) ends the program through Exit, as the menu
// does: the update stopped, the placement saved, the tray icon removed. Made after the
// QApplication, before its event loop runs:
//
//   CQuorvaneApp quorvane;
//   if (!quorvane.InitInstance(QCoreApplication::arguments()))
//       return 0;
//   QObject::connect(quorvane.MainFrame(), &CMainFrame::Closed, qApp, &QCoreApplication::quit);
//   return app.exec();
class CQuorvaneApp final : public QObject
{
    Q_OBJECT

public:
    // The base name of the single-instance lock and socket in the user's runtime folder.
    static QString InstanceName() { return QStringLiteral("quorvane"); }
    // The window title.
    static QString Title() { return QStringLiteral("Quorvane 3.0"); }

    explicit CQuorvaneApp(const EngineServices& services = {}, QObject* parent = nullptr);
    ~CQuorvaneApp() override;

    // The start-up, in order. False when the program is to end at once: another copy runs (it was
    // asked to show its window) or is still starting, the configuration file is missing (the user
    // was told), or the main window could not be built (the user was told why). arguments: the
    // command line, the program name first (QCoreApplication::arguments()).
    bool InitInstance(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CEngineWnd* EngineWnd() const;

protected:
    // Ctrl+Tab and Ctrl+Shift+Tab in the main window: the next or previous tab. A request to quit the
    // application (the desktop's, or a termination signal's) becomes Exit.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void QuitRequested();

    EngineServices m_services;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<TerminationSignals> m_signals;
};

// The running program's engine window (nullptr before start-up and after the main window is gone).
CEngineWnd* GetEngine();
