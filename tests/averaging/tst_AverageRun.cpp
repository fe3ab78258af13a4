#include "AverageRig.h"

#include "support/TestMain.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

class TestAverageRun : public QObject {
    Q_OBJECT

private slots:
    void steadyLevelRecordsEveryInterval()
    {
        AverageRig rig;
        QVERIFY(rig.start());
        rig.ticks(9, 85.0f);
        QCOMPARE(rig.run.grid().rows(), 1);
        rig.tick(85.0f);
        QCOMPARE(rig.row(1), (QStringList{"1", "2009/11/30", "10:00:10", " 85", " 85.0"}));
        rig.ticks(20, 85.0f);
        QCOMPARE(rig.run.grid().rows(), 4);
        QCOMPARE(rig.row(3), (QStringList{"3", "2009/11/30", "10:00:30", " 85", " 85.0"}));
        rig.run.Stop();
        const AverageRun::Labels &labels = rig.run.labels();
        QCOMPARE(labels.startDate, QStringLiteral("2009/11/30"));
        QCOMPARE(labels.startTime, QStringLiteral("10:00:00"));
        QCOMPARE(labels.interval, QStringLiteral("00:00:10"));
        QCOMPARE(labels.criterion, QStringLiteral("85"));
        QCOMPARE(labels.exchangeRate, QStringLiteral("5"));
        QCOMPARE(labels.runTime, QStringLiteral("00:00:30"));
        QCOMPARE(labels.splMax, QStringLiteral("85"));
        QCOMPARE(labels.peak, QStringLiteral("No"));
        QCOMPARE(labels.laeq, QStringLiteral("85.0"));
        QCOMPARE(rig.state.AverageCount, 0);
    }

    void intervalMean_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<QList<float>>("levels");
        QTest::addColumn<QString>("dba");
        QTest::addColumn<QString>("laeq");
        QTest::newRow("85.0-and-85.1-rounds-down") << 2 << QList<float>{85.0f, 85.1f} << " 85"
                                                   << " 85.1";
        QTest::newRow("ten-90.3") << 10 << QList<float>(10, 90.3f) << " 90.3"
                                  << " 90.3";
        QTest::newRow("three-85.1") << 3 << QList<float>(3, 85.1f) << " 85.1"
                                    << " 85.1";
        QTest::newRow("under-range-as-67.9")
            << 2 << QList<float>{kUnderRangeValue, 80.0f} << " 73.9"
            << " 77.2";
        QTest::newRow("overload-as-140") << 2 << QList<float>{kOverloadValue, 80.0f} << " 110"
                                         << " 137.0";
        QTest::newRow("interval-0-every-tick") << 0 << QList<float>{91.2f} << " 91.2"
                                               << " 91.2";
        QTest::newRow("halves-80-and-100")
            << 10 << (QList<float>(5, 80.0f) << QList<float>(5, 100.0f)) << " 90"
            << " 97.0";
    }
    void intervalMean()
    {
        QFETCH(int, interval);
        QFETCH(QList<float>, levels);
        AverageRig rig;
        rig.setInterval(interval);
        QVERIFY(rig.start());
        for (int i = 0; i < levels.size(); ++i)
            QCOMPARE(rig.tick(levels.at(i)), i + 1 == levels.size() ? AverageRun::Tick::Recorded
                                                                    : AverageRun::Tick::Sampled);
        QTEST(rig.run.grid().text(1, 3), "dba");
        QTEST(rig.run.grid().text(1, AverageRun::kLaeqColumn), "laeq");
    }

    void runFigures_data()
    {
        QTest::addColumn<QList<float>>("levels"); // interval 2
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("peak");
        QTest::addColumn<QString>("laeq");
        QTest::newRow("halves-80-and-100")
            << (QList<float>(4, 80.0f) << QList<float>(4, 100.0f)) << "100"
            << "No"
            << "97.0";
        QTest::newRow("overload") << QList<float>{85.0f, kOverloadValue, 85.0f, 85.0f} << "140"
                                  << "Yes"
                                  << "134.0";
        QTest::newRow("under-range-only") << QList<float>(2, kUnderRangeValue) << "67.9"
                                          << "No"
                                          << "67.9";
        // The maximum counts every sample; the LAeq only completed intervals.
        QTest::newRow("unfinished-interval") << QList<float>{70.0f, 70.0f, 99.5f} << "99.5"
                                             << "No"
                                             << "70.0";
        QTest::newRow("nothing-recorded") << QList<float>{88.8f} << "88.8"
                                          << "No"
                                          << "-";
        QTest::newRow("nothing-sampled") << QList<float>() << "0"
                                         << "No"
                                         << "-";
    }
    void runFigures()
    {
        QFETCH(QList<float>, levels);
        AverageRig rig;
        rig.setInterval(2);
        QVERIFY(rig.start());
        for (float level : levels)
            rig.tick(level);
        rig.run.Stop();
        QTEST(rig.run.labels().splMax, "max");
        QTEST(rig.run.labels().peak, "peak");
        QTEST(rig.run.labels().laeq, "laeq");
    }

    void gridScrolling_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<int>("topRow");
        QTest::newRow("first") << 1 << 0 << 1;
        QTest::newRow("eighth-still-in-view") << 8 << 7 << 1;
        QTest::newRow("ninth-scrolls") << 9 << 8 << 2;
        QTest::newRow("twelfth") << 12 << 11 << 5;
    }
    void gridScrolling()
    {
        QFETCH(int, records);
        AverageRig rig;
        rig.setInterval(0);
        QVERIFY(rig.start());
        rig.ticks(records, 80.0f);
        QCOMPARE(rig.run.grid().rows(), records + 1);
        QTEST(rig.run.selectedRow(), "selectedRow");
        QTEST(rig.run.topRow(), "topRow");
    }

    void stopMidInterval()
    {
        AverageRig rig;
        QVERIFY(rig.start());
        rig.ticks(15, 85.0f);
        rig.run.Stop();
        QCOMPARE(rig.run.grid().rows(), 2);
        QCOMPARE(rig.run.labels().runTime, QStringLiteral("00:00:10"));
        QCOMPARE(rig.run.timerRunning(), false);
        QCOMPARE(rig.tick(85.0f), AverageRun::Tick::Idle);
        QCOMPARE(rig.run.grid().rows(), 2);
    }

    void pauseAndResumeKeepNumbering()
    {
        AverageRig rig;
        QVERIFY(rig.start());
        rig.ticks(10, 85.0f);
        rig.ticks(4, 95.0f);
        rig.run.Pause();
        QVERIFY(rig.run.timerRunning());
        QCOMPARE(rig.tick(99.0f), AverageRun::Tick::Paused);
        QVERIFY(rig.start());
        // The four samples before the pause are dropped: ten new ones make record 2.
        rig.ticks(9, 80.0f);
        QCOMPARE(rig.run.grid().rows(), 2);
        rig.tick(80.0f);
        QCOMPARE(rig.row(2).mid(0, 4), (QStringList{"2", "2009/11/30", "10:00:25", " 80"}));
        QCOMPARE(rig.run.labels().startTime, QStringLiteral("10:00:00"));
        rig.run.Stop();
        QCOMPARE(rig.run.labels().runTime, QStringLiteral("00:00:20"));
        // A sample taken before the pause still counts for the maximum.
        QCOMPARE(rig.run.labels().splMax, QStringLiteral("95"));
    }

    void leavingDbaEndsTheRun()
    {
        AverageRig rig;
        QSignalSpy ended(&rig.run, &AverageRun::runEnded);
        QVERIFY(rig.start());
        rig.ticks(12, 85.0f);
        rig.display.DbaMode = false;
        QCOMPARE(rig.tick(85.0f), AverageRun::Tick::LeftDba);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).toBool(), true);
        QCOMPARE(rig.run.labels().runTime, QStringLiteral("00:00:10"));
        QCOMPARE(rig.run.labels().peak, QStringLiteral("No"));
        QCOMPARE(rig.available(), QStringLiteral("Save Open Start Interval Print"));
        QVERIFY(!rig.run.timerRunning());
        // Start outside dBA mode is ignored.
        QVERIFY(!rig.start());
        QCOMPARE(rig.run.phase(), AverageRun::Phase::Idle);
    }

    void toolbar_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QString>("available");
        QTest::newRow("load") << QStringList() << "Open Start Interval Print";
        QTest::newRow("start") << QStringList{"start"} << "Save Open Pause Stop Print";
        QTest::newRow("pause") << QStringList{"start", "pause"} << "Save Open Start Stop Print";
        QTest::newRow("resume") << QStringList{"start", "pause", "start"}
                                << "Save Open Pause Stop Print";
        QTest::newRow("stop") << QStringList{"start", "stop"} << "Save Open Start Interval Print";
        QTest::newRow("stop-while-paused")
            << QStringList{"start", "pause", "stop"} << "Save Open Start Interval Print";
        QTest::newRow("start-outside-dba")
            << QStringList{"no-dba", "start"} << "Open Start Interval Print";
    }
    void toolbar()
    {
        QFETCH(QStringList, commands);
        AverageRig rig;
        for (const QString &command : commands) {
            if (command == "start")
                rig.start();
            else if (command == "pause")
                rig.run.Pause();
            else if (command == "stop")
                rig.run.Stop();
            else if (command == "no-dba")
                rig.display.DbaMode = false;
        }
        QTEST(rig.available(), "available");
        QCOMPARE(rig.run.timerRunning(), rig.run.phase() != AverageRun::Phase::Idle);
    }

    void chart()
    {
        AverageRig rig;
        rig.state.LastAverage = 723; // a run before this window
        rig.run.reset();
        QCOMPARE(rig.run.chart().values, QVector<double>{72.3});
        rig.setInterval(2);
        QSignalSpy points(&rig.run, &AverageRun::pointAppended);
        QVERIFY(rig.start());
        rig.ticks(4, 85.0f);
        const AverageRun::Chart &chart = rig.run.chart();
        QCOMPARE(chart.xMin, 0.0);
        QCOMPARE(chart.xMax, 20.0);
        QCOMPARE(chart.yMin, 68.0);
        QCOMPARE(chart.yMax, 140.0);
        QCOMPARE(chart.firstX, 0.0);
        QCOMPARE(chart.values, (QVector<double>{72.3, 85.0, 85.0}));
        QCOMPARE(points.size(), 2);
        QCOMPARE(points.at(1).at(0).toDouble(), 2.0);
    }

    void closingStopsTheTimerAndKeepsTheCount()
    {
        AverageRig rig;
        auto timer = std::make_unique<QTimer>();
        rig.run.driveTimer(*timer, rig.display);
        QVERIFY(!timer->isActive());
        QVERIFY(rig.start());
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        rig.ticks(25, 88.0f);
        rig.run.Pause();
        rig.run.stop(); // the window closes mid-run: no end-run procedure
        QVERIFY(!timer->isActive());
        QVERIFY(!rig.state.RunPaused);
        QCOMPARE(rig.state.AverageCount, 2);

        // The window opens again on the same state.
        AverageRun reopened(rig.state, rig.clock);
        reopened.reset();
        QCOMPARE(reopened.chart().values, QVector<double>{88.0});
        QVERIFY(reopened.Start(rig.display, "85", "5"));
        for (int i = 0; i < 10; ++i) {
            rig.clock.advance(1.0);
            reopened.tick(rig.display);
        }
        QCOMPARE(reopened.grid().text(1, 0), QStringLiteral("3"));

        // A timer left running when its run goes away is stopped.
        {
            AverageState state;
            AverageRun shortLived(state, rig.clock);
            shortLived.reset();
            shortLived.driveTimer(*timer, rig.display);
            QVERIFY(shortLived.Start(rig.display, "85", "5"));
            QVERIFY(timer->isActive());
        }
        QVERIFY(!timer->isActive());
    }

    void runTime_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("one-hour-one-second") << qint64(3601) << "01:00:01";
        QTest::newRow("beyond-a-day") << qint64(90000) << "25:00:00";
    }
    void runTime()
    {
        QFETCH(qint64, seconds);
        QTEST(AverageRun::runTimeText(seconds), "text");
    }
};

DOSEMETER_TEST(TestAverageRun)
#include "tst_AverageRun.moc"
