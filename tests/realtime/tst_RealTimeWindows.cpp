// The three real-time windows opened from the main window: they follow the polled level,
// their open flags go when they close by themselves or are deleted, and they open again.

#include "realtime/AnalogWindow.h"
#include "realtime/DigitalWindow.h"
#include "realtime/RealTimeGraph.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"
#include "ui/RoundGauge.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

bool &openFlag(WindowFlags &flags, const QString &window)
{
    if (window == QLatin1String("AnalogWindow"))
        return flags.AnalogWindowOpen;
    if (window == QLatin1String("DigitalWindow"))
        return flags.DigitalWindowOpen;
    return flags.GraphWindowOpen;
}

void trigger(MainWindow &panel, const QString &name)
{
    QObject *control = panel.findChild<QObject *>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto *button = qobject_cast<QPushButton *>(control))
        button->click();
    else if (auto *action = qobject_cast<QAction *>(control))
        action->trigger();
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

} // namespace

class TestRealTimeWindows : public QObject {
    Q_OBJECT

private slots:
    void flagGoesOnEveryClose_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how");
        // A close by the user: the every-window test.
        // clang-format off
        QTest::newRow("graph leaves dBA mode") << "graphButton" << "RealTimeGraph" << "dose mode";
        QTest::newRow("graph deleted") << "graphAction" << "RealTimeGraph" << "deleted";
        QTest::newRow("analog deleted") << "analogAction" << "AnalogWindow" << "deleted";
        QTest::newRow("digital deleted") << "digitalAction" << "DigitalWindow" << "deleted";
        // clang-format on
    }
    void flagGoesOnEveryClose()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, window);
        QFETCH(QString, how);
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        bool &flag = openFlag(rig.app.windows, window);
        ::trigger(rig.panel, trigger);
        QPointer<QWidget> opened = rig.panel.windows().window(window);
        QVERIFY(opened);
        QVERIFY(flag);
        // A second press while it is open opens no second one.
        ::trigger(rig.panel, trigger);
        QCOMPARE(rig.panel.windows().window(window), opened.data());
        if (how == QLatin1String("deleted")) {
            delete opened.data();
        } else {
            rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
            rig.tick(90.0);
            QVERIFY(!rig.meter.state().display.DbaMode);
            static_cast<RealTimeGraph *>(opened.data())->redraw();
        }
        settle();
        QVERIFY(opened.isNull());
        QVERIFY(!flag);
        if (how == QLatin1String("dose mode")) {
            rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dba);
            rig.tick(90.0);
        }
        ::trigger(rig.panel, trigger);
        QVERIFY(rig.panel.windows().window(window));
        QVERIFY(flag);
    }

    // The windows show what the main window's poll brings in.
    void followTheLevel()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        for (const char *name : {"graphButton", "analogAction", "digitalAction"})
            ::trigger(rig.panel, QLatin1String(name));
        auto *graph = rig.panel.windows().window<RealTimeGraph>(QStringLiteral("RealTimeGraph"));
        auto *analog = rig.panel.windows().window<AnalogWindow>(QStringLiteral("AnalogWindow"));
        auto *digital = rig.panel.windows().window<DigitalWindow>(QStringLiteral("DigitalWindow"));
        QVERIFY(graph && analog && digital);
        QVERIFY(rig.dialogs.shown.isEmpty());
        rig.tick(94.5);
        graph->redraw();
        analog->redraw();
        digital->redraw();
        QCOMPARE(digital->levelValue_->text(), rig.text("levelValue"));
        QCOMPARE(digital->levelValue_->text(), QStringLiteral("94.5"));
        QCOMPARE(analog->gauge_->needleValue(), 94.5);
        // 660 x 460: Y0 = 433, H = 360; 94.5 dB stands 132.5 above the baseline.
        QCOMPARE(graph->size(), QSize(660, 460));
        QCOMPARE(graph->trace().previousPoint()->y(), 300.5);
        // Outside dBA mode the displays stay and show what the main window shows.
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.tick(94.5);
        analog->redraw();
        digital->redraw();
        settle();
        QVERIFY(analog->isVisible() && digital->isVisible());
        QCOMPARE(digital->levelValue_->text(), rig.text("levelValue"));
        QVERIFY(rig.app.windows.AnalogWindowOpen && rig.app.windows.DigitalWindowOpen);
    }
};

DOSEMETER_TEST(TestRealTimeWindows)
#include "tst_RealTimeWindows.moc"
