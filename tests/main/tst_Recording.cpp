// Recording, the sample period, the list window and "View File", driven through the main
// window's controls on the virtual meter and the fake clock.

#include "data/RecordGrid.h"
#include "data/RecordListWindow.h"
#include "data/SavedFileWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

struct RecordingRig : MainWindowRig {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("shift.dat"));

    RecordingRig()
    {
        load();
        panel.samplingTimer_.stop(); // the test ticks the sampler
        tick(90.0);
    }
    QAction *action(const char *name) const { return panel.findChild<QAction *>(name); }
    // The recording commands that are available, in menu order.
    QString available() const
    {
        QStringList names;
        for (const char *name :
             {"openAction", "startRecordingAction", "stopRecordingAction", "viewFileAction"}) {
            if (action(name)->isEnabled())
                names << QLatin1String(name);
        }
        return names.join(QLatin1Char(' '));
    }
    // A poll of the meter showing `level`, then one tick of the sampler 100 ms later.
    void sample(double level)
    {
        tick(level);
        clock.advance(0.08);
        panel.takeSample();
    }
    void openFile(const QString &file)
    {
        dialogs.fileNames.enqueue(file);
        action("openAction")->trigger();
    }
    void startRecording(double period = 0.2)
    {
        panel.sampler().setPeriod(period);
        openFile(path);
        action("startRecordingAction")->trigger();
    }
    QByteArray file() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    RecordListWindow *list()
    {
        return panel.windows().window<RecordListWindow>(QStringLiteral("RecordListWindow"));
    }
    // Runs what the event loop has queued: the notices, deferred deletes.
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
};

} // namespace

class TestRecording : public QObject {
    Q_OBJECT

private slots:
    void commandsFollowTheRecordingsCourse()
    {
        RecordingRig rig;
        QCOMPARE(rig.available(), QStringLiteral("openAction viewFileAction"));
        rig.openFile(QString()); // cancelled
        QCOMPARE(rig.available(), QStringLiteral("openAction viewFileAction"));
        QCOMPARE(rig.text("fileNameLabel"), QString());

        // A click on "File Name" chooses the file as "Open" does.
        rig.dialogs.fileNames.enqueue(rig.path);
        QTest::mouseClick(rig.panel.findChild<QLabel *>("fileNameCaption"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.shown.last().kind, QStringLiteral("save"));
        QCOMPARE(rig.dialogs.shown.last().text,
                 QStringLiteral("Data File[*.dat] (*.dat);;All type[*.*] (*)"));
        QCOMPARE(rig.text("fileNameLabel"), QStringLiteral("shift.dat"));
        QCOMPARE(rig.available(), QStringLiteral("openAction startRecordingAction viewFileAction"));

        rig.action("startRecordingAction")->trigger();
        QVERIFY(rig.app.files.RecordingActive);
        QCOMPARE(rig.available(), QStringLiteral("stopRecordingAction"));
        // View File and another file are refused meanwhile, without a dialog.
        const int dialogs = int(rig.dialogs.shown.size());
        rig.action("viewFileAction")->trigger();
        QTest::mouseClick(rig.panel.findChild<QLabel *>("fileNameLabel"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.shown.size(), dialogs);
        QVERIFY(!rig.panel.windows().window(QStringLiteral("SavedFileWindow")));

        rig.action("stopRecordingAction")->trigger();
        QVERIFY(!rig.app.files.RecordingActive);
        // Recording again needs another "Open": the file just written is not replaced.
        QCOMPARE(rig.available(), QStringLiteral("openAction viewFileAction"));
        QCOMPARE(rig.file(), QByteArray("No.s\tDate\tTime\tdBA\r\n"));
    }

    // Quitting while a recording runs asks first; Enter keeps the recording.
    void quittingDuringARecordingAsks()
    {
        RecordingRig rig;
        rig.panel.show();
        rig.startRecording();
        for (int i = 0; i < 4; ++i)
            rig.sample(94.5);
        rig.dialogs.shown.clear();
        rig.action("exitAction")->trigger();
        QVERIFY(rig.app.files.RecordingActive && rig.panel.isVisible());
        rig.dialogs.answers.enqueue(Dialogs::Answer::Ok);
        rig.action("exitAction")->trigger();
        QVERIFY(!rig.app.files.RecordingActive && !rig.panel.isVisible());
        const QString ask = QStringLiteral("A recording is running (2 records in %1). Stop it and "
                                           "quit?")
                                .arg(QDir::toNativeSeparators(rig.path));
        QCOMPARE(rig.dialogs.texts(), QStringList({ask, ask}));
    }

    void recordsTheLevelShown()
    {
        RecordingRig rig;
        rig.startRecording();
        QVERIFY(!rig.panel.findChild<QLabel *>("recordingMark")->isVisibleTo(&rig.panel));
        QStringList counts;
        QList<bool> blink;
        for (double level : {94.5, 94.5, 250.0, 250.0, 101.2}) {
            rig.sample(level);
            counts << rig.text("recordCountValue");
            blink << rig.panel.findChild<QLabel *>("recordingMark")->isVisibleTo(&rig.panel);
        }
        QCOMPARE(counts, (QStringList{"1", "1", "2", "2", "3"}));
        QCOMPARE(blink, (QList<bool>{true, true, false, false, true}));
        const QByteArray file = rig.file();
        QCOMPARE(file.count("\r\n"), 4);
        QVERIFY(file.contains("\t94.5\r\n2\t") && file.contains("\t OL \r\n3\t"));
        QVERIFY(file.endsWith(QStringLiteral("\t%1.%2\t101.2\r\n")
                                  .arg(rig.text("lastTimeValue"))
                                  .arg(rig.clock.now().time().msec() / 100)
                                  .toLatin1()));
    }

    void noRecordsWhileTheMeterIsSilent()
    {
        RecordingRig rig;
        rig.startRecording(0.2);
        rig.sample(94.5);
        QCOMPARE(rig.text("recordCountValue"), QStringLiteral("1"));
        // No display frame for 3 s: the level shown is old.
        rig.clock.advance(3.0);
        for (int i = 0; i < 4; ++i)
            rig.panel.takeSample();
        QCOMPARE(rig.text("recordCountValue"), QStringLiteral("1"));
        rig.sample(94.5);
        rig.sample(94.5);
        QCOMPARE(rig.text("recordCountValue"), QStringLiteral("2"));
        QVERIFY(rig.app.files.RecordingActive);
    }

    // The button and the caption open one dialog, in the window's language.
    void samplePeriodDialogs_data()
    {
        QTest::addColumn<bool>("portuguese");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("ticks");
        QTest::newRow("english") << false << "samplePeriodButton"
                                 << "Dose Meter - Change sample rate"
                                 << "Enter a value from .2 to 60 second\r\n"
                                 << "0.5"
                                 << "0.5 Sec" << 5;
        QTest::newRow("caption") << false << "samplePeriodCaption"
                                 << "Dose Meter - Change sample rate"
                                 << "Enter a value from .2 to 60 second\r\n"
                                 << "75"
                                 << "60 Sec" << 600;
        QTest::newRow("portuguese") << true << "samplePeriodCaption"
                                    << "Dose Meter - Alteração da taxa de amostragem"
                                    << "Digite o valor desejado, de 0.2 à 60 segundos"
                                    << "75"
                                    << "60 s" << 600;
        QTest::newRow("empty keeps") << false << "samplePeriodButton"
                                     << "Dose Meter - Change sample rate"
                                     << "Enter a value from .2 to 60 second\r\n"
                                     << ""
                                     << "2 Sec" << 20;
    }
    void samplePeriodDialogs()
    {
        QFETCH(bool, portuguese);
        QFETCH(QString, control);
        QFETCH(QString, answer);
        QFETCH(int, ticks);
        QTranslator translator;
        if (portuguese) {
            QVERIFY(translator.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
            QCoreApplication::installTranslator(&translator);
        }
        const auto restore = qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
        RecordingRig rig;
        QCOMPARE(rig.text("samplePeriodValue"), portuguese ? "2 s" : "2 Sec");
        rig.dialogs.inputs.enqueue(answer);
        QWidget *widget = rig.panel.findChild<QWidget *>(control);
        QVERIFY(widget->isEnabled());
        QTest::mouseClick(widget, Qt::LeftButton);
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().kind, QStringLiteral("input"));
        QTEST(rig.dialogs.shown.first().title, "title");
        QTEST(rig.dialogs.shown.first().text, "prompt");
        QTEST(rig.text("samplePeriodValue"), "label");
        QCOMPARE(rig.panel.sampler().SampleTicks(), ticks);
    }

    void cancelAtTheDbaPromptStillStarts()
    {
        RecordingRig rig;
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.tick(90.0);
        rig.openFile(rig.path);
        rig.vm.clearReceived();
        rig.dialogs.answers.enqueue(Dialogs::Answer::Cancel);
        rig.action("startRecordingAction")->trigger();
        QCOMPARE(rig.dialogs.texts().last(), QStringLiteral("Not dBA mode, continue? "));
        QVERIFY(rig.app.files.RecordingActive);
        QVERIFY(!rig.vm.received().contains('F')); // no key pressed

        // The first sample finds the dose on the display: the recording ends, and says so.
        rig.sample(90.0);
        QVERIFY(!rig.app.files.RecordingActive);
        QCOMPARE(rig.available(), QStringLiteral("openAction viewFileAction"));
        QCOMPARE(rig.text("recordCountValue"), QString());
        QVERIFY(!rig.panel.findChild<QLabel *>("recordingMark")->isVisibleTo(&rig.panel));
        QCOMPARE(rig.file(), QByteArray("No.s\tDate\tTime\tdBA\r\n"));
        RecordingRig::settle();
        QCOMPARE(rig.dialogs.shown.last().icon, Dialogs::Icon::Warning);
        QCOMPARE(rig.dialogs.texts().last(),
                 QStringLiteral("Recording stopped: the meter's display left dBA mode.\n"
                                "0 records are in %1.")
                     .arg(rig.path));
    }

    void fileThatCannotBeCreatedStartsNothing()
    {
        RecordingRig rig;
        const QString path = rig.dir.filePath(QStringLiteral("gone/shift.dat"));
        rig.openFile(path);
        rig.action("startRecordingAction")->trigger();
        QVERIFY(!rig.app.files.RecordingActive);
        QCOMPARE(rig.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        QCOMPARE(rig.dialogs.texts().last(),
                 QStringLiteral("The recording could not start: %1 could not be created: No "
                                "such file or directory.")
                     .arg(path));
        // Nothing half-started: the same file may be tried again once its folder is there.
        QCOMPARE(rig.available(), QStringLiteral("openAction startRecordingAction viewFileAction"));
        QVERIFY(QDir(rig.dir.path()).mkdir(QStringLiteral("gone")));
        rig.action("startRecordingAction")->trigger();
        QVERIFY(rig.app.files.RecordingActive);
    }

    void writeErrorStopsTheRecordingWithAMessage()
    {
        RecordingRig rig;
        rig.startRecording(0.2);
        rig.sample(94.5);
        rig.sample(94.5);
        rig.sample(94.5);
        QVERIFY(QFile::remove(rig.path));
        rig.sample(94.5);
        rig.sample(94.5);
        QVERIFY(!rig.app.files.RecordingActive);
        QCOMPARE(rig.available(), QStringLiteral("openAction viewFileAction"));
        RecordingRig::settle();
        QCOMPARE(rig.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        QCOMPARE(rig.dialogs.texts().last(),
                 QStringLiteral("Recording stopped: %1 could not be written: the file was "
                                "deleted.\n2 records had been written to it.")
                     .arg(rig.path));
    }

    void listGrowsAndKeepsTheNewestInView()
    {
        RecordingRig rig;
        rig.panel.sampler().setPeriod(0.2);
        rig.panel.findChild<QPushButton *>("listButton")->click();
        QPointer<RecordListWindow> list = rig.list();
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral(" List"));
        QVERIFY(rig.app.windows.ListWindowOpen);
        auto *grid = list->findChild<QTableView *>("grid");
        QVERIFY(QTest::qWaitForWindowExposed(list));
        for (int i = 0; i < 60; ++i)
            rig.sample(90.0 + i % 10);
        QCOMPARE(list->records().recordCount(), 30);
        QCOMPARE(list->records().record(0).value(0), QStringLiteral("1"));
        QCOMPARE(list->records().record(29).value(0), QStringLiteral("30"));
        QCOMPARE(list->records().record(29).value(3), QStringLiteral("98.0"));
        QCOMPARE(grid->currentIndex().row(), 29);
        QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);

        // Scrolled back to read older rows: the view stays, the newest row is current.
        grid->verticalScrollBar()->setValue(0);
        rig.sample(95.0);
        rig.sample(95.0);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        QCOMPARE(grid->currentIndex().row(), 30);
        // Back at the end, it follows again.
        grid->scrollToBottom();
        rig.sample(95.0);
        rig.sample(95.0);
        QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
        QCOMPARE(list->records().recordCount(), 32);
    }

    void listClosesOutsideDbaMode_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("rows saved") << true;
        QTest::newRow("rows dropped") << false;
    }
    void listClosesOutsideDbaMode()
    {
        QFETCH(bool, save);
        RecordingRig rig;
        rig.panel.sampler().setPeriod(0.2);
        rig.panel.findChild<QPushButton *>("listButton")->click();
        QPointer<RecordListWindow> list = rig.list();
        for (int i = 0; i < 6; ++i)
            rig.sample(94.5);
        rig.dialogs.answers.enqueue(save ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        rig.dialogs.fileNames.enqueue(rig.path);
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.sample(94.5);
        QVERIFY(!rig.app.windows.ListWindowOpen);
        QCOMPARE(rig.panel.sampler().ListRowCount(), 0);
        RecordingRig::settle();
        QVERIFY(list.isNull());
        const int question =
            save ? int(rig.dialogs.shown.size()) - 2 : int(rig.dialogs.shown.size()) - 1;
        QCOMPARE(rig.dialogs.shown.at(question).buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(rig.dialogs.shown.at(question).text,
                 QStringLiteral("The list was closed: the meter's display left dBA mode.\n"
                                "Save its 3 rows?"));
        QCOMPARE(rig.file().count("\t94.5\t\"\r\n"), save ? 3 : 0);

        // Opened again, the list starts from row 1.
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dba);
        rig.tick(94.5);
        rig.panel.findChild<QPushButton *>("listButton")->click();
        rig.sample(94.5);
        rig.sample(94.5);
        QCOMPARE(rig.list()->records().record(0).value(0), QStringLiteral("1"));
    }

    void viewFileReplacesTheSavedFileWindow()
    {
        RecordingRig rig;
        rig.dialogs.fileNames.enqueue(testsupport::golden(QStringLiteral("recording-form.dat")));
        rig.action("viewFileAction")->trigger();
        QCOMPARE(rig.dialogs.shown.last().kind, QStringLiteral("open"));
        QCOMPARE(rig.dialogs.shown.last().text,
                 QStringLiteral("Data File[*.dat] (*.dat);;All type[*.*] (*)"));
        QPointer<SavedFileWindow> first =
            rig.panel.windows().window<SavedFileWindow>(QStringLiteral("SavedFileWindow"));
        QVERIFY(first);
        QCOMPARE(first->windowTitle(), QStringLiteral("recording-form.dat"));
        QCOMPARE(first->records().recordCount(), 4);
        // Beside the main window it would reach past the test screen's right edge (800).
        QCOMPARE(first->pos(), QPoint(428, 0));

        rig.dialogs.fileNames.enqueue(testsupport::golden(QStringLiteral("grid-form.dat")));
        rig.action("viewFileAction")->trigger();
        RecordingRig::settle();
        QVERIFY(first.isNull());
        auto *second =
            rig.panel.windows().window<SavedFileWindow>(QStringLiteral("SavedFileWindow"));
        QCOMPARE(second->windowTitle(), QStringLiteral("grid-form.dat"));
        QCOMPARE(second->records().record(1), QStringList({"2", "2010/01/01", "00:00:00.0", "OL"}));
        QCOMPARE(second->notes().value(0), QStringLiteral("Press shop line 2"));

        // Cancelled: the open window stays.
        rig.action("viewFileAction")->trigger();
        QCOMPARE(rig.panel.windows().window<SavedFileWindow>(QStringLiteral("SavedFileWindow")),
                 second);
    }
};

DOSEMETER_TEST(TestRecording)
#include "tst_Recording.moc"
