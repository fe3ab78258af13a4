// The library from the desktop program: the library window through its controls, the windows'
// "Keep in library", the end of a recording and the Connect dialog, on the main window's rig.

#include "analysis/AssessmentWindow.h"
#include "averaging/AverageWindow.h"
#include "banks/BankWindow.h"
#include "data/RecordListWindow.h"
#include "data/SavedFileWindow.h"
#include "library/LibraryConnectDialog.h"
#include "library/LibraryModel.h"
#include "library/LibraryWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/KeepInLibraryBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct LibraryRig : MainWindowRig {
    QTemporaryDir dir;

    LibraryRig()
    {
        app.library.location = dir.filePath(QStringLiteral("library.sqlite"));
        load();
        panel.samplingTimer_.stop();
        tick(90.0);
    }
    // The four golden measurements, the banks read as of January 2010.
    void importGoldenFiles()
    {
        QVERIFY(panel.library().open(LibraryLocation::sqlite(app.library.location)));
        MeasurementReader::Known known;
        known.reference = QDateTime(QDate(2010, 1, 15), QTime(12, 0));
        for (const char *file :
             {"grid-form.dat", "recording-form.dat", "average.avg", "banks-menu.bnk"}) {
            QFile golden(testsupport::golden(file));
            QVERIFY(golden.open(QIODevice::ReadOnly));
            QCOMPARE(panel.library().importBytes(golden.readAll(), file, known).outcome,
                     Library::Import::Outcome::Imported);
        }
    }
    LibraryWindow *window()
    {
        panel.measurementsAction_->trigger();
        return panel.windows().window<LibraryWindow>(QStringLiteral("LibraryWindow"));
    }
    QStringList kinds()
    {
        QStringList found;
        const std::optional<QList<Measurement>> stored = panel.library().list();
        for (const Measurement &m : stored.value_or(QList<Measurement>()))
            found << Measurement::kindName(m.kind);
        return found;
    }
};

QStringList shownFiles(LibraryWindow *window)
{
    QStringList files;
    for (int row = 0; row < window->model().rowCount(); ++row)
        files << window->model().measurement(row).fileName;
    return files;
}

void choose(LibraryWindow *window, const QString &file)
{
    window->table_->clearSelection();
    const int row = int(shownFiles(window).indexOf(file));
    QVERIFY(row >= 0);
    window->table_->selectRow(row);
}

} // namespace

class TestLibraryWindow : public QObject {
    Q_OBJECT

private slots:
    void findsAndSorts_data()
    {
        QTest::addColumn<QString>("worker");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<QStringList>("files");
        const QStringList all{"banks-menu.bnk", "average.avg", "recording-form.dat",
                              "grid-form.dat"};
        // clang-format off
        QTest::newRow("by-start") << "" << "" << "" << int(LibraryModel::StartColumn) << all;
        QTest::newRow("worker") << "souza" << "" << "" << int(LibraryModel::StartColumn) << QStringList{"banks-menu.bnk"};
        QTest::newRow("from") << "" << "" << "2009-11-30" << int(LibraryModel::StartColumn) << all.mid(1);
        QTest::newRow("laeq-loudest-first") << "" << "" << "" << -int(LibraryModel::LaeqColumn)
            << QStringList{"grid-form.dat", "average.avg", "recording-form.dat", "banks-menu.bnk"};
        QTest::newRow("fewest-records-first") << "" << "" << "" << int(LibraryModel::RecordsColumn)
            << QStringList{"banks-menu.bnk", "average.avg", "recording-form.dat", "grid-form.dat"};
        QTest::newRow("longest-first") << "" << "" << "" << -int(LibraryModel::DurationColumn)
            << QStringList{"average.avg", "recording-form.dat", "grid-form.dat", "banks-menu.bnk"};
        QTest::newRow("site-known-first") << "" << "" << "" << -int(LibraryModel::SiteColumn)
            << QStringList{"banks-menu.bnk", "average.avg", "recording-form.dat", "grid-form.dat"};
        // clang-format on
    }
    void findsAndSorts()
    {
        QFETCH(QString, worker);
        QFETCH(QString, kind);
        QFETCH(QString, from);
        QFETCH(int, sortColumn);
        QFETCH(QStringList, files);
        LibraryRig rig;
        rig.importGoldenFiles();
        LibraryWindow *window = rig.window();
        QVERIFY(window);
        window->workerFilter_->setText(worker);
        if (!kind.isEmpty())
            window->kindFilter_->setCurrentText(kind);
        if (!from.isEmpty()) {
            window->fromDate_->setDate(QDate::fromString(from, Qt::ISODate));
            window->fromCheck_->setChecked(true);
        }
        window->table_->sortByColumn(std::abs(sortColumn),
                                     sortColumn < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
        QTRY_COMPARE(shownFiles(window), files);
        QCOMPARE(window->summaryLabel_->text(), QStringLiteral("%1 measurements in %2")
                                                    .arg(files.size())
                                                    .arg(rig.app.library.location));
    }

    void editsInPlaceAndDeletesOnlyWhenSure()
    {
        LibraryRig rig;
        rig.importGoldenFiles();
        LibraryWindow *window = rig.window();
        const QModelIndex worker = window->model().index(0, LibraryModel::WorkerColumn);
        QVERIFY(window->model().flags(worker) & Qt::ItemIsEditable);
        QVERIFY(!(window->model().flags(worker.siblingAtColumn(LibraryModel::KindColumn)) &
                  Qt::ItemIsEditable));
        QVERIFY(window->model().setData(worker, "it's \"Bea\"; --"));
        QCOMPARE(rig.panel.library().list()->first().worker, "it's \"Bea\"; --");

        choose(window, "grid-form.dat");
        window->deleteButton_->click(); // Enter, or no answer: Cancel
        const ScriptedDialogs::Shown asked = rig.dialogs.shown.last();
        QCOMPARE(asked.buttons, Dialogs::Buttons::OkCancelWithCancelDefault);
        QCOMPARE(asked.text, "Delete measurement 1 (grid-form.dat) from the library? The stored "
                             "files go with them; this cannot be undone.");
        QCOMPARE(rig.panel.library().list()->size(), 4);
        rig.dialogs.answers.enqueue(Dialogs::Answer::Ok);
        window->deleteButton_->click();
        QCOMPARE(shownFiles(window),
                 (QStringList{"banks-menu.bnk", "average.avg", "recording-form.dat"}));
    }

    void opensAsItsKindAsks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control"); // a line edit, or "" for the grid's records
        QTest::addColumn<QString>("shows");
        QTest::newRow("run") << "grid-form.dat"
                             << "SavedFileWindow"
                             << "note1"
                             << "Press shop line 2";
        QTest::newRow("average") << "average.avg"
                                 << "AverageWindow"
                                 << "jobEdit"
                                 << "Press line 4";
        QTest::newRow("banks") << "banks-menu.bnk"
                               << "BankWindow"
                               << "nameEdit"
                               << "Ana Souza";
    }
    void opensAsItsKindAsks()
    {
        QFETCH(QString, file);
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, shows);
        LibraryRig rig;
        rig.importGoldenFiles();
        LibraryWindow *library = rig.window();
        choose(library, file);
        QVERIFY(library->openButton_->isEnabled());
        library->openButton_->click();
        QWidget *opened = rig.panel.windows().window(window);
        QVERIFY(opened);
        QCOMPARE(opened->findChild<QLineEdit *>(control)->text(), shows);
    }

    // Two measurements in one assessment: their records pooled, the spans the library keeps
    // for them excluded, and a span excluded in the window kept with its measurement.
    void assessesChosenMeasurementsWithTheirSpans()
    {
        LibraryRig rig;
        rig.importGoldenFiles();
        LibraryWindow *library = rig.window();
        const Measurement grid = library->model().measurement(
            int(shownFiles(library).indexOf(QStringLiteral("grid-form.dat"))));
        QVERIFY(rig.panel.library().addExcludedSpan({0, grid.id, 1, 1, "microphone knocked"}));
        library->refresh();
        choose(library, QStringLiteral("grid-form.dat"));
        const int second = int(shownFiles(library).indexOf(QStringLiteral("recording-form.dat")));
        library->table_->selectionModel()->select(library->model().index(second, 0),
                                                  QItemSelectionModel::Select |
                                                      QItemSelectionModel::Rows);
        QVERIFY(library->assessButton_->isEnabled());
        library->assessButton_->click();

        auto *assessment =
            rig.panel.windows().window<AssessmentWindow>(QStringLiteral("AssessmentWindow"));
        QVERIFY(assessment);
        QCOMPARE(assessment->result().lists, 2);
        QCOMPARE(assessment->result().records, 8);
        QCOMPARE(assessment->result().excluded, 1);

        auto *files = assessment->findChild<QComboBox *>("listChoice");
        files->setCurrentIndex(files->findText("recording-form.dat", Qt::MatchStartsWith));
        assessment->findChild<QDoubleSpinBox *>("firstRecordField")->setValue(2);
        assessment->findChild<QDoubleSpinBox *>("lastRecordField")->setValue(3);
        assessment->findChild<QLineEdit *>("reasonEdit")->setText("lunch break");
        assessment->findChild<QPushButton *>("excludeButton")->click();
        QCOMPARE(assessment->result().excluded, 3);
        const Measurement recording = library->model().measurement(second);
        const QList<MeasurementSpan> kept =
            rig.panel.library().excludedSpans(recording.id).value_or(QList<MeasurementSpan>());
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept.at(0).firstRecord, 2);
        QCOMPARE(kept.at(0).lastRecord, 3);
        QCOMPARE(kept.at(0).reason, "lunch break");
        QCOMPARE(rig.panel.library().excludedSpans(grid.id)->size(), 1);
    }

    void importsDroppedFiles()
    {
        LibraryRig rig;
        LibraryWindow *window = rig.window();
        QVERIFY(window);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(testsupport::golden("average.avg")),
                      QUrl::fromLocalFile(testsupport::golden("levels-stats.txt")),
                      QUrl::fromLocalFile(testsupport::golden("average.avg"))});
        // As a drag from a file manager arrives: it enters, then drops.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        QTRY_COMPARE(shownFiles(window), QStringList{"average.avg"});
        QCOMPARE(rig.dialogs.shown.last().text,
                 "average.avg: imported as measurement 1.\nlevels-stats.txt: not imported. The "
                 "file levels-stats.txt is not a data file: its first line is not the heading "
                 "\"No.s, Date, Time, dBA\".\naverage.avg: already in the library as measurement "
                 "1.");
    }

    void keepsWhatTheWindowsSave_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QStringList>("kinds");
        QTest::newRow("kept") << true << QStringList{"banks", "list", "recording"};
        QTest::newRow("not-kept") << false << QStringList{"recording"};
    }
    void keepsWhatTheWindowsSave()
    {
        QFETCH(bool, keep);
        QFETCH(QStringList, kinds);
        LibraryRig rig;
        rig.panel.listButton_->click();
        auto *list = rig.panel.windows().window<RecordListWindow>("RecordListWindow");
        QVERIFY(list);
        const QStringList row{"1", "2009/11/30", "10:00:00.3", "094.5"};
        list->appendRecord(row);
        list->findChild<KeepInLibraryBox *>("keepInLibrary")->setChecked(keep);
        rig.dialogs.fileNames.enqueue(rig.dir.filePath("list.dat"));
        list->runToolbarCommand("Save");

        rig.panel.eventButton_->click();
        auto *event = rig.panel.windows().window<BankWindow>("BankWindow");
        QVERIFY(event);
        event->findChild<KeepInLibraryBox *>("keepInLibrary")->setChecked(keep);
        rig.dialogs.fileNames.enqueue(rig.dir.filePath("banks.bnk"));
        event->runToolbarCommand(BankWindow::kSaveKey);

        // A recording is kept when it ends, whatever the boxes say.
        rig.panel.sampler().setPeriod(0.2);
        rig.dialogs.fileNames.enqueue(rig.dir.filePath("shift.dat"));
        rig.panel.openAction_->trigger();
        rig.panel.startRecordingAction_->trigger();
        for (int i = 0; i < 3; ++i) {
            rig.tick(91.0 + i);
            rig.clock.advance(0.2);
            rig.panel.takeSample();
            rig.panel.takeSample();
        }
        rig.panel.stopRecordingAction_->trigger();
        QStringList stored = rig.kinds();
        stored.sort();
        QCOMPARE(stored, kinds);
    }

    void connectsToAnotherLibrary()
    {
        LibraryRig rig;
        rig.panel.connectLibraryAction_->trigger();
        auto *dialog = rig.panel.findChild<LibraryConnectDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(dialog->fileChoice_->isChecked());
        QCOMPARE(dialog->fileEdit_->text(), rig.app.library.location);

        dialog->serverChoice_->setChecked(true);
        dialog->serverEdit_->setText("postgresql://127.0.0.1:1/noise");
        dialog->accept();
        QVERIFY(dialog->isVisible());
        QVERIFY2(dialog->errorLabel_->text().startsWith(
                     "The library postgresql://127.0.0.1:1/noise cannot be opened:"),
                 qPrintable(dialog->errorLabel_->text()));

        const QString other = rig.dir.filePath("team.sqlite");
        dialog->fileChoice_->setChecked(true);
        dialog->fileEdit_->setText(other);
        dialog->accept();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(rig.panel.library().location().text(), other);
        QCOMPARE(LibraryLocation::remembered(), other);
        LibraryLocation::remember(QString());
    }
};

DOSEMETER_TEST(TestLibraryWindow)
#include "tst_LibraryWindow.moc"
