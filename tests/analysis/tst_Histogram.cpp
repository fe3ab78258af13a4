#include "AnalysisRig.h"

#include "analysis/LevelHistogram.h"
#include "support/TestMain.h"

#include <QMap>
#include <QTest>

#include <numeric>

using Resolution = LevelHistogram::Resolution;
using Outcome = LevelHistogram::LimitOutcome;

namespace {

const QString kNoLevels = QStringLiteral("There are no levels to count: the list holds no "
                                         "records, or only overloads and records without a "
                                         "level.");

// index -> count of the non-zero bins.
QMap<int, qint64> bins(const LevelCounts &counts, Resolution resolution)
{
    QMap<int, qint64> nonZero;
    const auto collect = [&](const auto &array) {
        for (int i = 0; i < int(array.size()); ++i) {
            if (array[i] != 0)
                nonZero.insert(i, array[i]);
        }
    };
    if (resolution == Resolution::TenthDb)
        collect(counts.TenthDbCounts);
    else
        collect(counts.WholeDbCounts);
    return nonZero;
}

using Bins = QMap<int, qint64>;

} // namespace

Q_DECLARE_METATYPE(Bins)

class TestHistogram : public QObject {
    Q_OBJECT

private slots:
    void binning_data()
    {
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<int>("tenthIndex"); // -1: not counted
        QTest::addColumn<int>("wholeIndex");
        QTest::newRow("display-text") << QByteArray("085.3") << 853 << 85;
        QTest::newRow("under-range") << QByteArray("----") << 680 << 68;
        QTest::newRow("one-dash") << QByteArray("8-5") << 680 << 68;
        QTest::newRow("tie-down-to-even") << QByteArray("85.25") << 852 << 85;
        QTest::newRow("tie-up-to-even") << QByteArray("85.75") << 858 << 85;
        QTest::newRow("tie-decided-by-the-text") << QByteArray("85.35") << 854 << 85;
        QTest::newRow("above-the-tie") << QByteArray("85.2501") << 853 << 85;
        QTest::newRow("whole-by-floor") << QByteArray("85.96") << 860 << 85;
        QTest::newRow("overload-number") << QByteArray("140.0") << 1400 << 140;
        QTest::newRow("overload-display") << QByteArray(" OL ") << 1400 << 140;
        QTest::newRow("overload-logger") << QByteArray("OL") << 1400 << 140;
        QTest::newRow("zero") << QByteArray("0.0") << 0 << 0;
        QTest::newRow("leading-blanks") << QByteArray("  90") << 900 << 90;
        QTest::newRow("exponent") << QByteArray("8.53e1") << 853 << 85;
        QTest::newRow("no-number") << QByteArray("abc") << -1 << -1;
        QTest::newRow("empty") << QByteArray("") << -1 << -1;
        QTest::newRow("beyond-the-top") << QByteArray("140.1") << -1 << -1;
        QTest::newRow("huge") << QByteArray("1e300") << -1 << -1;
    }
    void binning()
    {
        QFETCH(QByteArray, cell);
        QFETCH(int, tenthIndex);
        QFETCH(int, wholeIndex);
        LevelCounts counts;
        QCOMPARE(counts.add(cell), tenthIndex >= 0);
        const Bins expectedTenths = tenthIndex >= 0 ? Bins{{tenthIndex, 1}} : Bins{};
        const Bins expectedWhole = wholeIndex >= 0 ? Bins{{wholeIndex, 1}} : Bins{};
        QCOMPARE(bins(counts, Resolution::TenthDb), expectedTenths);
        QCOMPARE(bins(counts, Resolution::WholeDb), expectedWhole);
    }

    void opening_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::addColumn<int>("resolution");
        QTest::addColumn<Bins>("counts");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QString>("lowField");
        QTest::addColumn<QString>("highField");
        QTest::addColumn<double>("xMin");
        QTest::addColumn<double>("xMax");
        const QStringList four{"085.0", "085.0", "085.3", "----"};
        const int tenth = int(Resolution::TenthDb);
        const int whole = int(Resolution::WholeDb);
        // clang-format off
        QTest::newRow("tenth-db") << four << tenth << Bins{{680, 1}, {850, 2}, {853, 1}}
            << 680 << 853 << "68" << "85.3" << 675.0 << 858.0;
        QTest::newRow("whole-db") << four << whole << Bins{{68, 1}, {85, 3}}
            << 68 << 85 << "68" << "86" << 68.0 << 86.0;
        // The overload is counted but never the upper end.
        QTest::newRow("overload-tenth") << QStringList{"90.0", "140.0", " OL "} << tenth
            << Bins{{900, 1}, {1400, 2}} << 900 << 900 << "90" << "90" << 895.0 << 905.0;
        QTest::newRow("overload-whole") << QStringList{"90.0", "140.0", " OL "} << whole
            << Bins{{90, 1}, {140, 2}} << 90 << 90 << "90" << "91" << 90.0 << 91.0;
        QTest::newRow("ends-of-the-search-tenth") << QStringList{"0.1", "139.9"} << tenth
            << Bins{{1, 1}, {1399, 1}} << 1 << 1399 << "0.1" << "139.9" << -4.0 << 1404.0;
        QTest::newRow("ends-of-the-search-whole") << QStringList{"1.0", "139.9"} << whole
            << Bins{{1, 1}, {139, 1}} << 1 << 139 << "1" << "140" << 1.0 << 140.0;
        // clang-format on
    }
    void opening()
    {
        QFETCH(QStringList, levels);
        QFETCH(int, resolution);
        const auto r = Resolution(resolution);
        const RecordTable table = rig::records(levels);
        HistogramState state;
        const LevelHistogram::Opening opening = LevelHistogram::open(table, r, state);
        QVERIFY2(opening.ok(), qPrintable(opening.message));
        QTEST(bins(opening.counts, r), "counts");
        QTEST(opening.lowIndex, "low");
        QTEST(opening.highIndex, "high");
        QCOMPARE(opening.fields.minimum[1], 1.0);
        QCOMPARE(opening.fields.maximum[1], double(levels.size()));
        QTEST(LevelHistogram::dbFieldText(opening.fields.minimum[2], r), "lowField");
        QTEST(LevelHistogram::dbFieldText(opening.fields.maximum[2], r), "highField");
        QTEST(opening.xAxis.min, "xMin");
        QTEST(opening.xAxis.max, "xMax");
        QCOMPARE(state.HistFirstRecord, 1);
        QCOMPARE(state.HistLastRecord, int(levels.size()));
    }

    void nothingToCount_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::newRow("empty-list") << QStringList{};
        QTest::newRow("only-overloads") << QStringList{" OL ", "140.0", "OL"};
        QTest::newRow("only-unparseable") << QStringList{"", "abc", "?"};
        QTest::newRow("only-zero") << QStringList{"0.0", "0.04"};
        QTest::newRow("nothing-in-range") << QStringList{"150.0", "OL", "xyz"};
    }
    void nothingToCount()
    {
        QFETCH(QStringList, levels);
        const RecordTable table = rig::records(levels);
        for (const Resolution r : {Resolution::TenthDb, Resolution::WholeDb}) {
            HistogramState state;
            const LevelHistogram::Opening opening = LevelHistogram::open(table, r, state);
            QVERIFY(!opening.ok());
            QCOMPARE(opening.message, kNoLevels);
        }
    }

    void countsDoNotOverflow()
    {
        // Past 32,767 records in one bin a 16-bit count would wrap.
        const RecordTable table = rig::records(rig::repeated("85.0", 40000));
        HistogramState state;
        const LevelHistogram::Opening opening =
            LevelHistogram::open(table, Resolution::TenthDb, state);
        QCOMPARE(bins(opening.counts, Resolution::TenthDb), (Bins{{850, 40000}}));
        QCOMPARE(bins(opening.counts, Resolution::WholeDb), (Bins{{85, 40000}}));
    }

    void points()
    {
        const RecordTable table = rig::records({"068.0", "085.3"});
        HistogramState state;
        const LevelCounts counts = LevelHistogram::open(table, Resolution::TenthDb, state).counts;
        const LevelHistogram::Points tenth = LevelHistogram::points(counts, Resolution::TenthDb);
        QCOMPARE(tenth.x.size(), 1401);
        QCOMPARE(tenth.x.first(), 1.0);
        QCOMPARE(tenth.x.last(), 1401.0);
        QCOMPARE(tenth.y.at(680), 1.0);
        QCOMPARE(tenth.y.at(853), 1.0);
        QCOMPARE(std::accumulate(tenth.y.begin(), tenth.y.end(), 0.0), 2.0);
        const LevelHistogram::Points whole = LevelHistogram::points(counts, Resolution::WholeDb);
        QCOMPARE(whole.x.size(), 141);
        QCOMPARE(whole.x.at(85), 86.0);
        QCOMPARE(whole.y.at(85), 1.0);
    }

    void recountOfARecordRange()
    {
        // Records 1..30 at 60.0 + number / 10 dB: records 10..20 are 61.0 .. 62.0.
        QStringList levels;
        for (int i = 1; i <= 30; ++i)
            levels << QString::number(60.0 + i / 10.0, 'f', 1);
        const RecordTable table = rig::records(levels);
        HistogramState state;
        const LevelHistogram::Opening opening =
            LevelHistogram::open(table, Resolution::TenthDb, state);
        LevelCounts counts = opening.counts;
        GraphRange fields = opening.fields;
        fields.minimum[1] = 10;
        fields.maximum[1] = 20;
        const LevelHistogram::LimitChange change =
            LevelHistogram::changeLimits(&table, fields, Resolution::TenthDb, state, counts);
        QCOMPARE(change.outcome, Outcome::Recounted);
        Bins expected;
        for (int index = 610; index <= 620; ++index)
            expected.insert(index, 1);
        QCOMPARE(bins(counts, Resolution::TenthDb), expected);
        QCOMPARE(bins(counts, Resolution::WholeDb), (Bins{{61, 10}, {62, 1}}));
        QCOMPARE(state.HistFirstRecord, 10);
        QCOMPARE(state.HistLastRecord, 20);
        // The dB fields 60.1 .. 63 give the X axis 596 .. 635 in 0.1 dB units.
        QCOMPARE(LevelHistogram::axisText(change.xAxis.min), QStringLiteral("596"));
        QCOMPARE(LevelHistogram::axisText(change.xAxis.max), QStringLiteral("635"));
    }

    void limitChangeXAxis_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<double>("dbMin");
        QTest::addColumn<double>("dbMax");
        QTest::addColumn<QString>("xMin");
        QTest::addColumn<QString>("xMax");
        QTest::newRow("tenth") << int(Resolution::TenthDb) << 70.0 << 85.3 << "695"
                               << "858";
        QTest::newRow("tenth-fraction") << int(Resolution::TenthDb) << 70.25 << 80.0 << "697.5"
                                        << "805";
        QTest::newRow("whole") << int(Resolution::WholeDb) << 70.0 << 90.0 << "70"
                               << "90";
    }
    void limitChangeXAxis()
    {
        QFETCH(int, resolution);
        const RecordTable table = rig::records({"80.0", "85.0"});
        GraphRange fields;
        fields.minimum[1] = 1;
        fields.maximum[1] = 2;
        QFETCH(double, dbMin);
        QFETCH(double, dbMax);
        fields.minimum[2] = dbMin;
        fields.maximum[2] = dbMax;
        HistogramState state;
        LevelCounts counts;
        const LevelHistogram::LimitChange change =
            LevelHistogram::changeLimits(&table, fields, Resolution(resolution), state, counts);
        QCOMPARE(change.outcome, Outcome::Recounted);
        QTEST(LevelHistogram::axisText(change.xAxis.min), "xMin");
        QTEST(LevelHistogram::axisText(change.xAxis.max), "xMax");
    }

    void limitChangeLeavesEverything_data()
    {
        QTest::addColumn<double>("recordMin");
        QTest::addColumn<double>("recordMax");
        QTest::addColumn<double>("dbMin");
        QTest::addColumn<double>("dbMax");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("tableGone");
        QTest::addColumn<int>("outcome");
        // clang-format off
        QTest::newRow("records-equal") << 5.0 << 5.0 << 60.0 << 90.0 << false << false << int(Outcome::NotBelow);
        QTest::newRow("records-reversed") << 8.0 << 3.0 << 60.0 << 90.0 << false << false << int(Outcome::NotBelow);
        QTest::newRow("db-equal") << 1.0 << 5.0 << 85.0 << 85.0 << false << false << int(Outcome::NotBelow);
        QTest::newRow("past-the-last") << 1.0 << 31.0 << 60.0 << 90.0 << false << false << int(Outcome::OutsideRecords);
        QTest::newRow("before-the-first") << 0.0 << 10.0 << 60.0 << 90.0 << false << false << int(Outcome::OutsideRecords);
        QTest::newRow("while-loading") << 1.0 << 10.0 << 60.0 << 90.0 << true << false << int(Outcome::Loading);
        QTest::newRow("saved-file-closed") << 1.0 << 10.0 << 60.0 << 90.0 << false << true << int(Outcome::NoRecords);
        // clang-format on
    }
    void limitChangeLeavesEverything()
    {
        QFETCH(double, recordMin);
        QFETCH(double, recordMax);
        QFETCH(double, dbMin);
        QFETCH(double, dbMax);
        QFETCH(bool, loading);
        QFETCH(bool, tableGone);
        QStringList levels;
        for (int i = 1; i <= 30; ++i)
            levels << QString::number(60.0 + i, 'f', 1);
        const RecordTable table = rig::records(levels);
        HistogramState state;
        LevelCounts counts = LevelHistogram::open(table, Resolution::WholeDb, state).counts;
        const LevelCounts before = counts;
        state.HistFirstRecord = 3;
        state.HistLastRecord = 7;
        state.HistLoading = loading;
        GraphRange fields;
        fields.minimum = {0, recordMin, dbMin};
        fields.maximum = {0, recordMax, dbMax};
        const LevelHistogram::LimitChange change = LevelHistogram::changeLimits(
            tableGone ? nullptr : &table, fields, Resolution::WholeDb, state, counts);
        QTEST(int(change.outcome), "outcome");
        QVERIFY(counts == before);
        QCOMPARE(state.HistFirstRecord, 3);
        QCOMPARE(state.HistLastRecord, 7);
    }

    // The Y axis reaches a little above the tallest bin drawn inside the X axis shown.
    void countAxis_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<double>("xMin");
        QTest::addColumn<double>("xMax");
        QTest::addColumn<double>("yMax");
        // Records: 3 at 85.0, 1 at 85.3, 1 under range (68.0), 2 overloads (140.0).
        QTest::newRow("tenth-all") << int(Resolution::TenthDb) << 675.0 << 858.0 << 3.15;
        // Index 850 is drawn over X 850..851: a range ending at 850 leaves it out.
        QTest::newRow("tenth-below-850") << int(Resolution::TenthDb) << 600.0 << 850.0 << 1.05;
        QTest::newRow("tenth-from-851") << int(Resolution::TenthDb) << 851.0 << 900.0 << 1.05;
        QTest::newRow("whole-all") << int(Resolution::WholeDb) << 68.0 << 86.0 << 4.2;
        QTest::newRow("whole-overloads") << int(Resolution::WholeDb) << 130.0 << 141.0 << 2.1;
        QTest::newRow("nothing-inside") << int(Resolution::WholeDb) << 90.0 << 100.0 << 1.0;
    }
    void countAxis()
    {
        QFETCH(int, resolution);
        QFETCH(double, xMin);
        QFETCH(double, xMax);
        const RecordTable table =
            rig::records({"85.0", "85.0", "85.0", "85.3", "----", " OL ", "140.0"});
        HistogramState state;
        const Resolution chosen = Resolution(resolution);
        const LevelCounts counts = LevelHistogram::open(table, chosen, state).counts;
        const AxisRange y = LevelHistogram::countAxis(counts, chosen, {xMin, xMax});
        QCOMPARE(y.min, 0.0);
        QTEST(y.max, "yMax");
    }
};

DOSEMETER_TEST(TestHistogram)
#include "tst_Histogram.moc"
