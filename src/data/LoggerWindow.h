#pragma once

// The logger memory window ("Memory"): the logger's ID code and interval, memory size
// and free space, one line per recorded set (setsGrid_) and the samples of the set clicked
// (detailsGrid_) with three note lines, which can be saved and printed. The ID code and the
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

class LoggerWindow : public MeterWindow {
    Q_OBJECT
public:
    LoggerWindow(Meter &meter, LoggerResults &logger, FileState &files, Dialogs &dialogs,
                 QWidget *parent = nullptr);

    // "Memory" of the main window: downloads the logger memory into this window. Does
    // nothing while another logger command runs. The user may close the window at any
    // time: the download then ends, stops the meter's stream and writes nothing more.
    // With "Verify" (verifyBox_) checked the memory is streamed twice and compared. A
    // download the line damaged lists nothing and offers to download again.
    void download();

    // Asked after a download the line damaged, with the download's message before it.
    static inline const QString kDownloadAgain =
        QStringLiteral(QT_TRANSLATE_NOOP("LoggerWindow", "Download again?"));

    // The download's steps in this window.
    void beginDownload();
    void setDownloadProgress(double percent);
    void endDownload(const LoggerDownload::Result &result);

    RecordGrid &sets() { return *sets_; }
    RecordGrid &details() { return *details_; }
    QStringList notes() const;

    // Control events. Grid rows count as the grid does: 0 is the heading row.
    void showSet(int row);
    // Key presses by character code (8 Backspace, 13 Enter); false when the key is
    // discarded.
    bool idCodeKeyPress(int keyAscii);
    bool intervalKeyPress(int keyAscii);
    void idCodeClicked();
    void intervalClicked();
    void eraseMemory();
    void saveSet();
    void printSet();
    void previewSet();

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
    QString setsCaption_;

    QLabel *intervalCaption_ = nullptr;
    QLabel *idCodeCaption_ = nullptr;
    QLabel *remainCaption_ = nullptr;
    QLabel *memoryCaption_ = nullptr;
    QLineEdit *idCodeEdit_ = nullptr;
    QLineEdit *intervalEdit_ = nullptr;
    QLabel *memoryValue_ = nullptr;
    QLabel *remainingValue_ = nullptr;
    QCheckBox *verifyBox_ = nullptr;
    ProgressPanel *setsPanel_ = nullptr;
    GridView *setsGrid_ = nullptr;
    ProgressPanel *detailsPanel_ = nullptr;
    GridView *detailsGrid_ = nullptr;
    QLineEdit *note1_ = nullptr;
    QLineEdit *note2_ = nullptr;
    QLineEdit *note3_ = nullptr;
    QPushButton *saveButton_ = nullptr;
    QPushButton *printButton_ = nullptr;
    QPushButton *previewButton_ = nullptr;
    KeepInLibraryBox *keepInLibrary_ = nullptr;
};
