#pragma once

// The library window ("Measurement Library"): every measurement of the library in a table,
// found by worker, site, job, kind and date range, sorted by any column. Worker, site and job
// are edited in place; Delete asks first, Cancel being the default. Open shows a measurement
// as its kind asks (the saved-file view, the Average window or the Event window), from a copy
// of its file; files dropped on the window, or chosen with Import, go into the library.
// Several measurements chosen together go to an exposure assessment once the program has
// one (setAssessmentAvailable).

#include "library/Measurement.h"
#include "ui/MeterWindow.h"

#include <QStringList>
#include <QTemporaryDir>

class Library;
class LibraryModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

class LibraryWindow : public MeterWindow {
    Q_OBJECT
public:
    // `library` is open, and outlives the window.
    LibraryWindow(Meter &meter, Library &library, Dialogs &dialogs, QWidget *parent = nullptr);
    ~LibraryWindow() override;

    LibraryModel &model() { return *model_; }
    // The filter the boxes give now.
    LibraryFilter filter() const;
    // Reads the table again (after a change made elsewhere, or another library).
    void refresh();

    // Imports files, then says what became of each (imported, already there, refused).
    void importFiles(const QStringList &paths);
    // Import: asks for the files, then imports them.
    void chooseAndImport();
    // Open: the current measurement, through openRequested.
    void openCurrent();
    // Delete: the chosen measurements, after a confirmation whose default is Cancel.
    void deleteChosen();
    // Assessment: the chosen measurements, through assessmentRequested.
    void assessChosen();
    // Lets "Assessment" be used; until then it is disabled.
    void setAssessmentAvailable(bool available);

    QLineEdit *workerFilter_ = nullptr;
    QLineEdit *siteFilter_ = nullptr;
    QLineEdit *jobFilter_ = nullptr;
    QComboBox *kindFilter_ = nullptr;
    QCheckBox *fromCheck_ = nullptr;
    QDateEdit *fromDate_ = nullptr;
    QCheckBox *toCheck_ = nullptr;
    QDateEdit *toDate_ = nullptr;
    QTableView *table_ = nullptr;
    QLabel *summaryLabel_ = nullptr;
    QPushButton *importButton_ = nullptr;
    QPushButton *openButton_ = nullptr;
    QPushButton *assessButton_ = nullptr;
    QPushButton *deleteButton_ = nullptr;

signals:
    // A measurement to show: `path` is a copy of its file, named as it was imported.
    void openRequested(const Measurement &measurement, const QString &path);
    // Measurements for one assessment, each with a copy of its file (same order).
    void assessmentRequested(const QList<Measurement> &measurements, const QStringList &paths);

protected:
    void windowClosing() override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    void updateButtons();
    QList<int> chosenRows() const;
    // A copy of the measurement's file in this window's folder; empty (with a message)
    // when the library cannot give it.
    QString exported(const Measurement &measurement);

    Library &library_;
    LibraryModel *model_ = nullptr;
    QTimer *filterTimer_ = nullptr;
    QTemporaryDir copies_;
    bool assessmentAvailable_ = false;
};
