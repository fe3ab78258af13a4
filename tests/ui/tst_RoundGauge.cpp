// The round gauge: the needle held to the scale, and the needle where its value says in
// the rendered image.

#include "support/TestMain.h"
#include "ui/RoundGauge.h"

#include <QTest>
#include <QtMath>

#include <cmath>

namespace {

// A 68 to 140 dB gauge, 300 x 300.
void setUp(RoundGauge &gauge, double value)
{
    gauge.setScale(68.0, 140.0, 10.0, 2.0);
    gauge.setUnit(QStringLiteral("dBA"));
    gauge.resize(300, 300);
    gauge.setValue(value);
}

// The needle's red: neither the near-black marks nor the white face.
bool needleRed(QRgb pixel)
{
    return qRed(pixel) > 170 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

} // namespace

class TestRoundGauge : public QObject {
    Q_OBJECT

private slots:
    void clamping_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("needle");
        QTest::addColumn<QString>("shown");
        QTest::newRow("inside") << 94.5 << 94.5 << "94.5";
        QTest::newRow("lower stop") << 68.0 << 68.0 << "68.0";
        QTest::newRow("under range rests at the stop") << 67.9 << 68.0 << "< 68.0";
        QTest::newRow("upper stop") << 140.0 << 140.0 << "140.0";
        QTest::newRow("above") << 140.1 << 140.0 << "> 140.0";
    }
    void clamping()
    {
        QFETCH(double, value);
        RoundGauge gauge;
        setUp(gauge, value);
        QTEST(gauge.needleValue(), "needle");
        QTEST(gauge.valueText(), "shown");
    }

    // Pixels at three distances from the centre, in the directions of 68 (bottom left),
    // 104 (straight up) and 140 (bottom right): red only along the needle.
    void needleInTheImage_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("degrees"); // counter-clockwise from 3 o'clock
        QTest::newRow("68") << 68.0 << 225.0;
        QTest::newRow("104") << 104.0 << 90.0;
        QTest::newRow("140") << 140.0 << -45.0;
        QTest::newRow("67.9 at the 68 stop") << 67.9 << 225.0;
    }
    void needleInTheImage()
    {
        QFETCH(double, value);
        QFETCH(double, degrees);
        RoundGauge gauge;
        setUp(gauge, value);
        QCOMPARE(gauge.needleAngle(value), degrees);
        const QImage image = gauge.grab().toImage();
        for (const double direction : {225.0, 90.0, -45.0}) {
            for (const double radius : {40.0, 80.0, 110.0}) {
                const double a = qDegreesToRadians(direction);
                const QRgb pixel = image.pixel(int(std::lround(150 + radius * std::cos(a))),
                                               int(std::lround(150 - radius * std::sin(a))));
                QVERIFY2(needleRed(pixel) == (direction == degrees),
                         qPrintable(QStringLiteral("%1 deg at %2").arg(direction).arg(radius)));
            }
        }
    }
};

DOSEMETER_TEST(TestRoundGauge)
#include "tst_RoundGauge.moc"
