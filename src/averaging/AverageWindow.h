#pragma once

// The averaging window ("Average"): once a second it samples the level the main window's
// poll decoded last and, at the end of every interval, adds a record to the grid and a
// point to the strip chart. Its toolbar starts, pauses and stops the run, sets the
// interval, and saves, opens and prints the results (print preview and PDF too). The run
// itself is AverageRun; this window shows it and forwards its controls' events to it.

#include "averaging/AverageRun.h"
#include "ui/MeterWindow.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <utility>

class GridView;
class KeepInLibraryBox;
class QAction;
class QCheckBox;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;
class QToolBar;
struct AverageState;
struct FileState;

class AverageWindow : public MeterWindow {
    Q_OBJECT
public:
    // The main window's captions of the meter's settings, read when a run starts.
    struct MainCaptions {
        std::function<QString()> criterion;
        std::function<QString()> exchangeRate;
    };

    // `state` outlives the window: a run left by closing the window carries on numbering
    // when the window opens again.
    AverageWindow(Meter &meter, AverageState &state, FileState &files, Dialogs &dialogs,
                  MainCaptions captions, QWidget *parent = nullptr);
    ~AverageWindow() override;

    // toolbar_'s buttons, by their keys.
    void runToolbarCommand(AverageRun::Button button);
    // Opens an average file as Open does, without asking for it; false when Open is not
    // available now (a run goes on) or nothing could be read.
    bool openFile(const QString &path);

    // One tick of averagingTimer_ on the shared display fields.
    AverageRun::Tick tick();
    // The print menu's other entries.
    void previewReport();
    void exportPdf();

    QToolBar *toolbar_ = nullptr;
    QGroupBox *userFrame_ = nullptr;
    QGroupBox *dateFrame_ = nullptr;
    QGroupBox *meterFrame_ = nullptr;
    QGroupBox *measurementFrame_ = nullptr;
    QLabel *figureCaptions_[13] = {}; // figureCaptions_[1..12]; 9 captions the run's LAeq
    QLineEdit *jobEdit_ = nullptr;
    QLineEdit *nameEdit_ = nullptr;
    QLineEdit *idEdit_ = nullptr;
    QLabel *startDateValue_ = nullptr;
    QLabel *startTimeValue_ = nullptr;
    QLabel *intervalValue_ = nullptr;
    QLabel *criterionValue_ = nullptr;
    QLabel *exchangeRateValue_ = nullptr;
    QLabel *runTimeValue_ = nullptr;
    QLabel *splMaxValue_ = nullptr;
    QLabel *peakValue_ = nullptr;
    QLabel *laeqValue_ = nullptr;
    QCustomPlot *chart_ = nullptr;
    GridView *grid_ = nullptr;
    QCheckBox *laeqColumnBox_ = nullptr;
    QAction *previewAction_ = nullptr;
    QAction *pdfAction_ = nullptr;
    QTimer *averagingTimer_ = nullptr;

protected:
    void windowClosing() override;

private:
    void buildControls();
    QToolBar *buildToolbar();
    QGroupBox *buildUserFrame();
    // A frame of captioned figures: figureCaptions_[n] beside each value label.
    QGroupBox *figureFrame(const QString &title, const char *name,
                           const QList<std::pair<int, QLabel *>> &rows);
    QAction *button(AverageRun::Button button) const { return buttons_[size_t(button)]; }
    void showRun();
    void showChart();
    void appendPoint(double x, double y);
    void showLaeqColumn(bool shown);
    AvgFile::Document document() const;
    // The JOB, Name and ID boxes from an opened file.
    void showOpened(const std::optional<AvgFile::Content> &content);

    FileState &files_;
    MainCaptions captions_;
    AverageRun run_;
    std::array<QAction *, 7> buttons_{}; // by AverageRun::Button
    bool gridWasAtEnd_ = true;
    KeepInLibraryBox *keepInLibrary_ = nullptr;
};
