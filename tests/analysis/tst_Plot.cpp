#include "AnalysisRig.h"

#include "analysis/PlotAxes.h"
#include "data/PlotColumn.h"
#include "support/TestMain.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(AxisRange)

class TestPlot : public QObject {
    Q_OBJECT

private slots:
    void seriesAndAxes()
    {
        const RecordTable table = rig::records({"085.0", "----", "090.5"});
        const PlotColumn plot = PlotColumn::fromTable(table, 3);
        QCOMPARE(plot.x, QVector<double>({1, 2, 3}));
        QCOMPARE(plot.y, QVector<double>({85.0, double(67.9f), 90.5}));

        const GraphRange fields = PlotAxes::openingFields(table.recordCount());
        QCOMPARE(fields.minimum[1], 1.0);
        QCOMPARE(fields.maximum[1], 3.0);
        QCOMPARE(fields.minimum[2], 68.0);
        QCOMPARE(fields.maximum[2], 140.0);
        QCOMPARE(PlotAxes::xAxis(fields), AxisRange({1, 3}));
        QCOMPARE(PlotAxes::yAxis(fields), AxisRange({68, 140}));
        QCOMPARE(PlotAxes::fieldText(1, fields.maximum[1]), QStringLiteral("3"));
        QCOMPARE(PlotAxes::fieldText(2, fields.minimum[2]), QStringLiteral("68.0"));
    }

    void cellValues_data()
    {
        QTest::addColumn<QByteArray>("cell");
        QTest::addColumn<double>("value");
        QTest::newRow("display-text") << QByteArray("094.5") << double(94.5f);
        QTest::newRow("under-range") << QByteArray("----") << double(67.9f);
        // An overload is the top of the range, not the 0 its text reads as.
        QTest::newRow("overload-display") << QByteArray(" OL ") << 140.0;
        QTest::newRow("overload-logger") << QByteArray("OL") << 140.0;
        QTest::newRow("no-number") << QByteArray("abc") << 0.0;
        QTest::newRow("trailing-text") << QByteArray(" 85.3dB") << double(85.3f);
    }
    void cellValues()
    {
        QFETCH(QByteArray, cell);
        QTEST(PlotColumn::cellValue(cell), "value");
    }

    void numberBeyondSinglePrecisionIsAGap() { QVERIFY(std::isnan(PlotColumn::cellValue("1e39"))); }

    void oneRecordFile()
    {
        const GraphRange fields = PlotAxes::openingFields(1);
        QCOMPARE(fields.minimum[1], 1.0);
        QCOMPARE(fields.maximum[1], 1.0);
        QCOMPARE(PlotAxes::xAxis(fields), AxisRange({0, 2}));
        QCOMPARE(PlotAxes::resetX(1, {0, 2}), AxisRange({0, 2}));
    }

    void shownRange_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<AxisRange>("shown");
        QTest::newRow("ordinary") << 68.0 << 140.0 << AxisRange{68, 140};
        QTest::newRow("equal") << 85.5 << 85.5 << AxisRange{84.5, 86.5};
        QTest::newRow("equal-zero") << 0.0 << 0.0 << AxisRange{-1, 1};
        QTest::newRow("reversed") << 140.0 << 68.0 << AxisRange{68, 140};
    }
    void shownRange()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QTEST(AxisRange::shown(min, max), "shown");
    }

    void cursorStart_data()
    {
        QTest::addColumn<AxisRange>("x");
        QTest::addColumn<AxisRange>("y");
        QTest::addColumn<QPointF>("cursor");
        QTest::newRow("fresh-window-3-records")
            << AxisRange{1, 3} << AxisRange{68, 140} << QPointF(2, 104);
        QTest::newRow("fresh-window-10-records")
            << AxisRange{1, 10} << AxisRange{68, 140} << QPointF(5.5, 104);
        QTest::newRow("after-a-zoom") << AxisRange{20, 30} << AxisRange{80, 90} << QPointF(25, 85);
    }
    void cursorStart()
    {
        QFETCH(AxisRange, x);
        QFETCH(AxisRange, y);
        QTEST(PlotAxes::cursorStart(x, y), "cursor");
    }

    // A dragged cursor sits on the trace: the nearest record with a level.
    void cursorOnTrace_data()
    {
        const double gap = std::nan("");
        QTest::addColumn<QVector<double>>("levels");
        QTest::addColumn<double>("x");
        QTest::addColumn<QPointF>("cursor");
        const QVector<double> five{80.5, 81.0, 90.5, 70.0, 85.2};
        QTest::newRow("on-a-record") << five << 3.0 << QPointF(3, 90.5);
        QTest::newRow("nearest-below") << five << 3.4 << QPointF(3, 90.5);
        QTest::newRow("nearest-above") << five << 3.6 << QPointF(4, 70.0);
        QTest::newRow("left-of-the-first") << five << -20.0 << QPointF(1, 80.5);
        QTest::newRow("right-of-the-last") << five << 1e9 << QPointF(5, 85.2);
        QTest::newRow("gap-takes-the-lower-neighbour")
            << QVector<double>{80.0, gap, 90.0} << 2.0 << QPointF(1, 80.0);
        QTest::newRow("gap-takes-the-nearer")
            << QVector<double>{80.0, gap, gap, 90.0} << 3.0 << QPointF(4, 90.0);
        QTest::newRow("gaps-at-the-start")
            << QVector<double>{gap, gap, 75.0} << 1.0 << QPointF(3, 75.0);
    }
    void cursorOnTrace()
    {
        QFETCH(QVector<double>, levels);
        QFETCH(double, x);
        const std::optional<QPointF> cursor = PlotAxes::cursorOnTrace(levels, x);
        QVERIFY(cursor);
        QTEST(*cursor, "cursor");
    }

    void cursorWithoutLevels()
    {
        QVERIFY(!PlotAxes::cursorOnTrace({}, 1.0));
        QVERIFY(!PlotAxes::cursorOnTrace({std::nan(""), std::nan("")}, 1.0));
    }

    void readOuts_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("xText");
        QTest::addColumn<QString>("yText");
        QTest::newRow("middle") << 2.0 << 104.0 << "2"
                                << "104.0";
        QTest::newRow("between-records") << 5.5 << 85.25 << "6"
                                         << "85.3";
        QTest::newRow("opening-middle") << 30160.154037267 << 104.04 << "30160"
                                        << "104.0";
        QTest::newRow("rounds-down") << 1234.0 << 67.94 << "1234"
                                     << "67.9";
        QTest::newRow("no-minus-zero") << -0.0 << -0.04 << "0"
                                       << "0.0";
    }
    void readOuts()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QTEST(PlotAxes::xPositionText(x), "xText");
        QTEST(PlotAxes::yPositionText(y), "yText");
    }

    void resetScaleAfterZoom_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<AxisRange>("zoomedX");
        QTest::addColumn<AxisRange>("x");
        QTest::newRow("three-records") << 3 << AxisRange{1.5, 2.2} << AxisRange{1, 3};
        QTest::newRow("a-day") << 86400 << AxisRange{4000, 4100} << AxisRange{1, 86400};
        // Nothing to fit: X keeps its maximum and starts at 1.
        QTest::newRow("no-records") << 0 << AxisRange{-5, 20} << AxisRange{1, 20};
    }
    void resetScaleAfterZoom()
    {
        QFETCH(int, records);
        QFETCH(AxisRange, zoomedX);
        QTEST(PlotAxes::resetX(records, zoomedX), "x");
        QCOMPARE(PlotAxes::resetY(), AxisRange({68, 140}));
    }
};

DOSEMETER_TEST(TestPlot)
#include "tst_Plot.moc"
