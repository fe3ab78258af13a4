#pragma once

// The saved-file view ("Saved File"): a data file read back, its records in a grid in file
// order and its three note lines. From it the records are printed, and the analysis
// windows are asked for: the plot of the levels ("Plot"), a level histogram at 0.1 dB or
// 1 dB ("Ln", then a resolution) and the exposure statistics ("Statistics"). Those
// windows read the records from here, so this window stays open while they are shown.
// Until the analysis windows are connected (setAnalysisEnabled) their buttons are disabled.

#include "ui/MeterWindow.h"

#include <QStringList>

class GridView;
class NoteBoxes;
class QAction;
class QFrame;
class QGroupBox;
class QPushButton;
class QToolBar;
class RecordGrid;
class RecordTable;

class SavedFileWindow : public MeterWindow {
    Q_OBJECT
public:
    explicit SavedFileWindow(Meter &meter, Dialogs &dialogs, QWidget *parent = nullptr);

    // Reads a data file (either form) into the grid and the notes. While it reads, the
    // caption shows the records read so far; then the file's name. A file that could not
    // be read at all gives a message and false; one read only in part shows what was read
    // and says so.
    bool load(const QString &path);

    // The grid's records, in file order.
    const RecordTable &records() const;
    RecordGrid &grid() { return *recordGrid_; }
    QStringList notes() const;

    // Enables "Plot", "Ln" (and the two resolutions) and "Statistics".
    void setAnalysisEnabled(bool enabled);

    // Toolbar buttons by key: "Plot", "Ln", "Statistics", "Print", "Preview".
    void runToolbarCommand(const QString &key);
    void histogramTenthDb();
    void histogramWholeDb();

signals:
    void plotRequested();
    // 0: 0.1 dB bins, 1: 1 dB bins. resolutionPanel_ is hidden again after it returns.
    void histogramRequested(int resolution);
    void statisticsRequested();

private:
    void buildControls();
    void histogram(int resolution);

    RecordGrid *recordGrid_ = nullptr;
    bool analysisEnabled_ = false;

    QToolBar *toolbar_ = nullptr;
    QAction *plot_ = nullptr;
    QAction *ln_ = nullptr;
    QAction *statistics_ = nullptr;
    QFrame *resolutionPanel_ = nullptr;
    QGroupBox *resolutionFrame_ = nullptr;
    QPushButton *tenthDbButton_ = nullptr;
    QPushButton *wholeDbButton_ = nullptr;
    GridView *grid_ = nullptr;
    NoteBoxes *notes_ = nullptr;
};
