#pragma once

// The record list (" List"): the levels the main window samples, one row per sample as it
// is taken, with three note lines; the rows can be saved as a data file and printed. The
// main window's sampler appends the rows and closes the window at 86,400 rows or when the
// meter's display leaves dBA mode. Closing discards the rows; a saved file keeps them, and
// a user who closes the list with rows not saved is offered to save them first.

#include "ui/MeterWindow.h"

#include <QStringList>

class GridView;
class KeepInLibraryBox;
class NoteBoxes;
class QAction;
class QToolBar;
class RecordGrid;
class RecordTable;
struct FileState;

class RecordListWindow : public MeterWindow {
    Q_OBJECT
public:
    RecordListWindow(Meter &meter, FileState &files, Dialogs &dialogs, QWidget *parent = nullptr);

    // One sampled row: number, date, time, level. The newest row becomes current, and the
    // list follows it unless the user has scrolled back to read older rows.
    void appendRecord(const QStringList &cells);

    RecordGrid &grid() { return *recordGrid_; }
    const RecordTable &records() const;
    QStringList notes() const;
    // Rows have come since the list was last saved.
    bool hasUnsavedRows() const { return unsaved_; }

    // Save is refused while a recording runs; its button shows so.
    void setRecordingActive(bool active);

    // Toolbar buttons by key: "Save", "Print", "Preview".
    void runToolbarCommand(const QString &key);

    // Closes without the offer to save (the caller offers it in its own words).
    void closeWithoutAsking();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Asks what to do with rows not saved; false keeps the window open.
    bool mayDropRows();
    void buildControls();
    void save();

    FileState &files_;
    RecordGrid *recordGrid_ = nullptr;
    bool unsaved_ = false;
    bool asked_ = false; // the close needs no more questions

    QToolBar *toolbar_ = nullptr;
    QAction *save_ = nullptr;
    GridView *grid_ = nullptr;
    NoteBoxes *notes_ = nullptr;
    KeepInLibraryBox *keepInLibrary_ = nullptr;
};
