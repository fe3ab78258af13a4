// The analog and digital displays: what each tick copies, the text that grows with the
// window, and that neither closes outside dBA mode.

#include "realtime/Analog.h"
#include "realtime/Digital.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/RoundGauge.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QTest>
#include <QTimer>

namespace {

struct Rig : MeterRig {
    QString level = QStringLiteral("94.5");
    Analog analog{meter, dialogs};
    Digital digital{meter, dialogs, [this] { return level; }};

    Rig()
    {
        state.display.DbaMode = true;
        analog.show();
        digital.show();
    }
};

// The widest the number can be drawn in the label's font, and the label's width.
bool fits(const QLabel *label, const QString &text)
{
    return QFontMetrics(label->font()).horizontalAdvance(text) <= label->contentsRect().width() &&
           QFontMetrics(label->font()).height() <= label->contentsRect().height();
}

} // namespace

class TestDisplays : public QObject {
    Q_OBJECT

private slots:
    void startValues()
    {
        Rig rig;
        QCOMPARE(rig.analog.TopMeter->value(), 68.0);
        QCOMPARE(rig.analog.TopMeter->minimum(), 68.0);
        QCOMPARE(rig.analog.TopMeter->maximum(), 140.0);
        QCOMPARE(rig.digital.LblValue->text(), QStringLiteral("140.0"));
        QCOMPARE(rig.digital.Label1->text(), QStringLiteral("dBA"));
        for (QTimer *timer : {rig.analog.Timer1, rig.digital.Timer1}) {
            QCOMPARE(timer->interval(), 150);
            QVERIFY(timer->isActive());
        }
    }

    // The gauge takes the shared level value; under range and overload reach it as 67.9
    // and 140.0.
    void analogTick_data()
    {
        QTest::addColumn<float>("levelValue");
        QTest::addColumn<double>("needle");
        QTest::addColumn<QString>("shown");
        QTest::newRow("94.5") << 94.5f << 94.5 << "94.5";
        QTest::newRow("under range") << 67.9f << 68.0 << "< 68.0";
        QTest::newRow("overload") << 140.0f << 140.0 << "140.0";
    }
    void analogTick()
    {
        QFETCH(float, levelValue);
        Rig rig;
        rig.state.display.LevelValue = levelValue;
        rig.analog.Timer1_Timer();
        QTEST(rig.analog.TopMeter->needleValue(), "needle");
        QTEST(rig.analog.TopMeter->valueText(), "shown");
    }

    // The digital display copies the main window's text as it stands.
    void digitalTick_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("level") << "94.5";
        QTest::newRow("overload") << " OL ";
        QTest::newRow("under range") << "----";
        QTest::newRow("a clock") << "8:30";
        QTest::newRow("empty") << "";
    }
    void digitalTick()
    {
        QFETCH(QString, text);
        Rig rig;
        rig.level = text;
        rig.digital.Timer1_Timer();
        QCOMPARE(rig.digital.LblValue->text(), text);
    }

    void digitalTextScales()
    {
        Rig rig;
        rig.digital.resize(260, 110);
        QApplication::processEvents();
        const int small = rig.digital.LblValue->font().pixelSize();
        QVERIFY(fits(rig.digital.LblValue, QStringLiteral("140.0")));
        rig.digital.resize(900, 330);
        QApplication::processEvents();
        const int large = rig.digital.LblValue->font().pixelSize();
        QVERIFY2(large > 2 * small, qPrintable(QStringLiteral("%1 %2").arg(small).arg(large)));
        QVERIFY(fits(rig.digital.LblValue, QStringLiteral("140.0")));
        QVERIFY(fits(rig.digital.Label1, QStringLiteral("dBA")));
    }

    void neitherClosesOutsideDbaMode()
    {
        Rig rig;
        rig.state.display.DbaMode = false;
        rig.state.display.LevelValue = 12.0f;
        rig.level = QStringLiteral("12.05");
        rig.analog.Timer1_Timer();
        rig.digital.Timer1_Timer();
        QVERIFY(rig.analog.isVisible());
        QVERIFY(rig.digital.isVisible());
        QCOMPARE(rig.analog.TopMeter->needleValue(), 68.0);
        QCOMPARE(rig.digital.LblValue->text(), QStringLiteral("12.05"));
    }

    void timersStopOnClose()
    {
        Rig rig;
        rig.analog.close();
        rig.digital.close();
        QVERIFY(!rig.analog.Timer1->isActive());
        QVERIFY(!rig.digital.Timer1->isActive());
    }
};

DOSEMETER_TEST(TestDisplays)
#include "tst_Displays.moc"
