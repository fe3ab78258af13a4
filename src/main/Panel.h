#pragma once

// The main window: owns the meter link for the life of the program, polls the meter's
// display four times a second, shows the level, the settings, the maximum and the
// minimum, and opens every other window.

#include "library/Library.h"
#include "link/Meter.h"
#include "main/AnalysisWindows.h"
#include "main/LiveDisplay.h"
#include "main/Poller.h"
#include "main/RegisterConsole.h"
#include "main/Sampler.h"
#include "main/WindowManager.h"

#include <QList>
#include <QMainWindow>
#include <QTimer>

#include <functional>

class Dialogs;
class FileList;
class LibraryWindow;
class List;
struct AppState;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class SLmPanel;

class Panel : public QMainWindow, public PollControl {
    Q_OBJECT
public:
    Panel(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent = nullptr);
    ~Panel() override;

    // The load step: opens the port. On failure shows "No device available !" and
    // returns false; the caller ends the program.
    bool Form_Load();
    // One poll (Timer1, every 250 ms). A tick while the previous one waits is skipped.
    void Timer1_Timer();

    // One tick of the sampler (Timer3, every 100 ms): samples the level shown every
    // SampleTicks ticks into the recording and the list window.
    void Timer3_Timer();
    Sampler &sampler() { return sampler_; }

    // The poll timer, for command sequences of other windows.
    void setPollEnabled(bool enabled) override;
    bool pollEnabled() const override { return Timer1.isActive(); }

    // The remote control panel, shown beside this window (as its menu entry does).
    void showControlPanel();
    // Runs the Display menu entry with this caption ("Graph"), as a click on it does.
    // False when there is no such entry or it is not available.
    bool openDisplayEntry(const QString &caption);
    SLmPanel *controlPanel() const;

    Meter &meter() { return meter_; }
    WindowManager &windows() { return windows_; }

    // One command of this window that opens a window: the buttons and menu entries that
    // run it, the window, what runs before it opens (false stops the command) and what
    // runs on the window once it is open. A window that is not available yet has no
    // `create`, and its buttons and entries are disabled.
    struct WindowEntry {
        QList<QObject *> triggers;
        WindowManager::Spec spec;
        std::function<bool()> before = {};
        std::function<void(QWidget *)> after = {};
    };
    // The table of such commands (PanelWindows.cpp).
    QList<WindowEntry> windowEntries();
    // Runs one entry as its buttons and menu entries do.
    QWidget *runEntry(const WindowEntry &entry);

    // Controls, named as the program's documentation names them.
    QLabel *LblValue, *LblUnit, *LblMin, *LblMax;
    QLabel *LblTimeWeighting, *LblExchangeRate, *LblCriterion, *LblThreshold, *LblRange;
    QLabel *LblTime, *SSPanel22, *SSPanel3, *LblRecording, *LblCount, *LblSample, *LblPC;
    QLabel *LblCOM, *ResetLbl, *LblReset;
    QPushButton *CmdMemory, *CmdAvg, *CmdGraph, *CmdEvent, *cmdList, *CmdReset, *CmdSample;
    QPushButton *CmdRead, *CmdWrite;
    QLineEdit *TxtRAdd, *TxtRData, *TxtWAdd, *TxtWData;
    QMenu *MnuFile, *MnuDisplay, *MnuOption;
    QAction *MnuOpen, *MnuStartRec, *MnuStopRec, *MnuView, *MnuExit;
    QAction *MnuList, *MnuGraph, *MnuAnalog, *MnuDigital, *MnuPanel, *MnuEvents, *MnuJob;
    QAction *MnuTwa, *MnuOnes, *MnuSetmode, *MnuVersion;
    QTimer Timer1;
    QTimer Timer3;

    // The measurement library (PanelLibrary.cpp), opened on first use: Library > "Connect...",
    // "Import files..." and "Measurements" (the library window).
    Library &library() { return library_; }
    QMenu *libraryMenu_ = nullptr;
    QAction *connectLibraryAction_ = nullptr;
    QAction *importFilesAction_ = nullptr;
    QAction *measurementsAction_ = nullptr;

    // The explanation shown by Option > TWA.
    static QString twaExplanation();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectWindowEntries();
    // "Key locked!" when the meter's keys are locked; true when they are not.
    bool keysUnlocked();
    // False, with the program's message, while another command holds the meter.
    bool consoleMayRun();
    void CmdReset_Click();
    void CmdRead_Click();
    void CmdWrite_Click();
    void MnuTwa_Click();
    void MnuExit_Click();
    void showSettings();

    // Recording and sampling (PanelRecording.cpp).
    void buildRecording();
    void MnuOpen_Click();
    void MnuStartRec_Click();
    void MnuStopRec_Click();
    void CmdSample_Click();
    void LblPC_Click();
    void changeSamplePeriod(bool portuguese);
    // "File Name": the recording file's name, shortened in the middle to fit.
    void showFileName();
    // Every recording control's availability, from the sampler's state.
    void updateRecordingControls();
    void recordingEnded(const Sampler::Tick &tick, const QString &path);
    void closeList(List *list, Sampler::End why);
    void listOpened(List *list);
    // View File: the file to show, asked for unless a recording runs.
    bool chooseFileToView();
    void viewFile(FileList *window);
    // The saved-file view's Plot, histogram and Statistics buttons open the analysis
    // windows on its records (PanelWindows.cpp).
    void connectAnalysis(FileList *window);

    // The measurement library (PanelLibrary.cpp).
    void buildLibrary();
    // Opens the library unless it is open; empty when open, else why not.
    QString openLibrary();
    // The same, saying why when it cannot. True when open.
    bool libraryReady();
    void connectLibrary();
    // Stores a file a window saved (kind: the library's name of what it holds), or the
    // recording just ended; says so in the status bar, and why when it cannot.
    void keepInLibrary(const QString &path, const QString &kind, const QString &meter);
    void libraryWindowOpened(LibraryWindow *window);
    // Shows a measurement's file in the window its kind opens in.
    void openMeasurement(const Measurement &measurement, const QString &path);

    Meter &meter_;
    AppState &state_;
    Dialogs &dialogs_;
    Poller poller_;
    RegisterConsole console_;
    MaxMin maxMin_;
    Sampler sampler_;
    double lastFrameSeconds_ = -1e9; // monotonic time of the last decoded display frame
    bool startingRecording_ = false;
    QString viewPath_;
    QString fileNameShown_;
    WindowManager windows_;
    AnalysisWindows analysis_;
    bool closing_ = false;
    bool consoleBusy_ = false; // a register read or write is inside its wait
    Library library_;
};
