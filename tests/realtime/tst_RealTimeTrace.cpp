// The real-time graph's rules without the window: heights, the sweep and its wrap, the wipe
// strip, time labels and quarter marks, scale labels and the limits.

#include "realtime/RealTimeTrace.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

using Op = RealTimeTrace::Op;

// Every character 7 wide, every text 14 high.
QSizeF fixedMeasure(const QString &text)
{
    return {7.0 * text.size(), 14.0};
}

// A trace laid out on a 660 x 460 client area: W = 600, H = 360, Y0 = 433.
RealTimeTrace laidOut()
{
    RealTimeTrace trace(fixedMeasure);
    trace.layout(QSize(660, 460));
    return trace;
}

RealTimeTrace::Drawing ticks(RealTimeTrace &trace, int count)
{
    RealTimeTrace::Drawing last;
    for (int i = 0; i < count; ++i)
        last = trace.tick(QStringLiteral("94.5"), QTime(10, 0));
    return last;
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

} // namespace

class TestRealTimeTrace : public QObject {
    Q_OBJECT

private slots:
    // Where a level text is plotted, measured up from the baseline of a 360 high plot.
    void plotHeight_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("maxLevel");
        QTest::addColumn<double>("height");
        // clang-format off
        QTest::newRow("94.5 on the default scale") << "94.5" << 140.0 << 132.5;
        QTest::newRow("overload: 5 above the top") << " OL " << 140.0 << 365.0;
        QTest::newRow("under range: 3 below the baseline") << "----" << 140.0 << -3.0;
        QTest::newRow("above max") << "120.0" << 100.0 << 365.0;
        QTest::newRow("below min") << "67.0" << 140.0 << -3.0;
        QTest::newRow("no number reads as 0") << "abc" << 140.0 << -3.0;
        // clang-format on
    }
    void plotHeight()
    {
        QFETCH(QString, text);
        QFETCH(double, maxLevel);
        QTEST(RealTimeTrace::plotHeight(text, 68.0, maxLevel, 360.0), "height");
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
        QTest::newRow("last position") << 602 << 601.0 << true;
        QTest::newRow("wrap") << 603 << 0.0 << false;
        QTest::newRow("after the wrap") << 604 << 1.0 << true;
    }
    void wrap()
    {
        QFETCH(int, ticks);
        RealTimeTrace trace = laidOut();
        const RealTimeTrace::Drawing last = ::ticks(trace, ticks);
        QTEST(trace.x(), "x");
        const bool segment = std::any_of(last.ops.begin(), last.ops.end(), [](const Op &op) {
            return op.kind == Op::Kind::Line && op.ink == RealTimeTrace::Ink::Black;
        });
        QTEST(segment, "segment");
        QCOMPARE(*trace.previousPoint(), QPointF(60.0 + trace.x(), 433 - 132.5));
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
        RealTimeTrace trace = laidOut();
        const Op first = ::ticks(trace, ticks).ops.first();
        QCOMPARE(first.kind, Op::Kind::Fill);
        QCOMPARE(first.ink, RealTimeTrace::Ink::White);
        QTEST(first.box, "strip");
    }

    // Time labels (the time of their tick) at every wrap and once mid-sweep, quarter marks
    // at 1/4 and 3/4 of the width, over one sweep and the first tick of the next.
    void timeMarks_data()
    {
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("600 records, step 1")
            << "600"
            << QStringList{"09:00:00 at 0", "quarter at 150", "09:02:30 at 300", "quarter at 450",
                           "09:05:01 at 0"};
        QTest::newRow("11 records, step 54.55")
            << "11"
            << QStringList{"09:00:00 at 0", "quarter at 109.09", "09:00:02 at 272.73",
                           "quarter at 436.36", "09:00:06 at 0"};
    }
    void timeMarks()
    {
        QFETCH(QString, counts);
        RealTimeTrace trace(fixedMeasure);
        trace.layout(QSize(660, 460));
        QCOMPARE(trace.applyLimits(QStringLiteral("140"), QStringLiteral("68"), counts),
                 RealTimeTrace::Limits::Applied);
        trace.layout(QSize(660, 460));
        QStringList marks;
        for (int tick = 0, wraps = 0; wraps < 2; ++tick) {
            // The clock moves half a second a tick.
            const RealTimeTrace::Drawing d =
                trace.tick(QStringLiteral("90.0"), QTime(9, 0).addMSecs(500 * tick));
            const double x = 60 + trace.x();
            for (const Op &op : d.ops) {
                if (op.kind != Op::Kind::Line || op.line.dx() != 0)
                    continue;
                // A dotted line from the baseline to 10 above the top, the label under it;
                // or a short mark across the middle line.
                const bool label = op.dotted;
                QCOMPARE(op.line, label ? QLineF(x, 433, x, 63) : QLineF(x, 262, x, 244));
                marks << (label ? trace.texts().last().text : QStringLiteral("quarter")) + " at " +
                             positionText(trace.x());
            }
            wraps += trace.x() == 0;
        }
        QTEST(marks, "marks");
        // The label stands 10 below the baseline, 5 left of centred; a later label at the
        // same place takes the earlier one's.
        QCOMPARE(trace.texts().last().rect, QRectF(60 - 5 - 28, 443, 56, 14));
        QCOMPARE(trace.texts().size(), 9 + 1 + 2);
    }

    void scaleLabels_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("default") << "140"
                                 << "68"
                                 << QStringList{" 68.0",  " 77.0",  " 86.0",  " 95.0",  " 104.0",
                                                " 113.0", " 122.0", " 131.0", " 140.0", "dBA"};
        QTest::newRow("fractions")
            << "100"
            << "70" << QStringList{" 70.0",  " 73.75", " 77.5",  " 81.25", " 85.0",
                                   " 88.75", " 92.5",  " 96.25", " 100.0", "dBA"};
    }
    void scaleLabels()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        RealTimeTrace trace = laidOut();
        trace.applyLimits(maxText, minText, QStringLiteral("600"));
        trace.layout(QSize(660, 460));
        QStringList labels;
        for (const RealTimeTrace::Text &t : trace.texts())
            labels << t.text;
        QTEST(labels, "labels");
    }

    void limits_data()
    {
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<RealTimeTrace::Limits>("result");
        QTest::addColumn<double>("maxLevel");
        QTest::addColumn<double>("step");
        using L = RealTimeTrace::Limits;
        // clang-format off
        QTest::newRow("fewest counts") << "140" << "68" << "10" << L::Applied << 140.0 << 60.0;
        QTest::newRow("most counts") << "120" << "70" << "864000" << L::Applied << 120.0 << 600.0 / 864000;
        QTest::newRow("max 140.1") << "140.1" << "68" << "600" << L::ScaleRejected << 140.0 << 1.0;
        QTest::newRow("min 67.9") << "100" << "67.9" << "600" << L::ScaleRejected << 140.0 << 1.0;
        QTest::newRow("max = min") << "100" << "100" << "600" << L::ScaleRejected << 140.0 << 1.0;
        // The scale is kept although the count is refused.
        QTest::newRow("counts 9") << "120" << "70" << "9" << L::CountsRejected << 120.0 << 1.0;
        QTest::newRow("counts 864001") << "120" << "70" << "864001" << L::CountsRejected << 120.0 << 1.0;
        // clang-format on
    }
    void limits()
    {
        QFETCH(QString, maxText);
        QFETCH(QString, minText);
        QFETCH(QString, counts);
        RealTimeTrace trace = laidOut();
        QTEST(trace.applyLimits(maxText, minText, counts), "result");
        QTEST(trace.maxLevel(), "maxLevel");
        QTEST(trace.step(), "step");
    }

    // The limit panel's counts: W / step to the nearest whole number, a half to the even one.
    void countsShown_data()
    {
        QTest::addColumn<QString>("counts");
        QTest::addColumn<int>("width"); // of the client area after the limits
        QTest::addColumn<QString>("shown");
        QTest::newRow("as set") << "11" << 660 << "11";
        QTest::newRow("10.5 rounds down to 10") << "10" << 690 << "10";
        QTest::newRow("31.5 rounds up to 32") << "30" << 690 << "32";
    }
    void countsShown()
    {
        QFETCH(QString, counts);
        QFETCH(int, width);
        RealTimeTrace trace = laidOut();
        trace.applyLimits(QStringLiteral("99.5"), QStringLiteral("68"), counts);
        trace.layout(QSize(width, 460));
        QTEST(trace.countsText(), "shown");
        QCOMPARE(trace.maxText(), QStringLiteral("99.5"));
    }
};

DOSEMETER_TEST(TestRealTimeTrace)
#include "tst_RealTimeTrace.moc"
