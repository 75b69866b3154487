// The main of every test executable: an application object, a pinned locale, the recording message
// presenter (in Quorvane's own tests), and temporary XDG folders for the whole run (tests that need a fresh folder make
// their own TestEnvironment).

#include "support/TestEnvironment.h"

#ifdef QUORVANE_TEST_MESSAGES
#include "support/RecordingMessagePresenter.h"
#endif

#include <QLocale>

#ifdef QUORVANE_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    TestEnvironment environment;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
#ifdef QUORVANE_TEST_MESSAGES
    SetMessagePresenter(&RecordingMessagePresenter::Instance());
#endif
    const int result = RUN_ALL_TESTS();
#ifdef QUORVANE_TEST_MESSAGES
    SetMessagePresenter(nullptr);
#endif
    return result;
}
