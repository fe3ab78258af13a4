// The main window's commands that open windows, one entry each. A new window joins with
// one entry here (and one line in the every-window test).

#include "main/Panel.h"

#include "data/FileList.h"
#include "data/List.h"
#include "data/Memory.h"
#include "main/AppState.h"
#include "main/SLmPanel.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

QList<Panel::WindowEntry> Panel::windowEntries()
{
    using Placement = WindowManager::Placement;
    using Dba = WindowManager::Dba;
    WindowFlags &flags = state_.windows;
    // Windows this version does not have yet: no `create`, so their commands stay disabled.
    const std::function<QWidget *()> notYet;

    const WindowManager::Spec event{"FrmEvent", notYet};
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
         {"RealTimeSLM", notYet, Placement::BesideMain, Dba::Prompt, &flags.GraphWindowOpen}},
        {{MnuAnalog},
         {"Analog", notYet, Placement::BesideMain, Dba::Prompt, &flags.AnalogWindowOpen}},
        {{MnuDigital},
         {"Digital", notYet, Placement::BesideMain, Dba::Prompt, &flags.DigitalWindowOpen}},
        {{CmdAvg, MnuJob},
         {"Average", notYet, Placement::BesideMain, Dba::Select, &flags.AverageWindowOpen}},
        {{MnuPanel},
         {"SLmPanel",
          [this] { return new SLmPanel(meter_, dialogs_, [this] { return LblValue->text(); }); }}},
        {{MnuOnes}, {"Standard", notYet}},
        {{MnuSetmode}, {"Setup", notYet}},
    };
}

void Panel::showControlPanel()
{
    MnuPanel->trigger();
}

SLmPanel *Panel::controlPanel() const
{
    return windows_.window<SLmPanel>(QStringLiteral("SLmPanel"));
}
