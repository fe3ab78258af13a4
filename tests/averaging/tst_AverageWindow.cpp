// The averaging window through its controls, opened by the main window's "Average" on the
// virtual meter; the poll is driven by the test and averagingTimer_ ticks once per fake second.

#include "averaging/AverageWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/GridView.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <qcustomplot.h>

namespace {

struct WindowRig : MainWindowRig {
    QPointer<AverageWindow> window;

    WindowRig()
    {
        vm.setStatusByte(0x1A); // criterion 85 dB, exchange rate 5 dB
        load();
        tick(85.0);
        open();
    }
    ~WindowRig() { delete window.data(); }

    void open()
    {
        panel.averageButton_->click();
        window = panel.windows().window<AverageWindow>(QStringLiteral("AverageWindow"));
        QVERIFY(window);
    }
    // Seconds of the run: the wall clock moves on by one second before each tick.
    void seconds(int count)
    {
        for (int i = 0; i < count; ++i) {
            clock.advance(1.0);
            window->tick();
        }
    }
    QToolButton *toolButton(const char *key) const
    {
        return qobject_cast<QToolButton *>(window->toolbar_->widgetForAction(
            window->toolbar_->findChild<QAction *>(QLatin1String(key))));
    }
    void click(const char *key) const { toolButton(key)->click(); }
    // The keys of the enabled toolbar buttons, in their order.
    QString enabled() const
    {
        QStringList keys;
        for (const QAction *action : window->toolbar_->actions()) {
            // The commands; not the "Keep in library" box beside Save.
            if (!action->isSeparator() && action->isEnabled() && !action->objectName().isEmpty())
                keys << action->objectName();
        }
        return keys.join(QLatin1Char(' '));
    }
    QString label(const char *name) const
    {
        return window->findChild<QLabel *>(QLatin1String(name))->text();
    }
    QStringList row(int record) const
    {
        QStringList cells;
        const QAbstractItemModel *model = window->grid_->model();
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(record - 1, c).data().toString();
        return cells;
    }
    // The chart's points as "x:y".
    QStringList points() const
    {
        QStringList out;
        for (const QCPGraphData &point : *window->chart_->graph(0)->data())
            out << QStringLiteral("%1:%2").arg(point.key).arg(point.value);
        return out;
    }
    // A run of three intervals of 10 s from 10:00:00: 85.0, 90.3 and overload.
    void threeIntervals()
    {
        clock.setNow(QDateTime(QDate(2009, 11, 30), QTime(10, 0)));
        click("Start");
        for (double level : {85.0, 90.3, 205.0}) {
            tick(level);
            seconds(10);
        }
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a PDF, runs of blanks made single.
QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", path, "-"});
    if (!pdftotext.waitForFinished(30000))
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
}

} // namespace

class TestAverageWindow : public QObject {
    Q_OBJECT

private slots:
    void runFillsGridAndChart()
    {
        WindowRig rig;
        // No run before this one: no point at 0 dB, the first record lands at x = 1.
        QCOMPARE(rig.points(), QStringList{});
        QVERIFY(rig.window->grid_->isColumnHidden(AverageRun::kLaeqColumn));
        rig.window->laeqColumnBox_->click();
        QVERIFY(!rig.window->grid_->isColumnHidden(AverageRun::kLaeqColumn));
        rig.threeIntervals();
        QCOMPARE(rig.window->grid_->model()->rowCount(), 3);
        QCOMPARE(rig.row(1), (QStringList{"1", "2009/11/30", "10:00:10", " 85", " 85.0"}));
        QCOMPARE(rig.row(3), (QStringList{"3", "2009/11/30", "10:00:30", " 140", " 140.0"}));
        QCOMPARE(rig.points(), (QStringList{"1:85", "2:90.3", "3:140"}));
        QCOMPARE(rig.label("startTimeValue"), QStringLiteral("10:00:00"));
        QCOMPARE(rig.label("intervalValue"), QStringLiteral("00:00:10"));
        QCOMPARE(rig.label("criterionValue"), rig.text("criterionValue"));
        QCOMPARE(rig.label("exchangeRateValue"), rig.text("exchangeRateValue"));
        QCOMPARE(rig.label("laeqValue"), QStringLiteral("135.2"));
        QCOMPARE(rig.label("runTimeValue"), QString());
        rig.click("Stop");
        QCOMPARE(rig.label("runTimeValue"), QStringLiteral("00:00:30"));
        QCOMPARE(rig.label("splMaxValue"), QStringLiteral("140"));
        QCOMPARE(rig.label("peakValue"), QStringLiteral("Yes"));
        QVERIFY(!rig.window->averagingTimer_->isActive());
    }

    void toolbarAndTimer_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<bool>("timer");
        QTest::newRow("opened") << QStringList{} << "Open Start Interval Print" << false;
        QTest::newRow("running") << QStringList{"Start"} << "Save Open Pause Stop Print" << true;
        QTest::newRow("paused") << QStringList{"Start", "Pause"} << "Save Open Start Stop Print"
                                << true;
        QTest::newRow("resumed") << QStringList{"Start", "Pause", "Start"}
                                 << "Save Open Pause Stop Print" << true;
        QTest::newRow("stopped") << QStringList{"Start", "Stop"} << "Save Open Start Interval Print"
                                 << false;
        QTest::newRow("meter-left-dba")
            << QStringList{"Start", "dose", "tick"} << "Save Open Start Interval Print" << false;
        QTest::newRow("start-outside-dba")
            << QStringList{"dose", "Start"} << "Open Start Interval Print" << false;
    }
    void toolbarAndTimer()
    {
        QFETCH(QStringList, steps);
        WindowRig rig;
        for (const QString &step : steps) {
            if (step == "dose") {
                rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
                rig.tick(85.0);
            } else if (step == "tick") {
                rig.seconds(1);
            } else {
                rig.click(qPrintable(step));
            }
        }
        QTEST(rig.enabled(), "enabled");
        QTEST(rig.window->averagingTimer_->isActive(), "timer");
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void pauseDropsTheIntervalAndKeepsNumbering()
    {
        WindowRig rig;
        rig.click("Start");
        rig.seconds(15);
        rig.click("Pause");
        rig.tick(95.0); // sampled by no one while paused
        rig.seconds(30);
        QCOMPARE(rig.window->grid_->model()->rowCount(), 1);
        rig.tick(88.0);
        rig.click("Start");
        rig.seconds(9);
        QCOMPARE(rig.window->grid_->model()->rowCount(), 1);
        rig.seconds(1);
        QCOMPARE(rig.row(2).at(0) + rig.row(2).at(3), QStringLiteral("2 88"));
        rig.click("Stop");
        QCOMPARE(rig.label("runTimeValue"), QStringLiteral("00:00:20"));
        QCOMPARE(rig.label("splMaxValue"), QStringLiteral("88"));
    }

    void closingMidRunStopsTheTimerAndReopeningCarriesOn()
    {
        WindowRig rig;
        rig.click("Start");
        rig.seconds(25);
        QTimer *timer = rig.window->averagingTimer_;
        rig.window->close();
        QVERIFY(!timer->isActive());
        QVERIFY(!rig.app.windows.AverageWindowOpen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(rig.window.isNull());

        rig.tick(91.0);
        rig.open();
        QCOMPARE(rig.points(), QStringList{"0:85"});
        QCOMPARE(rig.label("runTimeValue"), QString());
        rig.click("Start");
        rig.seconds(10);
        QCOMPARE(rig.row(1).first(), QStringLiteral("3"));
        QCOMPARE(rig.points(), (QStringList{"0:85", "1:91"}));
    }

    void newestRecordStaysInView()
    {
        WindowRig rig;
        QTableView *grid = rig.window->grid_;
        grid->setFixedHeight(grid->verticalHeader()->defaultSectionSize() * 6);
        rig.dialogs.inputs << QString("0:0:1");
        rig.click("Interval");
        rig.click("Start");
        QCOMPARE(rig.label("intervalValue"), QStringLiteral("00:00:01"));
        rig.seconds(12);
        const QAbstractItemModel *model = grid->model();
        QCOMPARE(model->rowCount(), 12);
        const QRect view = grid->viewport()->rect();
        QVERIFY(view.contains(grid->visualRect(model->index(11, 0))));
        QVERIFY(!view.intersects(grid->visualRect(model->index(0, 0))));
        QCOMPARE(grid->currentIndex().row(), 11);
        // A user reading older records is left where they are.
        grid->scrollToTop();
        rig.seconds(1);
        QCOMPARE(model->rowCount(), 13);
        QVERIFY(view.contains(grid->visualRect(model->index(0, 0))));
    }

    void saveAndOpenThroughTheDialogs()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("run.avg");
        const QString again = dir.filePath("again.avg");
        WindowRig rig;
        QTest::keyClicks(rig.window->jobEdit_, "Press \"line\" 4"); // a quote cannot be stored
        QTest::keyClicks(rig.window->nameEdit_, "A. Worker");
        QTest::keyClicks(rig.window->idEdit_, "0042");
        rig.threeIntervals(); // as the golden file has it
        rig.click("Stop");
        rig.dialogs.fileNames << saved;
        rig.click("Save");
        QCOMPARE(rig.app.files.CurrentFileName, saved);
        QCOMPARE(fileBytes(saved), fileBytes(testsupport::golden("average.avg")));
        // Opened and saved again, the file stays as it was.
        rig.dialogs.fileNames << saved << again;
        QVERIFY(rig.label("laeqValue") != QStringLiteral("-"));
        rig.click("Open");
        QCOMPARE(rig.label("laeqValue"), QStringLiteral("-")); // the file holds none
        rig.click("Save");
        QCOMPARE(fileBytes(again), fileBytes(saved));
        QCOMPARE(rig.dialogs.shown.size(), 3); // save, open, save: no message

        // Opened in a window opened anew.
        rig.window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        rig.open();
        rig.dialogs.fileNames << saved;
        rig.click("Open");
        QCOMPARE(rig.window->jobEdit_->text(), QStringLiteral("Press line 4"));
        QCOMPARE(rig.window->idEdit_->text(), QStringLiteral("0042"));
        QCOMPARE(rig.label("intervalValue"), QStringLiteral("00:00:10"));
        QCOMPARE(rig.points(), (QStringList{"1:85", "2:90.3", "3:140"}));
        QCOMPARE(rig.window->chart_->xAxis->range().lower, 1.0);
        QCOMPARE(rig.window->chart_->xAxis->range().upper, 3.0);
        QVERIFY(!rig.toolButton("Save")->isEnabled());
    }

    void printsToPdf()
    {
        QTemporaryDir dir;
        const QString printed = dir.filePath("printed.pdf");
        const QString exported = dir.filePath("exported.pdf");
        WindowRig rig;
        QTest::keyClicks(rig.window->jobEdit_, "Press line 4");
        rig.threeIntervals();
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
        };
        rig.click("Print");
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("Average"));
        rig.dialogs.fileNames << exported;
        rig.window->pdfAction_->trigger();
        rig.window->previewAction_->trigger();
        QVERIFY(rig.window->findChild<QPrintPreviewDialog *>("PrintPreview"));
        for (const QString &pdf : {printed, exported}) {
            const QString text = pdfText(pdf);
            QVERIFY2(text.contains("- JOB: Press line 4"), qPrintable(text));
            QVERIFY2(text.contains("- 3 2009/11/30 10:00:30 140"), qPrintable(text));
        }
    }

    // Printing lets timers run; the window, closed by one of them, closes once the print
    // is done rather than under it.
    void closedWhilePrinting()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("printed.pdf");
        WindowRig rig;
        rig.threeIntervals();
        QPointer<AverageWindow> window = rig.window;
        rig.dialogs.preparePrinter = [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            QTimer::singleShot(0, window, [window] { window->close(); });
        };
        QEventLoop loop; // the click comes from the event loop, as a user's does
        QTimer::singleShot(0, &loop, [&] {
            rig.click("Print");
            QVERIFY(window);
            QCOMPARE(window->windowTitle(), QStringLiteral("Average"));
            loop.quit();
        });
        loop.exec();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        QVERIFY(!rig.app.windows.AverageWindowOpen);
        QVERIFY(pdfText(pdf).contains("- 3 2009/11/30 10:00:30 140"));
    }
};

DOSEMETER_TEST(TestAverageWindow)
#include "tst_AverageWindow.moc"
