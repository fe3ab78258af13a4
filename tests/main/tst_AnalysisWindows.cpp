// The analysis windows as the saved-file view opens them through AnalysisWindows: where
// they stand, one histogram at a time, no window when there is nothing to count, nothing
// once the records are gone, the statistics preset from the meter's settings, and names
// for every control.

#include "analysis/AssessmentWindow.h"
#include "analysis/HistogramWindow.h"
#include "analysis/PlotWindow.h"
#include "analysis/StatisticsWindow.h"
#include "data/SavedFileWindow.h"
#include "main/AnalysisWindows.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <qcustomplot.h>

namespace {

RecordTable records(const QStringList &levels)
{
    RecordTable table;
    QDateTime stamp(QDate(2009, 11, 30), QTime(8, 0));
    for (int i = 0; i < levels.size(); ++i) {
        table.appendRecord({QString::number(i + 1), stamp.toString(QStringLiteral("yyyy/MM/dd")),
                            stamp.toString(QStringLiteral("hh:mm:ss")), levels.at(i)});
        stamp = stamp.addSecs(60);
    }
    return table;
}

const RecordTable kFour = records({"085.0", "085.0", "085.3", "----"});

struct AnalysisRig : MainWindowRig {
    AnalysisWindows analysis{panel, app, dialogs};
    RecordTable table = kFour;
    bool gone = false;
    AnalysisWindows::Records list = [this]() -> const RecordTable * {
        return gone ? nullptr : &table;
    };

    AnalysisRig() { panel.show(); }
    QWidget *open(const char *name) { return panel.windows().window(QLatin1String(name)); }
};

// Runs what the event loop has queued, deferred deletes included.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

} // namespace

class TestAnalysisWindows : public QObject {
    Q_OBJECT

private slots:
    // The saved-file view's buttons open the analysis windows on the file's records.
    void savedFileViewOpensThem()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        rig.dialogs.fileNames.enqueue(testsupport::golden(QStringLiteral("recording-form.dat")));
        rig.panel.findChild<QAction *>(QStringLiteral("viewFileAction"))->trigger();
        auto *view = rig.panel.windows().window<SavedFileWindow>(QStringLiteral("SavedFileWindow"));
        QVERIFY(view);
        view->runToolbarCommand(QStringLiteral("Plot"));
        auto *plot = rig.panel.windows().window(QStringLiteral("PlotWindow"));
        QVERIFY(plot);
        view->runToolbarCommand(QStringLiteral("Ln"));
        view->histogramTenthDb();
        QVERIFY(rig.panel.windows().window(QStringLiteral("TenthDbHistogram")));
        view->histogramWholeDb();
        QVERIFY(rig.panel.windows().window(QStringLiteral("WholeDbHistogram")));
        QVERIFY(!rig.panel.windows().window(QStringLiteral("TenthDbHistogram")));
        view->runToolbarCommand(QStringLiteral("Statistics"));
        QVERIFY(rig.panel.windows().window(QStringLiteral("StatisticsWindow")));
        QVERIFY(rig.dialogs.shown.size() == 1); // the open dialog only
    }

    // Assessment again, of the same file, brings the open window forward with the user's
    // spans; of another file it replaces it.
    void assessmentAgainKeepsTheWork()
    {
        AnalysisRig rig;
        AssessmentWindow *window = rig.analysis.openAssessment(rig.list, "a.dat");
        QVERIFY(window);
        window->findChild<QDoubleSpinBox *>("firstRecordField")->setValue(2);
        window->findChild<QDoubleSpinBox *>("lastRecordField")->setValue(3);
        QTest::keyClicks(window->findChild<QLineEdit *>("reasonEdit"), "lunch");
        window->findChild<QPushButton *>("excludeButton")->click();
        QCOMPARE(window->excludedSpans().size(), 1);
        QVERIFY(!rig.analysis.openAssessment(rig.list, "a.dat"));
        settle();
        QCOMPARE(rig.open("AssessmentWindow"), window);
        QCOMPARE(window->excludedSpans().size(), 1);
        AssessmentWindow *other = rig.analysis.openAssessment(rig.list, "b.dat");
        QVERIFY(other);
        settle();
        QCOMPARE(rig.open("AssessmentWindow"), other);
        QVERIFY(other->excludedSpans().isEmpty());
    }

    void histogramOpening_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("dbMax");
        QTest::newRow("0.1 dB") << 0 << "TenthDbHistogram"
                                << "85.3";
        QTest::newRow("1 dB") << 1 << "WholeDbHistogram"
                              << "86";
    }
    void histogramOpening()
    {
        QFETCH(int, resolution);
        QFETCH(QString, name);
        AnalysisRig rig;
        HistogramWindow *window = rig.analysis.openHistogram(resolution, rig.list);
        QVERIFY(window);
        QCOMPARE(window->objectName(), name);
        QCOMPARE(rig.open(qPrintable(name)), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Histogram"));
        // The top left of the screen, cascaded off the main window there.
        QCOMPARE(window->pos(), QPoint(30, 30));
        QCOMPARE(window->findChild<QDoubleSpinBox *>("maximumField1")->text(), QStringLiteral("4"));
        QTEST(window->findChild<QDoubleSpinBox *>("maximumField2")->text(), "dbMax");
        QCOMPARE(rig.app.histogram.HistFirstRecord, 1);
        QCOMPARE(rig.app.histogram.HistLastRecord, 4);
        QVERIFY(!rig.app.histogram.HistLoading);
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void onlyOneHistogramAtATime()
    {
        AnalysisRig rig;
        QPointer<HistogramWindow> tenth = rig.analysis.openHistogram(0, rig.list);
        QPointer<HistogramWindow> whole = rig.analysis.openHistogram(1, rig.list);
        QVERIFY(whole);
        QVERIFY(!rig.open("TenthDbHistogram"));
        QCOMPARE(rig.open("WholeDbHistogram"), whole.data());
        settle();
        QVERIFY(tenth.isNull());
        // The same resolution again: the open one makes way for a new one.
        QPointer<HistogramWindow> again = rig.analysis.openHistogram(1, rig.list);
        settle();
        QVERIFY(whole.isNull());
        QCOMPARE(rig.open("WholeDbHistogram"), again.data());
        QVERIFY(!rig.open("TenthDbHistogram"));
    }

    // Nothing to count: a message instead of a histogram, and an open one stays.
    void noLevelsToCount_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::newRow("empty-list") << QStringList{};
        QTest::newRow("only-overloads") << QStringList{" OL ", "140.0"};
        QTest::newRow("no-level-at-all") << QStringList{"", "abc"};
    }
    void noLevelsToCount()
    {
        QFETCH(QStringList, levels);
        AnalysisRig rig;
        HistogramWindow *open = rig.analysis.openHistogram(1, rig.list);
        QVERIFY(open);
        rig.table = records(levels);
        QVERIFY(!rig.analysis.openHistogram(0, rig.list));
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{QStringLiteral("There are no levels to count: the list holds no "
                                            "records, or only overloads and records without a "
                                            "level.")});
        QVERIFY(!rig.open("TenthDbHistogram"));
        QCOMPARE(rig.open("WholeDbHistogram"), open);
    }

    void noLevelsForStatistics()
    {
        AnalysisRig rig;
        rig.table = records({"", "abc"});
        QVERIFY(!rig.analysis.openStatistics(rig.list));
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{QStringLiteral(
                     "There are no levels to count: no record of the list holds a level.")});
        QVERIFY(!rig.open("StatisticsWindow"));
    }

    void nothingOpensOnceTheRecordsAreGone()
    {
        AnalysisRig rig;
        rig.gone = true;
        QVERIFY(!rig.analysis.openPlot(rig.list));
        QVERIFY(!rig.analysis.openHistogram(0, rig.list));
        QVERIFY(!rig.analysis.openStatistics(rig.list));
        QVERIFY(!rig.analysis.openHistogram(2, AnalysisWindows::Records()));
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    // The records of a window are gone when it closes: a limit change then does nothing.
    void recordsOfAClosedWindow()
    {
        AnalysisRig rig;
        auto *source = new MeterWindow(rig.meter, rig.dialogs, "SavedFileWindow", "Saved File");
        source->setAttribute(Qt::WA_DeleteOnClose);
        source->show();
        const AnalysisWindows::Records list = AnalysisWindows::recordsOf(source, rig.table);
        QCOMPARE(list(), &rig.table);
        HistogramWindow *histogram = rig.analysis.openHistogram(0, list);
        QVERIFY(histogram);
        source->close();
        QVERIFY(!list());
        settle();
        QVERIFY(!list());
        auto *first = histogram->findChild<QDoubleSpinBox *>("minimumField1");
        first->setValue(2);
        QCOMPARE(rig.app.histogram.HistFirstRecord, 1);
        QCOMPARE(histogram->counts().TenthDbCounts[850], 2);
    }

    // Each "Plot" shows the records of its moment, in a window beside the main window.
    void plotReplacedByANewOne()
    {
        AnalysisRig rig;
        QPointer<PlotWindow> first = rig.analysis.openPlot(rig.list);
        QVERIFY(first);
        // The test screen (800 x 600) has no room beside the main window: the plot, wider
        // than the screen, keeps its left edge on it, cascaded off the main window.
        QCOMPARE(first->pos(), QPoint(0, 30));
        rig.table = records({"80", "81", "82", "83", "84", "85", "86"});
        PlotWindow *second = rig.analysis.openPlot(rig.list);
        settle();
        QVERIFY(first.isNull());
        QCOMPARE(rig.open("PlotWindow"), second);
        QCOMPARE(second->findChild<QCustomPlot *>("graph")->graph(0)->dataCount(), 7);
    }

    void statisticsPresetFromTheMeter_data()
    {
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchangeRate");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("not-known-yet") << 0 << 0 << -1 << QStringList{"90", "5", "80"};
        QTest::newRow("known") << 85 << 3 << 75 << QStringList{"85", "3", "75"};
        QTest::newRow("criterion-out-of-table") << 70 << 4 << 90 << QStringList{"90", "4", "90"};
    }
    void statisticsPresetFromTheMeter()
    {
        QFETCH(int, criterion);
        QFETCH(int, exchangeRate);
        QFETCH(int, threshold);
        QFETCH(QStringList, shown);
        AnalysisRig rig;
        rig.state.status.CriterionLevel = criterion;
        rig.state.status.ExchangeRate = exchangeRate;
        rig.state.ThresholdLevel = threshold;
        StatisticsWindow *window = rig.analysis.openStatistics(rig.list);
        QVERIFY(window);
        QCOMPARE(QStringList({window->findChild<QComboBox *>("criterionChoice")->currentText(),
                              window->findChild<QComboBox *>("exchangeRateChoice")->currentText(),
                              window->findChild<QDoubleSpinBox *>("thresholdField")->text()}),
                 shown);
        QCOMPARE(window->windowTitle(), QStringLiteral("Exposure Statistics"));
    }
};

DOSEMETER_TEST(TestAnalysisWindows)
#include "tst_AnalysisWindows.moc"
