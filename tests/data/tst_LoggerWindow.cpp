#include "LoggerRig.h"
#include "link/Messages.h"

#include "data/DatFile.h"
#include "data/LoggerSettings.h"
#include "data/LoggerWindow.h"
#include "data/RecordGrid.h"
#include "main/WindowManager.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "ui/ProgressPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct WindowRig : LoggerRig {
    QWidget mainWindow;
    WindowManager windows{mainWindow, meter, app, dialogs};
    QPointer<LoggerWindow> window;

    explicit WindowRig(const QByteArray &image = rig::threeRuns()) : LoggerRig(image)
    {
        mainWindow.setGeometry(40, 60, 320, 240);
        mainWindow.show();
    }
    ~WindowRig() { delete window.data(); }

    template <class T> T *find(const char *name) const
    {
        return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    }
    // "Memory" of the main window: opens (or raises) the window and downloads.
    void download()
    {
        window = qobject_cast<LoggerWindow *>(
            windows.open({"LoggerWindow", [this] {
                              return new LoggerWindow(meter, app.logger, app.files, dialogs);
                          }}));
        if (window)
            window->download();
    }
    // Clicks the grid's row (1 = the first set, as the grid counts rows).
    void clickSet(int row)
    {
        auto *grid = find<QTableView>("setsGrid");
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void type(const char *box, const QString &text)
    {
        auto *edit = find<QLineEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void enter(const char *box) { QTest::keyClick(find<QLineEdit>(box), Qt::Key_Return); }
    const RecordTable &details() const { return window->details().table(); }
    // Runs what the event loop has queued, deferred deletes included.
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
};

// Index of `request` in what the meter received, -1 when it is not there.
qsizetype sent(const VirtualMeter &meter, const QByteArray &request)
{
    return meter.received().indexOf(request);
}

} // namespace

class TestLoggerWindow : public QObject {
    Q_OBJECT

private slots:
    void downloadFillsTheWindow()
    {
        WindowRig rig;
        rig.download();
        QVERIFY(rig.window);
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("Memory"));
        // The test screen (800 x 600) has no room beside the main window: the window, as
        // wide as the screen, is moved in.
        QCOMPARE(rig.window->pos(), QPoint(0, rig.mainWindow.frameGeometry().top()));
        QCOMPARE(rig.find<QLineEdit>("idCodeEdit")->text(), QStringLiteral("1234"));
        QCOMPARE(rig.find<QLineEdit>("intervalEdit")->text(), QStringLiteral("1"));
        QCOMPARE(rig.find<QLabel>("memoryValue")->text(), QStringLiteral("32 K"));
        QCOMPARE(rig.find<QLabel>("remainingValue")->text(), QStringLiteral("29.5 K"));
        const RecordGrid &sets = rig.window->sets();
        QCOMPARE(sets.rows(), 4);
        QCOMPARE(sets.table().headings(),
                 QStringList({"Set", "Date", "Time", "Interval", "Rec.s"}));
        QCOMPARE(sets.table().record(1),
                 QStringList({"2", "2009/11/29", "23:59:30", "60.0", "40"}));
        auto *g1 = rig.find<ProgressPanel>("setsPanel");
        QVERIFY(!g1->fillVisible());
        QCOMPARE(g1->caption(), QStringLiteral("Recorded Set(s)"));
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(!rig.app.logger.DownloadBusy);

        // A second download reuses the window.
        LoggerWindow *first = rig.window;
        rig.download();
        QCOMPARE(rig.window.data(), first);
        QCOMPARE(rig.window->sets().rows(), 4);
    }

    // A download the line damaged lists nothing and offers to download again; one the
    // meter's memory damaged only says so; "Verify" outvotes a damaged stream.
    void damagedDownload_data()
    {
        QTest::addColumn<QList<int>>("damagedStreams"); // set 2's month damaged in them
        QTest::addColumn<bool>("verify");
        QTest::addColumn<QList<Dialogs::Answer>>("answers");
        QTest::addColumn<int>("offers"); // "Download again?" dialogs shown
        QTest::addColumn<int>("streams");
        QTest::addColumn<int>("setsListed");
        using A = Dialogs::Answer;
        QTest::newRow("declined") << QList<int>{1} << false << QList<A>{A::No} << 1 << 1 << 0;
        QTest::newRow("again-whole") << QList<int>{1} << false << QList<A>{A::Yes} << 1 << 2 << 3;
        QTest::newRow("again-damaged-declined")
            << QList<int>{1, 2} << false << QList<A>{A::Yes, A::No} << 2 << 2 << 0;
        QTest::newRow("verified") << QList<int>{1} << true << QList<A>{} << 0 << 3 << 3;
        QTest::newRow("verify-off-by-default-whole")
            << QList<int>{} << false << QList<A>{} << 0 << 1 << 3;
    }
    void damagedDownload()
    {
        QFETCH(QList<int>, damagedStreams);
        QFETCH(bool, verify);
        QFETCH(QList<Dialogs::Answer>, answers);
        LoggerRig rig(rig::threeRuns());
        QList<LineEdit> edits;
        for (int stream : damagedStreams)
            edits.append({stream, 0x0319 + 1, 0x80});
        DamagingLink damaging(rig.link, edits);
        Meter meter(damaging, rig.clock, rig.state);
        meter.setPollControl(&rig.poll);
        LoggerWindow window(meter, rig.app.logger, rig.app.files, rig.dialogs);
        auto *box = window.findChild<QCheckBox *>(QStringLiteral("verifyBox"));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Verify"));
        QVERIFY(!box->isChecked());
        box->setChecked(verify);
        for (Dialogs::Answer answer : answers)
            rig.dialogs.answers.enqueue(answer);
        window.download();

        const QString offer = QStringLiteral("Set 2 of 3 arrived damaged: its start reads "
                                             "2009/91/29 23:59:30.") +
                              LoggerDownload::kLineDamagedEnd + "\n\n" +
                              LoggerWindow::kDownloadAgain;
        QFETCH(int, offers);
        QCOMPARE(rig.dialogs.texts(), QStringList(offers, offer));
        for (const ScriptedDialogs::Shown &shown : rig.dialogs.shown)
            QCOMPARE(shown.buttons, Dialogs::Buttons::YesNo);
        QTEST(int(rig.vm.received().count("U")) / 2, "streams");
        QFETCH(int, setsListed);
        QCOMPARE(window.sets().table().recordCount(), setsListed);
        QCOMPARE(window.findChild<QLineEdit *>("idCodeEdit")->text(),
                 setsListed ? QStringLiteral("1234") : QString());
        QCOMPARE(rig.app.logger.RunCount, setsListed);
        QVERIFY(!rig.app.logger.DownloadBusy);
    }

    void damagedMemoryIsOnlyReported()
    {
        QByteArray image = rig::threeRuns();
        image[0x0319] = char(0x14); // set 2's month
        WindowRig rig(image);
        rig.download();
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{"Set 2 of 3 is damaged in the meter: its start reads 2009/14/29 "
                             "23:59:30." +
                             LoggerDownload::kMemoryDamagedEnd});
        QCOMPARE(rig.dialogs.shown.first().buttons, Dialogs::Buttons::Ok);
        QCOMPARE(rig.window->sets().table().recordCount(), 0);
        QVERIFY(rig.find<QLineEdit>("idCodeEdit")->text().isEmpty());
    }

    void clickingASetListsItsRecords()
    {
        WindowRig rig;
        rig.download();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window));
        rig.poll.changes.clear();
        rig.clickSet(2);
        const RecordTable &records = rig.details();
        QCOMPARE(records.recordCount(), 40);
        QCOMPARE(records.record(0), QStringList({"1", "2009/11/30", "00:00:30.0", "80.0"}));
        QCOMPARE(records.record(6), QStringList({"7", "2009/11/30", "00:06:30.0", "OL"}));
        QCOMPARE(records.record(39), QStringList({"40", "2009/11/30", "00:39:30.0", "83.9"}));
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!rig.app.logger.DownloadBusy);
        QVERIFY(!rig.find<ProgressPanel>("detailsPanel")->fillVisible());
        if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS"))
            rig.window->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") + "/memory.png");

        // The heading row lists nothing.
        auto *grid = rig.find<QTableView>("setsGrid");
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grid->horizontalHeader()->sectionPosition(0) + 5, 5));
        QCOMPARE(rig.details().recordCount(), 0);
        QVERIFY(rig.poll.pollEnabled());
    }

    void tenThousandSamplesList()
    {
        WindowRig rig(VirtualMeter::memoryWithRuns(
            {rig::run(QDateTime(QDate(2009, 12, 31), QTime(23, 0, 0)), 5, 10000)}, 1, 5));
        rig.download();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window));
        rig.clickSet(1);
        QCOMPARE(rig.details().recordCount(), 10000);
        QCOMPARE(rig.details().record(9999),
                 QStringList({"10000", "2010/01/01", "00:23:20.0", "129.9"}));
    }

    void idCodeEntry_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::newRow("largest") << "65535" << "65535" << false << 0xFF << 0xFF;
        QTest::newRow("zero") << "0" << "0" << false << 0 << 0;
        QTest::newRow("letters-and-points-discarded") << "1a2.3" << "123" << false << 0 << 123;
        QTest::newRow("too-large") << "65536" << "65536" << true << 0 << 0;
        // clang-format on
    }
    void idCodeEntry()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(int, high);
        QFETCH(int, low);
        WindowRig rig;
        rig.download();
        rig.poll.changes.clear();
        rig.vm.clearReceived();
        rig.type("idCodeEdit", typed);
        QTEST(rig.find<QLineEdit>("idCodeEdit")->text(), "shown");
        rig.enter("idCodeEdit");
        if (refused) {
            QCOMPARE(rig.dialogs.texts(), QStringList({LoggerSettings::kIdCodeInvalid}));
            QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Critical);
            QVERIFY(!rig.vm.received().contains('W'));
            QCOMPARE(rig.vm.reg(2) * 256 + rig.vm.reg(3), 1234);
            return;
        }
        QVERIFY(rig.dialogs.shown.isEmpty());
        const qsizetype first = sent(rig.vm, rig::writeRequest(0x0002, high));
        const qsizetype second = sent(rig.vm, rig::writeRequest(0x0003, low));
        QVERIFY(first >= 0 && second > first);
        QCOMPARE(rig.vm.reg(2), high);
        QCOMPARE(rig.vm.reg(3), low);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
    }

    void intervalEntry_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::newRow("twelve-and-a-half") << "12.5" << "12.5" << false << 0 << 125;
        QTest::newRow("largest") << "6553.5" << "6553.5" << false << 0xFF << 0xFF;
        QTest::newRow("smallest") << "0.1" << "0.1" << false << 0 << 1;
        QTest::newRow("letters-discarded") << "1x.5" << "1.5" << false << 0 << 15;
        QTest::newRow("too-small") << "0.05" << "0.05" << true << 0 << 0;
        QTest::newRow("too-large") << "6553.6" << "6553.6" << true << 0 << 0;
        // clang-format on
    }
    void intervalEntry()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(int, high);
        QFETCH(int, low);
        WindowRig rig;
        rig.download();
        rig.vm.clearReceived();
        rig.type("intervalEdit", typed);
        QTEST(rig.find<QLineEdit>("intervalEdit")->text(), "shown");
        rig.enter("intervalEdit");
        if (refused) {
            QCOMPARE(rig.dialogs.texts(), QStringList({LoggerSettings::kIntervalInvalid}));
            QVERIFY(!rig.vm.received().contains('W'));
            return;
        }
        const qsizetype first = sent(rig.vm, rig::writeRequest(0x0013, high));
        const qsizetype second = sent(rig.vm, rig::writeRequest(0x0012, low));
        QVERIFY(first >= 0 && second > first);
        QCOMPARE(rig.vm.reg(0x13) * 256 + rig.vm.reg(0x12), high * 256 + low);
    }

    void lockedKeysWriteAndEraseNothing()
    {
        WindowRig rig;
        rig.download();
        rig.state.display.KeysLocked = true;
        rig.vm.clearReceived();
        rig.type("idCodeEdit", QStringLiteral("7x"));
        QCOMPARE(rig.find<QLineEdit>("idCodeEdit")->text(), QStringLiteral("7x"));
        rig.enter("idCodeEdit");
        rig.type("intervalEdit", QStringLiteral("5"));
        rig.enter("intervalEdit");
        QTest::mouseClick(rig.find<QLabel>("remainingValue"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.texts(), QStringList(6, Messages::kKeyLocked));
        for (const ScriptedDialogs::Shown &shown : rig.dialogs.shown)
            QCOMPARE(shown.icon, Dialogs::Icon::Critical);
        QVERIFY(rig.vm.received().isEmpty());
    }

    void busyKeysPassUnfiltered()
    {
        WindowRig rig;
        rig.download();
        rig.app.logger.DownloadBusy = true;
        rig.vm.clearReceived();
        rig.type("idCodeEdit", QStringLiteral("9z"));
        rig.enter("idCodeEdit");
        QCOMPARE(rig.find<QLineEdit>("idCodeEdit")->text(), QStringLiteral("9z"));
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.vm.received().isEmpty());
        rig.app.logger.DownloadBusy = false;
    }

    void mouseDownShowsHelp()
    {
        WindowRig rig;
        rig.download();
        QTest::mouseClick(rig.find<QLineEdit>("idCodeEdit"), Qt::LeftButton);
        QTest::mouseClick(rig.find<QLineEdit>("intervalEdit"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({LoggerSettings::kIdCodeHelp, LoggerSettings::kIntervalHelp}));
        QCOMPARE(rig.dialogs.shown.at(0).buttons, Dialogs::Buttons::Ok);
    }

    void erase_data()
    {
        // clang-format off
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("erased");
        QTest::newRow("confirmed") << int(Dialogs::Answer::Ok) << true;
        QTest::newRow("cancelled") << int(Dialogs::Answer::Cancel) << false;
        // clang-format on
    }
    void erase()
    {
        QFETCH(int, answer);
        QFETCH(bool, erased);
        WindowRig rig;
        rig.download();
        rig.poll.changes.clear();
        rig.vm.clearReceived();
        rig.dialogs.answers << Dialogs::Answer(answer);
        const double start = rig.clock.monotonicSeconds();
        QTest::mouseClick(rig.find<QLabel>("remainingValue"), Qt::LeftButton);
        QCOMPARE(rig.dialogs.texts(), QStringList({LoggerSettings::kEraseWarning}));
        QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Warning);
        QCOMPARE(rig.dialogs.shown.first().buttons, Dialogs::Buttons::OkCancelWithCancelDefault);
        QCOMPARE(rig.vm.received() == "EEE", erased);
        QCOMPARE(rig.vm.reg(MemoryMap::kRunCount) == 0, erased);
        QCOMPARE(rig.clock.monotonicSeconds() - start >= 5.0, erased);
        QCOMPARE(rig.poll.changes, erased ? QList<bool>({false, true}) : QList<bool>());
        // The lists stay as they were until the next download.
        QCOMPARE(rig.window->sets().rows(), 4);
    }

    void saveWritesTheListingAndNotes()
    {
        WindowRig rig;
        rig.download();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window));
        rig.clickSet(1);
        QTest::keyClicks(rig.find<QLineEdit>("note1"), QStringLiteral("Shift, A"));
        QTest::keyClicks(rig.find<QLineEdit>("note3"), QStringLiteral("the \"big\" press"));
        QCOMPARE(rig.window->notes(), QStringList({"Shift A", "", "the big press"}));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("set-1.dat"));
        rig.dialogs.fileNames << path;
        rig.find<QPushButton>("saveButton")->click();
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().kind, QStringLiteral("save"));
        QVERIFY(rig.app.files.FileChosen);
        QCOMPARE(rig.app.files.CurrentFileName, path);
        // What View File will read back: the same records and notes.
        const DatFile::Content content = DatFile::read(path);
        QVERIFY(content.ok());
        QVERIFY(content.table == rig.details());
        QCOMPARE(content.notes, rig.window->notes());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), DatFile::gridBytes(rig.details(), rig.window->notes()));
    }

    void saveFailureIsReported()
    {
        WindowRig rig;
        rig.download();
        QTemporaryDir dir;
        rig.dialogs.fileNames << dir.filePath(QStringLiteral("missing/set.dat"));
        rig.find<QPushButton>("saveButton")->click();
        QCOMPARE(rig.dialogs.shown.size(), 2);
        QVERIFY(rig.dialogs.shown.at(1).text.contains(QLatin1String("could not be saved")));
        QCOMPARE(rig.dialogs.shown.at(1).icon, Dialogs::Icon::Critical);
    }

    void saveWhileRecordingDoesNothing()
    {
        WindowRig rig;
        rig.download();
        rig.app.files.RecordingActive = true;
        rig.find<QPushButton>("saveButton")->click();
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void closingDuringTheDownloadEndsIt()
    {
        WindowRig rig;
        int sleeps = 0;
        rig.clock.duringSleep = [&rig, &sleeps] {
            if (++sleeps == 40 && rig.window) {
                if (qEnvironmentVariableIsSet("DOSEMETER_SCREENSHOTS"))
                    rig.window->grab().save(qEnvironmentVariable("DOSEMETER_SCREENSHOTS") +
                                            "/memory-download.png");
                rig.window->close();
            }
        };
        rig.download();
        rig.clock.duringSleep = nullptr;
        WindowRig::settle();
        QVERIFY(rig.window.isNull());
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(!rig.app.logger.DownloadBusy);
        QVERIFY(rig.poll.pollEnabled());
        QCOMPARE(rig.app.logger.RunCount, 0);
        QVERIFY(!rig.vm.dumping(rig.clock.monotonicSeconds()));
    }

    void closingDuringEraseWaitsForIt()
    {
        WindowRig rig;
        rig.download();
        rig.clock.duringSleep = [&rig] {
            if (rig.window && rig.window->isVisible())
                rig.window->close();
        };
        rig.dialogs.answers << Dialogs::Answer::Ok;
        QTest::mouseClick(rig.find<QLabel>("remainingValue"), Qt::LeftButton);
        rig.clock.duringSleep = nullptr;
        QVERIFY(rig.window); // kept alive through the erase's wait
        QVERIFY(!rig.window->isVisible());
        QVERIFY(rig.vm.received().endsWith("EEE"));
        WindowRig::settle();
        QVERIFY(rig.window.isNull());
        QVERIFY(!rig.app.logger.DownloadBusy);
    }

    void previewShowsTheReport()
    {
        WindowRig rig;
        rig.download();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window));
        rig.clickSet(3);
        rig.dialogs.inputs << QString("4");
        rig.find<QPushButton>("previewButton")->click();
        auto *preview =
            rig.window->findChild<QPrintPreviewDialog *>(QStringLiteral("PrintPreview"));
        QVERIFY(preview);
        QVERIFY(preview->isVisible());
        auto *pages = preview->findChild<QPrintPreviewWidget *>();
        QVERIFY(pages);
        pages->updatePreview();
        QCOMPARE(pages->pageCount(), 1);
        preview->close();
    }
};

DOSEMETER_TEST(TestLoggerWindow)
#include "tst_LoggerWindow.moc"
