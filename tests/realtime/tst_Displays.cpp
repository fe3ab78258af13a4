// The analog and digital displays: where they start, what each tick copies, and the
// digital type that grows with the window.

#include "realtime/AnalogWindow.h"
#include "realtime/DigitalWindow.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/RoundGauge.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {

struct Rig : MeterRig {
    QString level;
    AnalogWindow analog{meter, dialogs};
    DigitalWindow digital{meter, dialogs, [this] { return level; }};
};

// The text fits the label in its font.
bool fits(const QLabel *label, const QString &text)
{
    const QFontMetrics metrics(label->font());
    return metrics.horizontalAdvance(text) <= label->contentsRect().width() &&
           metrics.height() <= label->contentsRect().height();
}

} // namespace

class TestDisplays : public QObject {
    Q_OBJECT

private slots:
    void startValues()
    {
        Rig rig;
        QCOMPARE(rig.analog.gauge_->needleValue(), 68.0);
        QCOMPARE(rig.digital.levelValue_->text(), QStringLiteral("140.0"));
        QCOMPARE(rig.digital.unitLabel_->text(), QStringLiteral("dBA"));
        for (QTimer *timer : {rig.analog.redrawTimer_, rig.digital.redrawTimer_}) {
            QCOMPARE(timer->interval(), 150);
            QVERIFY(timer->isActive());
        }
    }

    // The gauge takes the level value (67.9 under range); the digital display the main
    // window's text as it stands.
    void tick_data()
    {
        QTest::addColumn<float>("levelValue");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("needle");
        QTest::newRow("level") << 94.5f << "94.5" << 94.5;
        QTest::newRow("under range") << 67.9f << "----" << 68.0;
        QTest::newRow("overload") << 140.0f << " OL " << 140.0;
    }
    void tick()
    {
        QFETCH(float, levelValue);
        QFETCH(QString, text);
        Rig rig;
        rig.state.display.LevelValue = levelValue;
        rig.level = text;
        rig.analog.redraw();
        rig.digital.redraw();
        QTEST(rig.analog.gauge_->needleValue(), "needle");
        QCOMPARE(rig.digital.levelValue_->text(), text);
    }

    void digitalTextScales()
    {
        Rig rig;
        rig.digital.show();
        rig.digital.resize(260, 110);
        QApplication::processEvents();
        const int small = rig.digital.levelValue_->font().pixelSize();
        QVERIFY(fits(rig.digital.levelValue_, QStringLiteral("140.0")));
        rig.digital.resize(900, 330);
        QApplication::processEvents();
        QVERIFY(rig.digital.levelValue_->font().pixelSize() > 2 * small);
        QVERIFY(fits(rig.digital.levelValue_, QStringLiteral("140.0")));
        QVERIFY(fits(rig.digital.unitLabel_, QStringLiteral("dBA")));
        QVERIFY(rig.digital.unitLabel_->geometry().left() >=
                rig.digital.levelValue_->geometry().right());
    }
};

DOSEMETER_TEST(TestDisplays)
#include "tst_Displays.moc"
