#include "app/CQuorvaneApp.h"

#include "app/CMainFrame.h"
#include "app/WidgetPlacement.h"
#include "app/WindowActivation.h"
#include "base/AppPaths.h"
#include "base/StartWithWindows.h"
#include "base/UserMessage.h"
#include "base/WindowPlacementStore.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

CQuorvaneApp* g_app = nullptr;

} // namespace

CEngineWnd* GetEngine()
{
    return g_app ? g_app->EngineWnd() : nullptr;
}

CQuorvaneApp::CQuorvaneApp(const EngineServices& services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
    g_app = this;
}

CQuorvaneApp::~CQuorvaneApp()
{
    if (g_app == this)
        g_app = nullptr;
    qApp->removeEventFilter(this);
    m_frame.reset();
    m_instance.reset();
}

CEngineWnd* CQuorvaneApp::EngineWnd() const
{
    return m_frame && !m_frame->IsClosed() ? m_frame->EngineWnd() : nullptr;
}

bool CQuorvaneApp::InitInstance(const QStringList& arguments)
{
    // One copy per user: a later start shows the running copy's window and ends, without touching
    // anything; a start while the first copy is still starting ends silently.
    m_instance = std::make_unique<SingleInstance>(InstanceName());
    if (m_instance->Claim() != SingleInstance::Start::First)
        return false;

    if (!QFileInfo(AppPaths::UrlIniFile()).isFile()) {
        ShowUserMessage(
            u"One of the main configuration files for Quorvane is missing.  Please re-install the program."_s,
            u"Quorva"_s, MessageIcon::Error);
        return false;
    }

    m_frame = std::make_unique<CMainFrame>(m_services);
    if (!m_frame->Create()) {
        m_frame.reset();
        return false;
    }

    const bool autostart = HasAutostartSwitch(arguments);
    if (!RestoreWidgetPlacement(WindowPlacementStore::MainWindowSection(), *m_frame,
                                autostart ? ShowCommand::Hide : ShowCommand::NoOverride)) {
        // Nothing saved, or saved off every screen: the default geometry, shown.
        m_frame->show();
    }
    m_frame->setWindowTitle(Title());

    qApp->installEventFilter(this);
    // The desktop session ends: the window keeps its place for the next session, and a quit that
    // did not come through Exit still closes in order.
    connect(qApp, &QGuiApplication::commitDataRequest, m_frame.get(), [this] {
        if (!m_frame->IsClosed())
            m_frame->SavePlacement();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, m_frame.get(), [this] {
        if (!m_frame->IsClosed())
            m_frame->CloseFrame();
    });
    connect(m_instance.get(), &SingleInstance::ActivateRequested, m_frame.get(), [this](const QString& token) {
        if (!m_frame->IsClosed())
            BringWindowToFront(*m_frame, token);
    });
    m_instance->Listen();

    // Asked to end by a signal: as if the desktop asked the application to quit (see eventFilter).
    m_signals = std::make_unique<TerminationSignals>();
    connect(m_signals.get(), &TerminationSignals::Received, this, [] { QCoreApplication::quit(); });
    return true;
}

void CQuorvaneApp::QuitRequested()
{
    // Menus and dialogs open now would hold Exit back: they go first, as if cancelled.
    for (int i = 0; i < 32 && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    for (int i = 0; i < 32; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
    m_frame->RequestExit();
}

bool CQuorvaneApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == QEvent::Quit && m_frame && !m_frame->IsClosed()) {
        // Quitting before the window has closed in order: Exit does that, then quits for good.
        event->ignore();
        QuitRequested();
        return true;
    }
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) && m_frame &&
        !m_frame->IsClosed() && m_frame->EngineWnd()) {
        // Alt and a letter: a button of the shown page takes it before the tool bar and the menus
        // (Alt+I is "D&isable" on the Stocks page and "H&ide" elsewhere). Claiming the override
        // keeps Qt from finding the letter ambiguous; the key press that follows clicks the button.
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->modifiers() == Qt::AltModifier && widget && widget->window() == m_frame.get()) {
            if (QAbstractButton* button = m_frame->EngineWnd()->PageMnemonicButton(key->keyCombination())) {
                if (event->type() == QEvent::ShortcutOverride) {
                    event->accept();
                } else {
                    button->setFocus(Qt::ShortcutFocusReason);
                    button->animateClick();
                }
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress && m_frame && !m_frame->IsClosed()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (tab && (key->modifiers() & Qt::ControlModifier) && widget && widget->window() == m_frame.get() &&
            m_frame->EngineWnd()) {
            const bool backwards = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            m_frame->EngineWnd()->SelectNextTab(backwards);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
