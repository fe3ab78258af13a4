#include "AnalysisRig.h"

#include "analysis/ExposureStatistics.h"
#include "analysis/RecordLevels.h"
#include "link/MeterState.h"
#include "support/TestMain.h"

#include <QTest>

using Settings = ExposureStatistics::Settings;

Q_DECLARE_METATYPE(std::optional<Settings>)

namespace {

const QDateTime kStart(QDate(2009, 11, 30), QTime(8, 0));

std::optional<Settings> settings(int criterion, int exchangeRate, double threshold)
{
    return Settings{criterion, exchangeRate, threshold};
}

// A table with the given date and time cells and a level of 85.0 each.
RecordTable stamped(const QList<QPair<QString, QString>> &stamps)
{
    RecordTable table;
    int number = 1;
    for (const auto &[date, time] : stamps)
        table.appendRecord({QString::number(number++), date, time, "085.0"});
    return table;
}

} // namespace

class TestExposureStatistics : public QObject {
    Q_OBJECT

private slots:
    void figures_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::addColumn<int>("stepSeconds");
        QTest::addColumn<std::optional<Settings>>("settings");
        QTest::addColumn<QStringList>("lines");
        const std::optional<Settings> none;
        const QStringList flat90{"records: 480", "skipped: 0", "min: 90.0",
                                 "max: 90.0",    "mean: 90.0", "laeq: 90.0",
                                 "l10: 90.0",    "l50: 90.0",  "l90: 90.0"};
        // clang-format off
        QTest::newRow("equal-halves-of-80-and-100")
            << QStringList{"080.0", "100.0", "080.0", "100.0"} << 1 << none
            << QStringList{"records: 4", "skipped: 0", "min: 80.0", "max: 100.0", "mean: 90.0",
                           "laeq: 97.0", "l10: 100.0", "l50: 100.0", "l90: 80.0"};
        QTest::newRow("8-hours-at-90")
            << rig::repeated("090.0", 480) << 60 << settings(90, 5, 80)
            << flat90 + QStringList{"period: 60.0", "duration: 08:00:00", "dose: 100.00",
                                    "twa: 90.0"};
        QTest::newRow("4-hours-at-95")
            << rig::repeated("095.0", 240) << 60 << settings(90, 5, 80)
            << QStringList{"records: 240", "skipped: 0", "min: 95.0", "max: 95.0", "mean: 95.0",
                           "laeq: 95.0", "l10: 95.0", "l50: 95.0", "l90: 95.0",
                           "period: 60.0", "duration: 04:00:00", "dose: 100.00", "twa: 90.0"};
        // 16.61 · log10(0.5) puts the TWA at 84.9999 dB: the nearest tenth is 85.0.
        QTest::newRow("half-dose-is-85")
            << rig::repeated("090.0", 240) << 60 << settings(90, 5, 80)
            << QStringList{"records: 240", "skipped: 0", "min: 90.0", "max: 90.0", "mean: 90.0",
                           "laeq: 90.0", "l10: 90.0", "l50: 90.0", "l90: 90.0",
                           "period: 60.0", "duration: 04:00:00", "dose: 50.00", "twa: 85.0"};
        QTest::newRow("3-db-exchange-rate")
            << rig::repeated("088.0", 480) << 60 << settings(85, 3, 80)
            << QStringList{"records: 480", "skipped: 0", "min: 88.0", "max: 88.0", "mean: 88.0",
                           "laeq: 88.0", "l10: 88.0", "l50: 88.0", "l90: 88.0",
                           "period: 60.0", "duration: 08:00:00", "dose: 200.00", "twa: 88.0"};
        QTest::newRow("threshold-counts-its-own-level")
            << rig::repeated("080.0", 480) << 60 << settings(90, 5, 80)
            << QStringList{"records: 480", "skipped: 0", "min: 80.0", "max: 80.0", "mean: 80.0",
                           "laeq: 80.0", "l10: 80.0", "l50: 80.0", "l90: 80.0",
                           "period: 60.0", "duration: 08:00:00", "dose: 25.00", "twa: 80.0"};
        QTest::newRow("below-threshold-no-dose")
            << rig::repeated("079.9", 480) << 60 << settings(90, 5, 80)
            << QStringList{"records: 480", "skipped: 0", "min: 79.9", "max: 79.9", "mean: 79.9",
                           "laeq: 79.9", "l10: 79.9", "l50: 79.9", "l90: 79.9",
                           "period: 60.0", "duration: 08:00:00", "dose: 0.00", "twa: "};
        QTest::newRow("overload-under-range-skipped")
            << QStringList{"----", " OL ", "abc", "085.0", ""} << 1 << none
            << QStringList{"records: 3", "skipped: 2", "min: 67.9", "max: 140.0", "mean: 97.6",
                           "laeq: 135.2", "l10: 140.0", "l50: 85.0", "l90: 67.9"};
        QTest::newRow("ten-levels")
            << QStringList{"86", "81", "90", "84", "83", "88", "82", "85", "89", "87"} << 1 << none
            << QStringList{"records: 10", "skipped: 0", "min: 81.0", "max: 90.0", "mean: 85.5",
                           "laeq: 86.4", "l10: 90.0", "l50: 86.0", "l90: 82.0"};
        QTest::newRow("mean-rounds-half-up")
            << QStringList{"85.0", "85.1"} << 1 << none
            << QStringList{"records: 2", "skipped: 0", "min: 85.0", "max: 85.1", "mean: 85.1",
                           "laeq: 85.1", "l10: 85.1", "l50: 85.1", "l90: 85.0"};
        QTest::newRow("one-record-has-no-period")
            << QStringList{"085.0"} << 1 << settings(90, 5, 80)
            << QStringList{"records: 1", "skipped: 0", "min: 85.0", "max: 85.0", "mean: 85.0",
                           "laeq: 85.0", "l10: 85.0", "l50: 85.0", "l90: 85.0",
                           "period: ", "duration: ", "dose: ", "twa: "};
        // clang-format on
    }
    void figures()
    {
        QFETCH(QStringList, levels);
        QFETCH(int, stepSeconds);
        QFETCH(std::optional<Settings>, settings);
        const RecordTable table = rig::records(levels, kStart, stepSeconds);
        const ExposureStatistics statistics = ExposureStatistics::compute(table, settings);
        QVERIFY(statistics.ok());
        QTEST(statistics.lines(), "lines");
    }

    void noLevels_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::addColumn<int>("skipped");
        QTest::newRow("empty-list") << QStringList{} << 0;
        QTest::newRow("no-numbers") << QStringList{"", "abc", "dB"} << 3;
        QTest::newRow("not-a-sound-level") << QStringList{"1000", "1e300"} << 2;
    }
    void noLevels()
    {
        QFETCH(QStringList, levels);
        const ExposureStatistics statistics =
            ExposureStatistics::compute(rig::records(levels), settings(90, 5, 80));
        QVERIFY(!statistics.ok());
        QCOMPARE(statistics.message,
                 QStringLiteral("There are no levels to count: no record of the list holds a "
                                "level."));
        QCOMPARE(statistics.records, 0);
        QTEST(statistics.skipped, "skipped");
    }

    void period_data()
    {
        using Stamps = QList<QPair<QString, QString>>;
        QTest::addColumn<Stamps>("stamps");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("duration");
        const QString day = "2009/11/30";
        // clang-format off
        QTest::newRow("a-pause-does-not-count")
            << Stamps{{day, "10:00:00.0"}, {day, "10:00:02.0"}, {day, "10:00:04.0"},
                      {day, "11:00:00.0"}, {day, "11:00:02.0"}}
            << "2.0" << "00:00:10";
        QTest::newRow("midnight-and-a-new-month")
            << Stamps{{day, "23:59:58"}, {day, "23:59:59"}, {"2009/12/01", "00:00:00"},
                      {"2009/12/01", "00:00:01"}}
            << "1.0" << "00:00:04";
        QTest::newRow("new-year")
            << Stamps{{"2009/12/31", "23:59:00.0"}, {"2010/01/01", "00:00:00.0"}}
            << "60.0" << "00:02:00";
        QTest::newRow("tenths")
            << Stamps{{day, "10:00:00.5"}, {day, "10:00:01.0"}, {day, "10:00:01.5"}}
            << "0.5" << "00:00:02";
        // The period is the median; each record lasts its own step: 1 + 1 + 3 + 3 + 3 s.
        QTest::newRow("even-count-middle-two")
            << Stamps{{day, "10:00:00"}, {day, "10:00:01"}, {day, "10:00:02"},
                      {day, "10:00:05"}, {day, "10:00:08"}}
            << "2.0" << "00:00:11";
        QTest::newRow("unreadable-stamps-left-out")
            << Stamps{{day, "10:00:00"}, {day, "10:00:03"}, {"30/11/2009", "10:00:04"},
                      {day, "10:00:60"}, {day, "10:00:09"}, {day, "10:00:12"}}
            << "3.0" << "00:00:18";
        QTest::newRow("no-readable-pair")
            << Stamps{{day, "10:00:00"}, {"", ""}, {day, "10:00:04"}} << "" << "";
        QTest::newRow("clock-running-back")
            << Stamps{{day, "10:00:09"}, {day, "10:00:06"}, {day, "10:00:03"}} << "" << "";
        // clang-format on
    }
    void period()
    {
        using Stamps = QList<QPair<QString, QString>>;
        QFETCH(Stamps, stamps);
        QFETCH(QString, period);
        QFETCH(QString, duration);
        const ExposureStatistics statistics =
            ExposureStatistics::compute(stamped(stamps), settings(90, 5, 80));
        const QStringList lines = statistics.lines();
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines.at(9), "period: " + period);
        QCOMPARE(lines.at(10), "duration: " + duration);
    }

    // How long each record stands for, in tenths of a second, from its time stamps.
    void recordDurations_data()
    {
        QTest::addColumn<QStringList>("times"); // on one day; "?" cannot be read
        QTest::addColumn<QString>("durations"); // empty: none
        // clang-format off
        QTest::newRow("regular") << QStringList{"10:00:00", "10:00:02", "10:00:04"}
                                 << "20,20,20";
        QTest::newRow("period-changes-to-a-minute")
            << QStringList{"10:00:00", "10:00:01", "10:00:02", "10:00:03", "10:01:03", "10:02:03"}
            << "10,10,10,600,600,600";
        // 297 s among 1-s steps: the meter was paused; the gap is not measured.
        QTest::newRow("pause-not-measured")
            << QStringList{"10:00:00", "10:00:01", "10:00:02", "10:00:03", "10:05:00",
                           "10:05:01", "10:05:02"}
            << "10,10,10,10,10,10,10";
        QTest::newRow("pause-before-the-last")
            << QStringList{"10:00:00", "10:00:01", "10:00:02", "10:05:00"} << "10,10,10,10";
        QTest::newRow("pause-after-the-first")
            << QStringList{"10:00:00", "10:05:00", "10:05:02", "10:05:04"} << "20,20,20,20";
        QTest::newRow("ten-times-is-measured")
            << QStringList{"10:00:00", "10:00:01", "10:00:02", "10:00:12", "10:00:13", "10:00:14"}
            << "10,10,100,10,10,10";
        QTest::newRow("eleven-times-is-a-pause")
            << QStringList{"10:00:00", "10:00:01", "10:00:02", "10:00:13", "10:00:14", "10:00:15"}
            << "10,10,10,10,10,10";
        // Known steps 1, 2, 2 s: the median, 2 s, stands in for the steps not known.
        QTest::newRow("unreadable-takes-the-median")
            << QStringList{"10:00:00", "10:00:01", "?", "10:00:03", "10:00:05", "10:00:07"}
            << "10,20,20,20,20,20";
        QTest::newRow("clock-set-back-takes-the-median")
            << QStringList{"10:00:00", "10:00:02", "10:00:04", "10:00:01", "10:00:03"}
            << "20,20,20,20,20";
        QTest::newRow("tenths") << QStringList{"10:00:00.0", "10:00:00.2", "10:00:00.4"}
                                << "2,2,2";
        QTest::newRow("one-record") << QStringList{"10:00:00"} << "";
        // clang-format on
    }
    void recordDurations()
    {
        QFETCH(QStringList, times);
        QList<QPair<QString, QString>> stamps;
        for (const QString &time : std::as_const(times))
            stamps.append({time == "?" ? "" : "2009/11/30", time});
        const std::optional<std::vector<qint64>> durations =
            RecordLevels::recordDurationsTenths(stamped(stamps));
        QStringList texts;
        for (qint64 tenths : durations.value_or(std::vector<qint64>()))
            texts << QString::number(tenths);
        QTEST(texts.join(','), "durations");
    }

    // An hour of 1-s records at 85 dB, then 7 h of 1-min records at 95 dB: 3600 s at 85
    // and 25200 s at 95 dB under 90 / 5 / 80 weigh 3600 × 0.5 + 25200 × 2 = 52200 s, a
    // dose of 181.25 %, TWA 90 + 16.61 lg 1.8125 = 94.3.
    void periodChangeWeighsEachRecord()
    {
        RecordTable table = rig::records(rig::repeated("085.0", 3600), kStart, 1);
        const RecordTable minutes =
            rig::records(rig::repeated("095.0", 420), kStart.addSecs(3600), 60);
        for (int r = 0; r < minutes.recordCount(); ++r)
            table.appendRecord({QString::number(3601 + r), minutes.cell(r, 1), minutes.cell(r, 2),
                                minutes.cell(r, 3)});
        const QStringList lines =
            ExposureStatistics::compute(table, settings(90, 5, 80)).lines().mid(9);
        QCOMPARE(lines,
                 (QStringList{"period: 1.0", "duration: 08:00:00", "dose: 181.25", "twa: 94.3"}));
    }

    void settingsFromTheMeter()
    {
        MeterState meter;
        const Settings unknown = Settings::fromMeter(meter);
        QCOMPARE(unknown.criterionDb, 90);
        QCOMPARE(unknown.exchangeRateDb, 5);
        QCOMPARE(unknown.thresholdDb, 80.0);
        meter.status.CriterionLevel = 85;
        meter.status.ExchangeRate = 3;
        meter.ThresholdLevel = 75;
        const Settings known = Settings::fromMeter(meter);
        QCOMPARE(known.criterionDb, 85);
        QCOMPARE(known.exchangeRateDb, 3);
        QCOMPARE(known.thresholdDb, 75.0);
    }
};

DOSEMETER_TEST(TestExposureStatistics)
#include "tst_ExposureStatistics.moc"
