#pragma once

// The logger memory window ("Memory"): the logger's ID code and interval, memory size
// and free space, one line per recorded set (Grid1) and the samples of the set clicked
// (Grid2) with three note lines, which can be saved and printed. The ID code and the
// interval are written to the meter from their boxes; a click on the free-space figure
// erases the meter's memory. download() fills the window.

#include "data/LoggerDownload.h"
#include "ui/MeterWindow.h"

#include <QStringList>

#include <optional>

class GridView;
class KeepInLibraryBox;
class ProgressPanel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordGrid;
struct FileState;
struct LoggerResults;

class Memory : public MeterWindow {
    Q_OBJECT
public:
    Memory(Meter &meter, LoggerResults &logger, FileState &files, Dialogs &dialogs,
           QWidget *parent = nullptr);

    // "Memory" of the main window: downloads the logger memory into this window. Does
    // nothing while another logger command runs. The user may close the window at any
    // time: the download then ends, stops the meter's stream and writes nothing more.
    // With "Verify" (ChkVerify) checked the memory is streamed twice and compared. A
    // download the line damaged lists nothing and offers to download again.
    void download();

    // Asked after a download the line damaged, with the download's message before it.
    static inline const QString kDownloadAgain = QStringLiteral("Download again?");

    // The download's steps in this window.
    void beginDownload();
    void setDownloadProgress(double percent);
    void endDownload(const LoggerDownload::Result &result);

    RecordGrid &sets() { return *sets_; }
    RecordGrid &details() { return *details_; }
    QStringList notes() const;

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

private:
    // A key in the ID code or interval box: filter, and on Enter check and write.
    // True when the key goes into the text.
    bool settingKeyPress(int keyAscii, const QString &text, bool (*accepted)(int),
                         std::optional<int> (*parse)(const QString &), const QString &invalid,
                         bool (*write)(Meter &, LoggerResults &, int));

    void buildControls();
    void filterNote(QLineEdit *note);

    LoggerResults &logger_;
    FileState &files_;
    RecordGrid *sets_ = nullptr;
    RecordGrid *details_ = nullptr;
    QString g1Caption_;

    QLabel *SSPanel1 = nullptr;
    QLabel *SSPanel2 = nullptr;
    QLabel *SSPanel3 = nullptr;
    QLabel *SSPanel4 = nullptr;
    QLineEdit *TxtIDCode = nullptr;
    QLineEdit *TxtInterval = nullptr;
    QLabel *LblMemory = nullptr;
    QLabel *LblRemaining = nullptr;
    QCheckBox *ChkVerify = nullptr;
    ProgressPanel *G1 = nullptr;
    GridView *Grid1 = nullptr;
    ProgressPanel *G2 = nullptr;
    GridView *Grid2 = nullptr;
    QLineEdit *T1 = nullptr;
    QLineEdit *T2 = nullptr;
    QLineEdit *T3 = nullptr;
    QPushButton *CmdSave = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdPreview = nullptr;
    KeepInLibraryBox *keepInLibrary_ = nullptr;
};
