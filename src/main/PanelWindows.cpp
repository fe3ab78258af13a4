// The main window's commands that open windows, one entry each. A new window joins with
// one entry here (and one line in the every-window test).

#include "main/Panel.h"

#include "averaging/Average.h"
#include "banks/FrmEvent.h"
#include "config/Setup.h"
#include "config/Standard.h"
#include "data/FileList.h"
#include "data/List.h"
#include "data/Memory.h"
#include "library/LibraryWindow.h"
#include "main/AppState.h"
#include "main/SLmPanel.h"
#include "realtime/Analog.h"
#include "realtime/Digital.h"
#include "realtime/RealTimeSLM.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

QList<Panel::WindowEntry> Panel::windowEntries()
{
    using Placement = WindowManager::Placement;
    using Dba = WindowManager::Dba;
    WindowFlags &flags = state_.windows;
    // Windows this version does not have yet: no `create`, so their commands stay disabled.
    const std::function<QWidget *()> notYet;

    const WindowManager::Spec event{
        "FrmEvent", [this] { return new FrmEvent(meter_, state_.banks, dialogs_); }};
    const auto levelText = [this] { return LblValue->text(); };
    return {
        {{CmdMemory},
         {"Memory", [this] { return new Memory(meter_, state_.logger, state_.files, dialogs_); }},
         {},
         [](QWidget *window) { static_cast<Memory *>(window)->download(); }},
        {{CmdEvent}, event, [this] { return keysUnlocked(); }, {}},
        {{MnuEvents}, event, {}, {}},
        {{cmdList, MnuList},
         {"List", [this] { return new List(meter_, state_.files, dialogs_); },
          Placement::BesideMain, Dba::Prompt, &flags.ListWindowOpen},
         {},
         [this](QWidget *window) { listOpened(static_cast<List *>(window)); }},
        {{MnuView},
         {"FileList", [this] { return new FileList(meter_, dialogs_); }, Placement::BesideMain,
          Dba::Any, nullptr, true},
         [this] { return chooseFileToView(); },
         [this](QWidget *window) { viewFile(static_cast<FileList *>(window)); }},
        {{CmdGraph, MnuGraph},
         {"RealTimeSLM", [=, this] { return new RealTimeSLM(meter_, dialogs_, levelText); },
          Placement::BesideMain, Dba::Prompt, &flags.GraphWindowOpen}},
        {{MnuAnalog},
         {"Analog", [this] { return new Analog(meter_, dialogs_); }, Placement::BesideMain,
          Dba::Prompt, &flags.AnalogWindowOpen}},
        {{MnuDigital},
         {"Digital", [=, this] { return new Digital(meter_, dialogs_, levelText); },
          Placement::BesideMain, Dba::Prompt, &flags.DigitalWindowOpen}},
        {{CmdAvg, MnuJob},
         {"Average",
          [this] {
              return new Average(meter_, state_.average, state_.files, dialogs_,
                                 {[this] { return LblCriterion->text(); },
                                  [this] { return LblExchangeRate->text(); }});
          },
          Placement::BesideMain, Dba::Select, &flags.AverageWindowOpen}},
        {{MnuPanel},
         {"SLmPanel",
          [this] { return new SLmPanel(meter_, dialogs_, [this] { return LblValue->text(); }); }}},
        {{MnuOnes}, {"Standard", [this] { return new Standard(meter_, dialogs_); }}},
        {{measurementsAction_},
         {"LibraryWindow", [this] { return new LibraryWindow(meter_, library_, dialogs_); }},
         [this] { return libraryReady(); },
         [this](QWidget *window) { libraryWindowOpened(static_cast<LibraryWindow *>(window)); }},
        {{MnuSetmode},
         {"Setup",
          [this] { return new Setup(meter_, dialogs_, [this] { return LblThreshold->text(); }); }}},
    };
}

void Panel::connectAnalysis(FileList *window)
{
    const AnalysisWindows::Records records = AnalysisWindows::recordsOf(window, window->records());
    connect(window, &FileList::plotRequested, this,
            [this, records] { analysis_.openPlot(records); });
    connect(window, &FileList::histogramRequested, this,
            [this, records](int resolution) { analysis_.openHistogram(resolution, records); });
    connect(window, &FileList::statisticsRequested, this,
            [this, records] { analysis_.openStatistics(records); });
    window->setAnalysisEnabled(true);
}

void Panel::showControlPanel()
{
    MnuPanel->trigger();
}

bool Panel::openDisplayEntry(const QString &caption)
{
    for (QAction *entry : MnuDisplay->actions()) {
        if (!entry->isSeparator() && entry->isEnabled() &&
            entry->text().compare(caption, Qt::CaseInsensitive) == 0) {
            entry->trigger();
            return true;
        }
    }
    return false;
}

SLmPanel *Panel::controlPanel() const
{
    return windows_.window<SLmPanel>(QStringLiteral("SLmPanel"));
}
