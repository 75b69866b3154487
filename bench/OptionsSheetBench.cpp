// Opening the Options sheet with Pennywit loaded and shown, beside a plain QTabWidget with six pages
// holding as many widgets as the sheet's pages do, each dialog shown and painted, in one run:
//   - BM_OptionsSheet: the sheet opened on its first page (what the user waits for);
//   - BM_PlainTabs: six pages of bare QWidgets (nothing to draw: the floor), at the sheet's own size;
//   - BM_StandardControlTabs: six pages of the standard Qt controls of the sheet's kinds and texts,
//     built all at once and without the sheet's bindings, lists and character;
//   - the *EveryPage variants show every page once, so that the Broadcast page's gesture lists (from
//     the loaded character, never from its file) and the Character page's file list are filled.
// The target: the sheet within twice the plain tabs. Read the CPU column: the machine's other work
// shows in the wall times.
//   scripts/build test --target bench_options_sheet && build/test/bench/bench_options_sheet
// Without a display it runs on Qt's offscreen platform; its options and data go to a temporary folder.

#include "agent/DesktopAgentControl.h"
#include "agent/IAgentCharacter.h"
#include "base/CSettings.h"
#include "speech/CCharacterManager.h"
#include "ui/CIconDialog.h"
#include "ui/options/COptionsPage.h"
#include "ui/options/COptionsSheet.h"
#include "ui/options/OptionsValues.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <array>
#include <memory>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// Pennywit, loaded from the build tree's characters folder and shown, for the whole run.
struct LoadedCharacter
{
    std::unique_ptr<IAgentControl> control = CreateDesktopAgentControl();
    CCharacterManager manager{*control};
    bool loaded = false;

    LoadedCharacter()
    {
        GetSettings().SetDefaults(false);
        loaded = manager.LoadCharacter() && manager.Character() != nullptr;
        if (loaded)
            manager.ShowCharacter(true);
        QCoreApplication::processEvents();
    }
};

LoadedCharacter& Character()
{
    static LoadedCharacter character;
    return character;
}

// What each page of the sheet holds: the kind and text of every control (the parts that a spin
// box or a list makes for itself left out).
struct ControlKind
{
    QByteArray kind;
    QString text;
};
using PageKinds = std::array<QList<ControlKind>, COptionsSheet::PageCount>;

const PageKinds& SheetControls()
{
    static const PageKinds kinds = [] {
        PageKinds result;
        OptionsValues values = OptionsValues::FromSettings(GetSettings(), false, false);
        COptionsSheet sheet(values, &Character().manager);
        for (int page = 0; page < COptionsSheet::PageCount; ++page) {
            sheet.SetActivePage(page); // a page makes its controls when it is first shown
            for (QWidget* widget : sheet.Page(page)->findChildren<QWidget*>()) {
                if (qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) ||
                    qobject_cast<QComboBox*>(widget->parentWidget()))
                    continue;
                QString text;
                if (auto* label = qobject_cast<QLabel*>(widget))
                    text = label->text();
                else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    text = button->text();
                else if (auto* group = qobject_cast<QGroupBox*>(widget))
                    text = group->title();
                const QMetaObject* meta = widget->metaObject();
                while (meta->className()[0] != 'Q')
                    meta = meta->superClass(); // the Qt class our control derives from
                result[size_t(page)].append({QByteArray(meta->className()), text});
            }
        }
        return result;
    }();
    return kinds;
}

// The size the sheet opens at: the plain tabs are shown at it too, so that both paint the same area.
QSize SheetSize()
{
    static const QSize size = [] {
        OptionsValues values = OptionsValues::FromSettings(GetSettings(), false, false);
        COptionsSheet sheet(values, &Character().manager);
        sheet.show();
        QCoreApplication::processEvents();
        return sheet.size();
    }();
    return size;
}

// The standard Qt control of that kind, with the same text.
QWidget* StandardControl(const ControlKind& control, QWidget* parent)
{
    const QByteArray& kind = control.kind;
    if (kind == "QGroupBox")
        return new QGroupBox(control.text, parent);
    if (kind == "QCheckBox")
        return new QCheckBox(control.text, parent);
    if (kind == "QRadioButton")
        return new QRadioButton(control.text, parent);
    if (kind == "QPushButton")
        return new QPushButton(control.text, parent);
    if (kind == "QLabel")
        return new QLabel(control.text, parent);
    if (kind == "QComboBox") {
        auto* list = new QComboBox(parent);
        list->addItems({u"One"_s, u"Two"_s, u"Three"_s});
        return list;
    }
    if (kind == "QLineEdit")
        return new QLineEdit(u"Text"_s, parent);
    if (kind == "QPlainTextEdit")
        return new QPlainTextEdit(u"Text"_s, parent);
    if (kind == "QAbstractSpinBox")
        return new QSpinBox(parent);
    if (kind == "QSlider")
        return new QSlider(Qt::Horizontal, parent);
    return new QWidget(parent);
}

// Shows the window and paints all of it once.
void ShowAndPaint(QWidget& window)
{
    window.show();
    benchmark::DoNotOptimize(window.grab());
    QCoreApplication::processEvents();
}

void RunSheet(benchmark::State& state, bool everyPage)
{
    if (!Character().loaded) {
        state.SkipWithError("Pennywit did not load (build the quorvane target first)");
        return;
    }
    for (auto _ : state) {
        OptionsValues values = OptionsValues::FromSettings(GetSettings(), false, false);
        COptionsSheet sheet(values, &Character().manager);
        ShowAndPaint(sheet);
        if (everyPage) {
            for (int page = 1; page < COptionsSheet::PageCount; ++page) {
                sheet.SetActivePage(page);
                benchmark::DoNotOptimize(sheet.grab());
            }
            sheet.SetActivePage(0);
        }
        sheet.reject();
    }
}

// standard: each page holds standard Qt controls of the sheet's kinds and texts; otherwise as many
// bare QWidgets.
void RunPlainTabs(benchmark::State& state, bool everyPage, bool standard)
{
    const PageKinds& kinds = SheetControls();
    const QSize size = SheetSize();
    int widgets = 0;
    for (auto _ : state) {
        QDialog dialog;
        auto* tabs = new QTabWidget(&dialog);
        widgets = 0;
        for (int page = 0; page < COptionsSheet::PageCount; ++page) {
            auto* content = new QWidget(tabs);
            auto* layout = new QVBoxLayout(content);
            for (const ControlKind& control : kinds[size_t(page)])
                layout->addWidget(standard ? StandardControl(control, content) : new QWidget(content));
            widgets += int(kinds[size_t(page)].size());
            tabs->addTab(content, u"Page %1"_s.arg(page));
        }
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(tabs);
        layout->addWidget(buttons);
        if (!standard)
            dialog.resize(size);
        ShowAndPaint(dialog);
        if (everyPage) {
            for (int page = 1; page < COptionsSheet::PageCount; ++page) {
                tabs->setCurrentIndex(page);
                benchmark::DoNotOptimize(dialog.grab());
            }
            tabs->setCurrentIndex(0);
        }
        dialog.reject();
    }
    state.counters["widgets"] = widgets;
}

void BM_OptionsSheet(benchmark::State& state)
{
    RunSheet(state, false);
}
BENCHMARK(BM_OptionsSheet)->Unit(benchmark::kMillisecond);

void BM_PlainTabs(benchmark::State& state)
{
    RunPlainTabs(state, false, false);
}
BENCHMARK(BM_PlainTabs)->Unit(benchmark::kMillisecond);

void BM_StandardControlTabs(benchmark::State& state)
{
    RunPlainTabs(state, false, true);
}
BENCHMARK(BM_StandardControlTabs)->Unit(benchmark::kMillisecond);

void BM_OptionsSheetEveryPage(benchmark::State& state)
{
    RunSheet(state, true);
}
BENCHMARK(BM_OptionsSheetEveryPage)->Unit(benchmark::kMillisecond);

void BM_PlainTabsEveryPage(benchmark::State& state)
{
    RunPlainTabs(state, true, false);
}
BENCHMARK(BM_PlainTabsEveryPage)->Unit(benchmark::kMillisecond);

void BM_StandardControlTabsEveryPage(benchmark::State& state)
{
    RunPlainTabs(state, true, true);
}
BENCHMARK(BM_StandardControlTabsEveryPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Options of the run's own: nothing of the user's is read or written.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + u"/config"_s).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + u"/data"_s).toUtf8());
    QApplication app(argc, argv);
    QApplication::setWindowIcon(CIconDialog::ProgramIcon()); // as the program does at start
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
