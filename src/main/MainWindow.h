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
class StoredSettings;
class LoggerWindow;
class SavedFileWindow;
class LibraryWindow;
class RecordListWindow;
struct AppState;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ControlPanel;

class MainWindow : public QMainWindow, public PollControl {
    Q_OBJECT
public:
    MainWindow(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load step: opens the port. On failure shows "No device available !" (or, when
    // the user may not open the port, how to get the permission) and returns false; the
    // caller ends the program.
    bool openPort();
    // One poll (pollTimer_, every 250 ms). A tick while the previous one waits is skipped.
    void pollMeter();

    // One tick of the sampler (samplingTimer_, every 100 ms): samples the level shown every
    // SampleTicks ticks into the recording and the list window.
    void takeSample();
    // The level shown live, or dimmed as the last one read when no display frame has come
    // for over Sampler::kStaleSeconds (the meter is gone or silent).
    void showLevelFreshness(bool fresh);
    Sampler &sampler() { return sampler_; }

    // The poll timer, for command sequences of other windows.
    void setPollEnabled(bool enabled) override;
    bool pollEnabled() const override { return pollTimer_.isActive(); }

    // The remote control panel, shown beside this window (as its menu entry does).
    void showControlPanel();
    // Runs the Display menu entry with this caption ("Graph"), as a click on it does.
    // False when there is no such entry or it is not available.
    bool openDisplayEntry(const QString &caption);
    ControlPanel *controlPanel() const;

    // The settings kept between runs (the program gives them; tests mostly run without):
    // the sample period, the Memory window's "Verify", each window's place.
    void useSettings(StoredSettings *settings);
    // `dosemeter FILE`: a .bnk in the Event window, an .avg in the Average window, a .dat
    // in the saved-file view; a file without one of these extensions by its first bytes.
    void openFile(const QString &path);

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
    QLabel *levelValue_, *levelUnit_, *minimumValue_, *maximumValue_;
    QLabel *responseValue_, *exchangeRateValue_, *criterionValue_, *thresholdValue_, *rangeValue_;
    QLabel *lastTimeValue_, *fileNameLabel_, *fileNameCaption_, *recordingMark_, *recordCountValue_,
        *samplePeriodValue_, *samplePeriodCaption_;
    QLabel *portStatus_, *resetLabel_, *resetHint_;
    QPushButton *memoryButton_, *averageButton_, *graphButton_, *eventButton_, *listButton_,
        *resetButton_, *samplePeriodButton_;
    QPushButton *readButton_, *writeButton_;
    QLineEdit *readAddress_, *readData_, *writeAddress_, *writeData_;
    QMenu *fileMenu_, *displayMenu_, *optionMenu_;
    QAction *openAction_, *startRecordingAction_, *stopRecordingAction_, *viewFileAction_,
        *exitAction_;
    QAction *listAction_, *graphAction_, *analogAction_, *digitalAction_, *controlPanelAction_,
        *eventsAction_, *averageAction_;
    QAction *twaAction_, *standardsAction_, *setModeAction_, *versionAction_;
    QTimer pollTimer_;
    QTimer samplingTimer_;

    // The measurement library (MainWindowLibrary.cpp), opened on first use: Library > "Connect...",
    // "Import files..." and "Measurements" (the library window).
    Library &library() { return library_; }
    QMenu *libraryMenu_ = nullptr;
    QAction *connectLibraryAction_ = nullptr;
    QAction *importFilesAction_ = nullptr;
    QAction *measurementsAction_ = nullptr;

    // Help (MainWindowHelp.cpp): "User Guide" (F1) and "About Dose Meter".
    QMenu *helpMenu_ = nullptr;
    QAction *userGuideAction_ = nullptr;
    QAction *aboutAction_ = nullptr;
    // The installed user guide (the README), else the documentation folder, else empty:
    // the first of `candidates` (folders that may hold README.md and docs/) that has one.
    static QString userGuidePath(const QStringList &candidates);
    // What "About Dose Meter" says: the version, the licence, the Qt and QCustomPlot versions.
    static QString aboutText();

    // The explanation shown by Option > TWA, with the formula of the meter's criterion level
    // and exchange rate in dB (90 dB and 5 dB while they are not known: 0).
    static QString twaExplanation(int criterionDb, int exchangeRateDb);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildHelp();
    void showUserGuide();
    void connectWindowEntries();
    // "Key locked!" when the meter's keys are locked; true when they are not.
    bool keysUnlocked();
    // False, with the program's message, while another command holds the meter.
    bool consoleMayRun();
    void resetMaxMin();
    void readRegister();
    void writeRegister();
    void explainTwa();
    void exitProgram();
    // Asks before quitting what quitting would end: a running recording, unsaved list rows.
    bool mayQuit();
    void showSettings();

    // Recording and sampling (PanelRecording.cpp).
    void buildRecording();
    void chooseRecordingFile();
    void startRecording();
    void stopRecording();
    void askSamplePeriod();
    // "File Name": the recording file's name, shortened in the middle to fit.
    void showFileName();
    // Every recording control's availability, from the sampler's state.
    void updateRecordingControls();
    void recordingEnded(const Sampler::Tick &tick, const QString &path);
    void closeList(RecordListWindow *list, Sampler::End why);
    void listOpened(RecordListWindow *list);
    // View File: the file to show, asked for unless a recording runs.
    bool chooseFileToView();
    void viewFile(SavedFileWindow *window);
    // The saved-file view's Plot, histogram and Statistics buttons open the analysis
    // windows on its records (PanelWindows.cpp).
    void connectAnalysis(SavedFileWindow *window);

    // The measurement library (MainWindowLibrary.cpp).
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
    // One exposure assessment of measurements chosen in the library window, from copies of
    // their files, with the spans the library keeps excluded; spans changed there are kept.
    void assessMeasurements(const QList<Measurement> &measurements, const QStringList &paths);

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
    StoredSettings *settings_ = nullptr;
    // The Memory window's "Verify" as it was left in the previous run, and kept when changed.
    void keepVerifyChoice(LoggerWindow *window);
};
