// The main window's commands that open windows, one entry each. A new window joins with
// one entry here (and one line in the every-window test).

#include "main/MainWindow.h"

#include "analysis/HistogramWindow.h"
#include "analysis/PlotWindow.h"
#include "analysis/StatisticsWindow.h"
#include "averaging/AverageWindow.h"
#include "banks/BankWindow.h"
#include "config/SetupWindow.h"
#include "config/StandardsWindow.h"
#include "data/LoggerWindow.h"
#include "data/RecordListWindow.h"
#include "data/SavedFileWindow.h"
#include "library/LibraryWindow.h"
#include "main/AppState.h"
#include "main/ControlPanel.h"
#include "realtime/AnalogWindow.h"
#include "realtime/DigitalWindow.h"
#include "realtime/RealTimeGraph.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

QList<MainWindow::WindowEntry> MainWindow::windowEntries()
{
    using Placement = WindowManager::Placement;
    using Dba = WindowManager::Dba;
    WindowFlags &flags = state_.windows;
    // Windows this version does not have yet: no `create`, so their commands stay disabled.
    const std::function<QWidget *()> notYet;

    const WindowManager::Spec event{
        "BankWindow", [this] { return new BankWindow(meter_, state_.banks, dialogs_); }};
    const auto levelText = [this] { return levelValue_->text(); };
    return {
        {{memoryButton_},
         {"LoggerWindow",
          [this] {
              auto *window = new LoggerWindow(meter_, state_.logger, state_.files, dialogs_);
              keepVerifyChoice(window);
              return window;
          }},
         {},
         [](QWidget *window) { static_cast<LoggerWindow *>(window)->download(); }},
        {{eventButton_}, event, [this] { return keysUnlocked(); }, {}},
        {{eventsAction_}, event, {}, {}},
        {{listButton_, listAction_},
         {"RecordListWindow",
          [this] { return new RecordListWindow(meter_, state_.files, dialogs_); },
          Placement::BesideMain, Dba::Prompt, &flags.ListWindowOpen},
         {},
         [this](QWidget *window) { listOpened(static_cast<RecordListWindow *>(window)); }},
        {{viewFileAction_},
         {"SavedFileWindow", [this] { return new SavedFileWindow(meter_, dialogs_); },
          Placement::BesideMain, Dba::Any, nullptr, true},
         [this] { return chooseFileToView(); },
         [this](QWidget *window) { viewFile(static_cast<SavedFileWindow *>(window)); }},
        {{graphButton_, graphAction_},
         {"RealTimeGraph", [=, this] { return new RealTimeGraph(meter_, dialogs_, levelText); },
          Placement::BesideMain, Dba::Prompt, &flags.GraphWindowOpen}},
        {{analogAction_},
         {"AnalogWindow", [this] { return new AnalogWindow(meter_, dialogs_); },
          Placement::BesideMain, Dba::Prompt, &flags.AnalogWindowOpen}},
        {{digitalAction_},
         {"DigitalWindow", [=, this] { return new DigitalWindow(meter_, dialogs_, levelText); },
          Placement::BesideMain, Dba::Prompt, &flags.DigitalWindowOpen}},
        {{averageButton_, averageAction_},
         {"AverageWindow",
          [this] {
              return new AverageWindow(meter_, state_.average, state_.files, dialogs_,
                                       {[this] { return criterionValue_->text(); },
                                        [this] { return exchangeRateValue_->text(); }});
          },
          Placement::BesideMain, Dba::Select, &flags.AverageWindowOpen}},
        {{controlPanelAction_},
         {"ControlPanel",
          [this] {
              return new ControlPanel(meter_, dialogs_, [this] { return levelValue_->text(); });
          }}},
        {{standardsAction_},
         {"StandardsWindow", [this] { return new StandardsWindow(meter_, dialogs_); }}},
        {{measurementsAction_},
         {"LibraryWindow", [this] { return new LibraryWindow(meter_, library_, dialogs_); }},
         [this] { return libraryReady(); },
         [this](QWidget *window) { libraryWindowOpened(static_cast<LibraryWindow *>(window)); }},
        {{setModeAction_},
         {"SetupWindow",
          [this] {
              return new SetupWindow(meter_, dialogs_, [this] { return thresholdValue_->text(); });
          }}},
    };
}

void MainWindow::connectAnalysis(SavedFileWindow *window)
{
    const AnalysisWindows::Records records = AnalysisWindows::recordsOf(window, window->records());
    // The prints of the analysis windows name the file they show.
    const auto named = [window](MeterWindow *opened) {
        if (opened)
            opened->setSourceName(window->windowTitle());
    };
    connect(window, &SavedFileWindow::plotRequested, this,
            [this, records, named] { named(analysis_.openPlot(records)); });
    connect(window, &SavedFileWindow::histogramRequested, this,
            [this, records, named](int resolution) {
                named(analysis_.openHistogram(resolution, records));
            });
    connect(window, &SavedFileWindow::statisticsRequested, this,
            [this, records, named] { named(analysis_.openStatistics(records)); });
    connect(window, &SavedFileWindow::assessmentRequested, this, [this, records, window] {
        analysis_.openAssessment(records, window->windowTitle(), window->notes());
    });
    window->setAnalysisEnabled(true);
}

void MainWindow::showControlPanel()
{
    controlPanelAction_->trigger();
}

bool MainWindow::openDisplayEntry(const QString &caption)
{
    for (QAction *entry : displayMenu_->actions()) {
        if (!entry->isSeparator() && entry->isEnabled() &&
            (entry->text().compare(caption, Qt::CaseInsensitive) == 0 ||
             entry->property("sourceText").toString().compare(caption, Qt::CaseInsensitive) == 0)) {
            entry->trigger();
            return true;
        }
    }
    return false;
}

ControlPanel *MainWindow::controlPanel() const
{
    return windows_.window<ControlPanel>(QStringLiteral("ControlPanel"));
}
