// The round gauge: the needle held to the scale, its direction, and the needle as it
// stands in the rendered image.

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

// The needle's red, not the marks' near-black nor the white face.
bool needleRed(QRgb pixel)
{
    return qRed(pixel) > 170 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

// The pixel `radius` from the centre in the direction `degrees` (counter-clockwise from
// 3 o'clock).
QRgb pixelAt(const QImage &image, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return image.pixel(int(std::lround(150 + radius * std::cos(a))),
                       int(std::lround(150 - radius * std::sin(a))));
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
        QTest::newRow("far below") << 0.0 << 68.0 << "< 68.0";
        QTest::newRow("upper stop") << 140.0 << 140.0 << "140.0";
        QTest::newRow("above") << 140.1 << 140.0 << "> 140.0";
    }
    void clamping()
    {
        QFETCH(double, value);
        RoundGauge gauge;
        setUp(gauge, value);
        QCOMPARE(gauge.value(), value);
        QTEST(gauge.needleValue(), "needle");
        QTEST(gauge.valueText(), "shown");
    }

    void angle_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("degrees");
        QTest::newRow("68, bottom left") << 68.0 << 225.0;
        QTest::newRow("86, a quarter") << 86.0 << 157.5;
        QTest::newRow("104, straight up") << 104.0 << 90.0;
        QTest::newRow("140, bottom right") << 140.0 << -45.0;
        QTest::newRow("67.9 held at 68") << 67.9 << 225.0;
        QTest::newRow("150 held at 140") << 150.0 << -45.0;
    }
    void angle()
    {
        QFETCH(double, value);
        RoundGauge gauge;
        setUp(gauge, 0.0);
        QTEST(gauge.needleAngle(value), "degrees");
    }

    // The rendered needle points where its value says, and nowhere else of the three.
    void needleInTheImage_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("degrees");
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
        const QImage image = gauge.grab().toImage();
        for (const double direction : {225.0, 90.0, -45.0}) {
            for (const double radius : {40.0, 80.0, 110.0}) {
                const bool expected = direction == degrees;
                QVERIFY2(needleRed(pixelAt(image, radius, direction)) == expected,
                         qPrintable(QStringLiteral("%1 deg at %2").arg(direction).arg(radius)));
            }
        }
    }
};

DOSEMETER_TEST(TestRoundGauge)
#include "tst_RoundGauge.moc"
