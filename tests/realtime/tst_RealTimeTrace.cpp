// The real-time graph's rules without the window: geometry, heights, the sweep and its
// wrap, the wipe strip, time labels and quarter marks, and the limits.

#include "realtime/RealTimeTrace.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

// Every character 7 wide, every text 14 high.
QSizeF fixedMeasure(const QString &text)
{
    return {7.0 * text.size(), 14.0};
}

// A trace laid out on a 660 x 460 client area: W = 600, H = 360, Y0 = 433.
RealTimeTrace laidOut(QSize client = QSize(660, 460))
{
    RealTimeTrace trace(fixedMeasure);
    trace.layout(client);
    return trace;
}

bool drawsSegment(const RealTimeTrace::Drawing &d)
{
    for (const RealTimeTrace::Op &op : d.ops) {
        if (op.kind == RealTimeTrace::Op::Kind::Line && op.ink == RealTimeTrace::Ink::Black)
            return true;
    }
    return false;
}

// A sweep position with two decimals and no trailing zeros: 150, 109.09.
QString positionText(double x)
{
    QString text = QString::number(x, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QStringList texts(const RealTimeTrace &trace, RealTimeTrace::Text::Kind kind)
{
    QStringList found;
    for (const RealTimeTrace::Text &t : trace.texts()) {
        if (t.kind == kind)
            found << t.text;
    }
    return found;
}

} // namespace

class TestRealTimeTrace : public QObject {
    Q_OBJECT

private slots:
    void layoutGeometry_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<double>("W");
        QTest::addColumn<double>("H");
        QTest::addColumn<double>("Y0");
        QTest::newRow("width a multiple of 30") << QSize(660, 460) << 600.0 << 360.0 << 433.0;
        QTest::newRow("width rounded down to 30") << QSize(719, 500) << 630.0 << 400.0 << 473.0;
        QTest::newRow("smallest window") << QSize(357, 391) << 270.0 << 291.0 << 364.0;
    }
    void layoutGeometry()
    {
        QFETCH(QSize, client);
        const RealTimeTrace trace = laidOut(client);
        QTEST(trace.W(), "W");
        QFETCH(double, H);
        QCOMPARE(trace.H(), H);
        QFETCH(double, Y0);
        QCOMPARE(trace.Y0(), Y0);
        QCOMPARE(trace.x(), -1.0);
        QVERIFY(!trace.previousPoint());
    }

    void snap_data()
    {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("snapped");
        QTest::newRow("both too small") << QSize(200, 200) << QSize(357, 391);
        QTest::newRow("too low") << QSize(500, 300) << QSize(500, 391);
        QTest::newRow("too narrow") << QSize(356, 600) << QSize(357, 600);
        QTest::newRow("large enough") << QSize(357, 391) << QSize(357, 391);
    }
    void snap()
    {
        QFETCH(QSize, asked);
        QFETCH(QSize, snapped);
        QCOMPARE(RealTimeTrace::snapped(asked), snapped);
    }

    // Where a level text is plotted, measured up from the baseline.
    void plotHeight_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("minLevel");
        QTest::addColumn<double>("maxLevel");
        QTest::addColumn<double>("height");
        QTest::newRow("94.5 on the default scale") << "94.5" << 68.0 << 140.0 << 132.5;
        QTest::newRow("with leading zero") << "094.5" << 68.0 << 140.0 << 132.5;
        QTest::newRow("bottom of the scale") << "68.0" << 68.0 << 140.0 << 0.0;
        QTest::newRow("top of the scale") << "140.0" << 68.0 << 140.0 << 360.0;
        QTest::newRow("overload") << " OL " << 68.0 << 140.0 << 365.0;
        QTest::newRow("under range") << "----" << 68.0 << 140.0 << -3.0;
        QTest::newRow("above max") << "120.0" << 68.0 << 100.0 << 365.0;
        QTest::newRow("below min") << "75.0" << 80.0 << 140.0 << -3.0;
        QTest::newRow("no number") << "abc" << 68.0 << 140.0 << -3.0;
        QTest::newRow("empty") << "" << 68.0 << 140.0 << -3.0;
        QTest::newRow("narrow scale") << "85.0" << 80.0 << 90.0 << 180.0;
    }
    void plotHeight()
    {
        QFETCH(QString, text);
        QFETCH(double, minLevel);
        QFETCH(double, maxLevel);
        QFETCH(double, height);
        QCOMPARE(RealTimeTrace::plotHeight(text, minLevel, maxLevel, 360.0), height);
    }

    // With step 1 and W = 600 the sweep uses 0 to 601, then starts again at 0 without a
    // line from the right edge.
    void wrap_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("segment");
        QTest::newRow("first tick") << 1 << 0.0 << false;
        QTest::newRow("second tick") << 2 << 1.0 << true;
        QTest::newRow("right edge of the plot") << 601 << 600.0 << true;
        QTest::newRow("last position") << 602 << 601.0 << true;
        QTest::newRow("wrap") << 603 << 0.0 << false;
        QTest::newRow("after the wrap") << 604 << 1.0 << true;
    }
    void wrap()
    {
        QFETCH(int, ticks);
        RealTimeTrace trace = laidOut();
        RealTimeTrace::Drawing last;
        for (int i = 0; i < ticks; ++i)
            last = trace.tick(QStringLiteral("94.5"), QTime(10, 0));
        QTEST(trace.x(), "x");
        QTEST(drawsSegment(last), "segment");
        // The pen is at the new level: 433 - 132.5.
        QCOMPARE(*trace.previousPoint(), QPointF(60.0 + trace.x(), 300.5));
    }

    // A segment runs from the previous point one step to the right, to the new level.
    void segment()
    {
        RealTimeTrace trace = laidOut();
        trace.tick(QStringLiteral("68.0"), QTime(10, 0));
        const RealTimeTrace::Drawing d = trace.tick(QStringLiteral(" OL "), QTime(10, 0));
        QList<QLineF> segments;
        for (const RealTimeTrace::Op &op : d.ops) {
            if (op.kind == RealTimeTrace::Op::Kind::Line && op.ink == RealTimeTrace::Ink::Black)
                segments << op.line;
        }
        QCOMPARE(segments, QList<QLineF>{QLineF(60, 433, 61, 68)});
    }

    // The strip ahead of the pen is wiped from 3 below the baseline to 5 above the top.
    void wipe_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QRectF>("strip");
        QTest::newRow("x = 5") << 6 << QRectF(QPointF(67, 68), QPointF(68, 436));
        QTest::newRow("x = 601") << 602 << QRectF(QPointF(663, 68), QPointF(664, 436));
        // At the left edge the two columns before the pen go too: no other strip wipes them.
        QTest::newRow("x = 0 after a wrap") << 603 << QRectF(QPointF(60, 68), QPointF(63, 436));
    }
    void wipe()
    {
        QFETCH(int, ticks);
        QFETCH(QRectF, strip);
        RealTimeTrace trace = laidOut();
        RealTimeTrace::Drawing last;
        for (int i = 0; i < ticks; ++i)
            last = trace.tick(QStringLiteral("90.0"), QTime(10, 0));
        const RealTimeTrace::Op &first = last.ops.first();
        QCOMPARE(first.kind, RealTimeTrace::Op::Kind::Fill);
        QCOMPARE(first.ink, RealTimeTrace::Ink::White);
        QCOMPARE(first.box, strip);
    }

    // Time labels at every wrap and once mid-sweep, quarter marks at 1/4 and 3/4 of the
    // width; one sweep and the first tick of the next.
    void timeMarks_data()
    {
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("600 records, step 1")
            << "600"
            << QStringList{"label 0", "quarter 150", "label 300", "quarter 450", "label 0"};
        QTest::newRow("11 records, step 54.55")
            << "11"
            << QStringList{"label 0", "quarter 109.09", "label 272.73", "quarter 436.36",
                           "label 0"};
    }
    void timeMarks()
    {
        QFETCH(QString, counts);
        RealTimeTrace trace = laidOut();
        QCOMPARE(trace.applyLimits(QStringLiteral("140"), QStringLiteral("68"), counts),
                 RealTimeTrace::Limits::Applied);
        trace.layout(QSize(660, 460));
        QStringList marks;
        int sweeps = 0;
        while (sweeps < 2) {
            const RealTimeTrace::Drawing d = trace.tick(QStringLiteral("90.0"), QTime(10, 0));
            if (trace.x() == 0)
                ++sweeps;
            const QString at = positionText(trace.x());
            for (const RealTimeTrace::Op &op : d.ops) {
                if (op.kind != RealTimeTrace::Op::Kind::Line || op.line.dx() != 0)
                    continue;
                if (op.dotted) {
                    QCOMPARE(op.line, QLineF(60 + trace.x(), 433, 60 + trace.x(), 63));
                    marks << QStringLiteral("label ") + at;
                } else {
                    QCOMPARE(op.line, QLineF(60 + trace.x(), 262, 60 + trace.x(), 244));
                    marks << QStringLiteral("quarter ") + at;
                }
            }
        }
        QTEST(marks, "marks");
    }

    // A time label stands 10 below the baseline, 5 left of centred on the pen; a later one
    // takes the place of those it covers.
    void timeLabel()
    {
        RealTimeTrace trace = laidOut();
        trace.tick(QStringLiteral("90.0"), QTime(9, 59, 58));
        QCOMPARE(texts(trace, RealTimeTrace::Text::Kind::Time), QStringList{"09:59:58"});
        // "hh:mm:ss" is 56 wide: from 60 - 5 - 28.
        QCOMPARE(trace.texts().last().rect, QRectF(27, 443, 56, 14));
        for (int i = 1; i < 301; ++i)
            trace.tick(QStringLiteral("90.0"), QTime(10, 2, 28));
        QCOMPARE(texts(trace, RealTimeTrace::Text::Kind::Time),
                 (QStringList{"09:59:58", "10:02:28"}));
        for (int i = 301; i < 603; ++i)
            trace.tick(QStringLiteral("90.0"), QTime(10, 5, 0));
        QCOMPARE(texts(trace, RealTimeTrace::Text::Kind::Time),
                 (QStringList{"10:02:28", "10:05:00"}));
    }

    void scaleLabels_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("default") << "140"
                                 << "68"
                                 << QStringList{" 68.0",  " 77.0",  " 86.0",  " 95.0", " 104.0",
                                                " 113.0", " 122.0", " 131.0", " 140.0"};
        QTest::newRow("fractions")
            << "100"
            << "70" << QStringList{" 70.0",  " 73.75", " 77.5",  " 81.25", " 85.0",
                                   " 88.75", " 92.5",  " 96.25", " 100.0"};
        QTest::newRow("decimal limits")
            << "139.9"
            << "68.1" << QStringList{" 68.1",    " 77.075", " 86.05",   " 95.025", " 104.0",
                                     " 112.975", " 121.95", " 130.925", " 139.9"};
    }
    void scaleLabels()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        RealTimeTrace trace = laidOut();
        trace.applyLimits(maxText, minText, QStringLiteral("600"));
        trace.layout(QSize(660, 460));
        QTEST(texts(trace, RealTimeTrace::Text::Kind::Scale), "labels");
    }

    // Labels stand with their left edge at X0 - 40 - width / 4 and their middle at the
    // eighth they name; "dBA" 40 above and 40 left of the plot's top left corner.
    void labelPlaces()
    {
        const RealTimeTrace trace = laidOut();
        const QList<RealTimeTrace::Text> &t = trace.texts();
        QCOMPARE(t.first().rect, QRectF(60 - 40 - 35 / 4.0, 433 - 7, 35, 14));     // " 68.0"
        QCOMPARE(t.at(8).rect, QRectF(60 - 40 - 42 / 4.0, 433 - 360 - 7, 42, 14)); // " 140.0"
        QCOMPARE(t.last().text, QStringLiteral("dBA"));
        QCOMPARE(t.last().rect, QRectF(20, 33, 21, 14));
    }

    void limits_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<RealTimeTrace::Limits>("result");
        QTest::addColumn<double>("maxLevel");
        QTest::addColumn<double>("minLevel");
        QTest::addColumn<double>("step");
        using L = RealTimeTrace::Limits;
        QTest::newRow("fewest counts") << "140"
                                       << "68"
                                       << "10" << L::Applied << 140.0 << 68.0 << 60.0;
        QTest::newRow("most counts") << "120"
                                     << "70"
                                     << "864000" << L::Applied << 120.0 << 70.0 << 600.0 / 864000;
        QTest::newRow("half a pixel a tick") << "100"
                                             << "80.5"
                                             << "1200" << L::Applied << 100.0 << 80.5 << 0.5;
        QTest::newRow("max 140.1") << "140.1"
                                   << "68"
                                   << "600" << L::ScaleRejected << 140.0 << 68.0 << 1.0;
        QTest::newRow("min 67.9") << "140"
                                  << "67.9"
                                  << "600" << L::ScaleRejected << 140.0 << 68.0 << 1.0;
        QTest::newRow("max = min") << "100"
                                   << "100"
                                   << "600" << L::ScaleRejected << 140.0 << 68.0 << 1.0;
        QTest::newRow("max below min") << "90"
                                       << "100"
                                       << "600" << L::ScaleRejected << 140.0 << 68.0 << 1.0;
        QTest::newRow("empty max") << ""
                                   << "68"
                                   << "600" << L::ScaleRejected << 140.0 << 68.0 << 1.0;
        // The scale is kept although the count is refused.
        QTest::newRow("counts 9") << "120"
                                  << "70"
                                  << "9" << L::CountsRejected << 120.0 << 70.0 << 1.0;
        QTest::newRow("counts 864001") << "120"
                                       << "70"
                                       << "864001" << L::CountsRejected << 120.0 << 70.0 << 1.0;
        QTest::newRow("empty counts") << "120"
                                      << "70"
                                      << "" << L::CountsRejected << 120.0 << 70.0 << 1.0;
    }
    void limits()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        QFETCH(QString, counts);
        RealTimeTrace trace = laidOut();
        QTEST(trace.applyLimits(maxText, minText, counts), "result");
        QTEST(trace.maxLevel(), "maxLevel");
        QTEST(trace.minLevel(), "minLevel");
        QTEST(trace.step(), "step");
    }

    // What the limit panel shows: the counts as W / step to the nearest whole number (a
    // half to the even one), the levels as plain numbers.
    void limitEntries_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QSize>("resizedTo");
        QTest::addColumn<QStringList>("shown"); // counts, max, min
        QTest::newRow("defaults") << "140"
                                  << "68"
                                  << "600" << QSize(660, 460) << QStringList{"600", "140", "68"};
        QTest::newRow("decimals") << "99.5"
                                  << "70.25"
                                  << "11" << QSize(660, 460) << QStringList{"11", "99.5", "70.25"};
        // 10 records on 600, then 630 wide: 10.5 shows as 10; 30 then 630: 31.5 as 32.
        QTest::newRow("half rounds down to even")
            << "140"
            << "68"
            << "10" << QSize(690, 460) << QStringList{"10", "140", "68"};
        QTest::newRow("half rounds up to even")
            << "140"
            << "68"
            << "30" << QSize(690, 460) << QStringList{"32", "140", "68"};
        QTest::newRow("narrower window")
            << "140"
            << "68"
            << "600" << QSize(360, 460) << QStringList{"300", "140", "68"};
    }
    void limitEntries()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        QFETCH(QString, counts);
        QFETCH(QSize, resizedTo);
        RealTimeTrace trace = laidOut();
        QCOMPARE(trace.applyLimits(maxText, minText, counts), RealTimeTrace::Limits::Applied);
        trace.layout(resizedTo);
        QTEST((QStringList{trace.countsText(), trace.maxText(), trace.minText()}), "shown");
    }
};

DOSEMETER_TEST(TestRealTimeTrace)
#include "tst_RealTimeTrace.moc"
