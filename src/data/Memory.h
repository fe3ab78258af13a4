#pragma once

// The logger memory window ("Memory"): the logger's ID code and interval, memory size
// and free space, one line per recorded set (Grid1) and the samples of the set clicked
// (Grid2) with three note lines, which can be saved and printed. The ID code and the
// interval are written to the meter from their boxes; a click on the free-space figure
// erases the meter's memory. The download (runMemoryDownload) fills the window.

#include "main/LoggerDownload.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class Dialogs;
class Meter;
class ProgressPanel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordGrid;
struct AppState;

class Memory : public QWidget {
    Q_OBJECT
public:
    Memory(Meter &meter, AppState &state, Dialogs &dialogs, QWidget *parent = nullptr);

    // The download's steps in this window.
    void beginDownload();
    void setDownloadProgress(double percent);
    void endDownload(const LoggerDownload::Result &result);

    RecordGrid &sets() { return *sets_; }
    RecordGrid &details() { return *details_; }
    QStringList notes() const;
    // True once the user has closed the window (it may still await deletion).
    bool closed() const { return closed_; }

    // Control events. Grid rows count as the grid does: 0 is the heading row.
    void Grid1_Click(int row);
    // Key presses by character code (8 Backspace, 13 Enter); false when the key is
    // discarded.
    bool TxtIDCode_KeyPress(int keyAscii);
    bool TxtInterval_KeyPress(int keyAscii);
    void TxtIDCode_MouseDown();
    void TxtInterval_MouseDown();
    void LblRemaining_Click();
    void CmdSave_Click();
    void CmdPrint_Click();
    void CmdPreview_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Keeps the window alive while one of its own commands waits on the meter: a close
    // asked for meanwhile hides the window and takes effect when the command ends.
    class Command;
    friend class Command;
    // A key in the ID code or interval box: filter, and on Enter check and write.
    // True when the key goes into the text.
    bool settingKeyPress(int keyAscii, const QString &text, bool (*accepted)(int),
                         std::optional<int> (*parse)(const QString &), const QString &invalid,
                         bool (*write)(Meter &, LoggerResults &, int));

    void buildControls();
    void setColumnWidths(QTableView *grid, const QStringList &samples);
    void filterNote(QLineEdit *note);

    Meter &meter_;
    AppState &state_;
    Dialogs &dialogs_;
    RecordGrid *sets_ = nullptr;
    RecordGrid *details_ = nullptr;
    int commands_ = 0;
    bool closePending_ = false;
    bool closed_ = false;
    QString g1Caption_;

    QLabel *SSPanel1 = nullptr;
    QLabel *SSPanel2 = nullptr;
    QLabel *SSPanel3 = nullptr;
    QLabel *SSPanel4 = nullptr;
    QLineEdit *TxtIDCode = nullptr;
    QLineEdit *TxtInterval = nullptr;
    QLabel *LblMemory = nullptr;
    QLabel *LblRemaining = nullptr;
    ProgressPanel *G1 = nullptr;
    QTableView *Grid1 = nullptr;
    ProgressPanel *G2 = nullptr;
    QTableView *Grid2 = nullptr;
    QLineEdit *T1 = nullptr;
    QLineEdit *T2 = nullptr;
    QLineEdit *T3 = nullptr;
    QPushButton *CmdSave = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdPreview = nullptr;
};

// "Memory" of the main window: opens the logger window (creating it when `window` is
// null, placed with its left edge at `mainWindow`'s right edge and its top at its top)
// or raises it, then downloads the logger memory into it. Does nothing while another
// logger command runs. The user may close the window at any time: the download then
// ends, stops the meter's stream and writes nothing more.
void runMemoryDownload(QPointer<Memory> &window, Meter &meter, AppState &state, Dialogs &dialogs,
                       QWidget *mainWindow);
