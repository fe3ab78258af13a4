// The week and the group statistics of a survey: the tolerance factor against published
// tables, the weekly level against the HSE ready-reckoner, the group figures and decisions,
// and ISO 9612's table 1. The command-line tests hold what is refused.
// Where no published example was at hand the expected figures were worked out by hand from
// the formulas (the mean, s, z = 1.64485 and the table's K), and the row says so.

#include "analysis/GroupStatistics.h"
#include "support/TestMain.h"

#include <QTest>

#include <cmath>

using Decision = GroupStatistics::Decision;

class TestGroupStatistics : public QObject {
    Q_OBJECT

private slots:
    void toleranceFactor_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("coverage");
        QTest::addColumn<double>("confidence");
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("within");
        // One-sided factors for 95 % coverage with 95 % confidence as D. B. Owen's "Factors
        // for one-sided tolerance limits and for variables sampling plans" (Sandia SCR-607,
        // 1963; reprinted by the US NRC as ML14031A495) and the industrial-hygiene texts
        // after it print them, to three decimals.
        QTest::newRow("owen-95-95-n3") << 3 << 0.95 << 0.95 << 7.656 << 5e-4;
        QTest::newRow("owen-95-95-n5") << 5 << 0.95 << 0.95 << 4.203 << 5e-4;
        QTest::newRow("owen-95-95-n10") << 10 << 0.95 << 0.95 << 2.911 << 5e-4;
        QTest::newRow("owen-95-95-n20") << 20 << 0.95 << 0.95 << 2.396 << 5e-4;
        QTest::newRow("owen-95-95-n50") << 50 << 0.95 << 0.95 << 2.065 << 5e-4;
        // Real Statistics Using Excel, "Tolerance interval example", example 1: 90 %
        // coverage, 99 % confidence, n = 40, by the noncentral t: k = 1.9017.
        QTest::newRow("real-statistics-90-99-n40") << 40 << 0.90 << 0.99 << 1.9017 << 5e-5;
    }
    void toleranceFactor()
    {
        QFETCH(int, n);
        QFETCH(double, coverage);
        QFETCH(double, confidence);
        QFETCH(double, factor);
        QFETCH(double, within);
        const double k = GroupStatistics::toleranceFactor(n, coverage, confidence);
        QVERIFY2(std::abs(k - factor) <= within, qPrintable(QString::number(k, 'f', 6)));
    }

    void week_data()
    {
        QTest::addColumn<QList<double>>("days");
        QTest::addColumn<double>("lexw");
        // HSE, "Noise exposure ready-reckoner (weekly exposure)" (2020): a day at 95 dB is
        // 1000 points, 2000 points in the week are 91 dB; a day at 90 dB is 315 points, a
        // week of 315 points 83 dB.
        QTest::newRow("hse-two-days-at-95") << QList<double>{95, 95} << 91.02;
        QTest::newRow("hse-one-day-at-90") << QList<double>{90} << 83.01;
        // Five days at one level are that level; seven at it are 10 lg(7/5) above it.
        QTest::newRow("five-equal-days") << QList<double>{85, 85, 85, 85, 85} << 85.0;
        QTest::newRow("seven-days") << QList<double>{85, 85, 85, 85, 85, 85, 85} << 86.46;
        // Hand-worked: one loud day among quiet ones, the case a weekly level is meant for.
        QTest::newRow("one-loud-day") << QList<double>{88, 82, 82, 82} << 83.45;
        QTest::newRow("varying-week") << QList<double>{93.3, 88.3, 89.3, 89.7, 89.7} << 90.44;
        QTest::newRow("zero-db-days") << QList<double>{0, 0, 0, 0, 0} << 0.0;
    }
    void week()
    {
        QFETCH(QList<double>, days);
        QFETCH(double, lexw);
        const GroupStatistics::Week week = GroupStatistics::week(days);
        QVERIFY2(week.ok(), qPrintable(week.message));
        QCOMPARE(week.days, days.size());
        QVERIFY2(std::abs(week.lexwDb - lexw) < 0.005, qPrintable(QString::number(week.lexwDb)));
    }

    void group_data()
    {
        QTest::addColumn<QList<double>>("levels");
        QTest::addColumn<double>("limit"); // negative: none typed
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decision");
        // Hand-worked, each: mean and s of the levels, X95 = mean + 1.64485 s, UTL = mean +
        // K s with K from the table above, EF = 1 - Phi((limit - mean) / s).
        // Mean 86.0, s 1.581: X95 88.6 below 90, UTL 92.6 above it.
        QTest::newRow("uncertain-against-90")
            << QList<double>{84, 86, 88, 87, 85} << 90.0
            << "n: 5\nlp: 86.2\nmean: 86.0\nsd: 1.6\nx95: 88.6\nutl95: 92.6\nef80: 100.0\n"
               "ef85: 73.6\nef87: 26.4\nef-oel: 0.6\ndecision: uncertain: measure more\n"
            << int(Decision::Uncertain);
        // Mean 79.18, s 1.318, K(10) 2.911: UTL 83.0 below 85.
        QTest::newRow("acceptable-ten-days")
            << QList<double>{78.2, 80.1, 79.4, 81.0, 76.9, 80.3, 79.0, 78.6, 77.8, 80.5} << -1.0
            << "n: 10\nlp: 79.4\nmean: 79.2\nsd: 1.3\nx95: 81.3\nutl95: 83.0\nef80: 26.7\n"
               "ef85: 0.0\nef87: 0.0\ndecision: acceptable\n"
            << int(Decision::Acceptable);
        // Mean 88.2 is above 85 already.
        QTest::newRow("unacceptable")
            << QList<double>{86.4, 88.1, 90.2, 87.3, 89.0} << -1.0
            << "n: 5\nlp: 88.4\nmean: 88.2\nsd: 1.5\nx95: 90.6\nutl95: 94.4\nef80: 100.0\n"
               "ef85: 98.5\nef87: 79.2\ndecision: unacceptable\n"
            << int(Decision::Unacceptable);
        // Three days, the fewest: K(3) 7.656 puts the UTL 20 dB above the mean.
        QTest::newRow("three-days")
            << QList<double>{82.0, 84.5, 87.1} << -1.0
            << "n: 3\nlp: 85.0\nmean: 84.5\nsd: 2.6\nx95: 88.7\nutl95: 104.1\nef80: 96.2\n"
               "ef85: 42.7\nef87: 16.7\ndecision: unacceptable\n"
            << int(Decision::Unacceptable);
        // Twenty days of mean 84.68 and s 1.100: X95 86.5 is at or above 85, yet UTL 87.3
        // is below 88; the limit typed decides.
        const QList<double> twenty{83.1, 84.7, 85.2, 86.0, 82.4, 84.9, 85.8, 83.6, 84.1, 86.3,
                                   85.0, 84.4, 83.9, 85.5, 84.8, 86.7, 83.3, 84.6, 85.1, 84.2};
        const QString twentyFigures = "n: 20\nlp: 84.8\nmean: 84.7\nsd: 1.1\nx95: 86.5\n"
                                      "utl95: 87.3\nef80: 100.0\nef85: 38.6\nef87: 1.8\n";
        QTest::newRow("twenty-days-default-limit")
            << twenty << -1.0 << twentyFigures + "decision: unacceptable\n"
            << int(Decision::Unacceptable);
        QTest::newRow("twenty-days-against-88")
            << twenty << 88.0 << twentyFigures + "ef-oel: 0.1\ndecision: acceptable\n"
            << int(Decision::Acceptable);
        // Every day alike: no spread, the percentile and the limit are the mean itself, and
        // a mean at the limit is unacceptable (half the days at it, none below).
        QTest::newRow("no-spread-at-the-limit")
            << QList<double>{85, 85, 85} << -1.0
            << "n: 3\nlp: 85.0\nmean: 85.0\nsd: 0.0\nx95: 85.0\nutl95: 85.0\nef80: 100.0\n"
               "ef85: 50.0\nef87: 0.0\ndecision: unacceptable\n"
            << int(Decision::Unacceptable);
        QTest::newRow("no-spread-below-the-limit")
            << QList<double>{84.9, 84.9, 84.9, 84.9} << -1.0
            << "n: 4\nlp: 84.9\nmean: 84.9\nsd: 0.0\nx95: 84.9\nutl95: 84.9\nef80: 100.0\n"
               "ef85: 0.0\nef87: 0.0\ndecision: acceptable\n"
            << int(Decision::Acceptable);
        // Fewer than three values: the energy and arithmetic means, no statistics.
        QTest::newRow("two-values")
            << QList<double>{84, 86} << 90.0
            << "n: 2\nlp: 85.1\nmean: 85.0\nsd: \nx95: \nutl95: \nef80: \nef85: \nef87: \n"
               "ef-oel: \ndecision: no statistics: they need at least 3 values\n"
            << int(Decision::TooFewValues);
        QTest::newRow("one-value")
            << QList<double>{91.3} << -1.0
            << "n: 1\nlp: 91.3\nmean: 91.3\nsd: \nx95: \nutl95: \nef80: \nef85: \nef87: \n"
               "decision: no statistics: they need at least 3 values\n"
            << int(Decision::TooFewValues);
    }
    void group()
    {
        QFETCH(QList<double>, levels);
        QFETCH(double, limit);
        QFETCH(QString, text);
        const GroupStatistics::Result result = GroupStatistics::compute(
            levels, limit < 0.0 ? std::nullopt : std::optional<double>(limit));
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(result.text(), text);
        QTEST(int(result.decision), "decision");
    }

    void exceedance_data()
    {
        QTest::addColumn<double>("mean");
        QTest::addColumn<double>("sd");
        QTest::addColumn<double>("limit");
        QTest::addColumn<double>("percent");
        // The limit at the mean, one and 1.64485 standard deviations above it.
        QTest::newRow("at-the-mean") << 85.0 << 3.0 << 85.0 << 50.0;
        QTest::newRow("one-sd-above") << 82.0 << 3.0 << 85.0 << 15.8655254;
        QTest::newRow("at-x95") << 80.0 << 2.0 << 83.2897073 << 5.0;
        QTest::newRow("one-sd-below") << 88.0 << 3.0 << 85.0 << 84.1344746;
        QTest::newRow("no-spread-above") << 86.0 << 0.0 << 85.0 << 100.0;
        QTest::newRow("no-spread-below") << 84.0 << 0.0 << 85.0 << 0.0;
    }
    void exceedance()
    {
        QFETCH(double, mean);
        QFETCH(double, sd);
        QFETCH(double, limit);
        QFETCH(double, percent);
        QVERIFY(std::abs(GroupStatistics::exceedancePercent(mean, sd, limit) - percent) < 1e-6);
    }

    void minimumCumulativeHours_data()
    {
        QTest::addColumn<int>("workers");
        QTest::addColumn<double>("hours"); // negative: none
        QTest::newRow("one-worker") << 1 << 5.0;
        QTest::newRow("five") << 5 << 5.0;
        QTest::newRow("six") << 6 << 5.5;
        QTest::newRow("ten") << 10 << 7.5;
        QTest::newRow("fifteen") << 15 << 10.0;
        QTest::newRow("sixteen") << 16 << 10.25;
        QTest::newRow("forty") << 40 << 16.25;
        QTest::newRow("forty-one") << 41 << 17.0;
        QTest::newRow("two-hundred") << 200 << 17.0;
        QTest::newRow("no-worker") << 0 << -1.0;
        QTest::newRow("negative") << -3 << -1.0;
    }
    void minimumCumulativeHours()
    {
        QFETCH(int, workers);
        QFETCH(double, hours);
        const std::optional<double> minimum = GroupStatistics::minimumCumulativeHours(workers);
        QCOMPARE(minimum.has_value(), hours >= 0.0);
        if (minimum)
            QCOMPARE(*minimum, hours);
    }
};

DOSEMETER_TEST(TestGroupStatistics)
#include "tst_GroupStatistics.moc"
