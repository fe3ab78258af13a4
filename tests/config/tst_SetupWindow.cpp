#include "ConfigRig.h"

#include "config/SetupWindow.h"
#include "config/StandardsWindow.h"
#include "link/Messages.h"
#include "support/MeterRig.h"
#include "support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

// The Setup window driven through its controls, on the virtual meter with the fake clock
// (status 0x15: 84 dB, 4 dB, Fast; threshold 80; 2009-11-30 10:00).

namespace {

struct SetupRig : ConfigRig {
    QString caption = QStringLiteral("80");
    SetupWindow window{meter, dialogs, [this] { return caption; }};

    SetupRig() { window.show(); }
    template <typename T> T *control(const char *name)
    {
        T *found = window.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    void choose(const char *button) { control<QRadioButton>(button)->setChecked(true); }
    void type(const char *list, const QString &text)
    {
        control<QComboBox>(list)->setEditText(text);
    }
    void ok() { control<QPushButton>("okButton")->click(); }
    int opened() const { return int(keys().count(Protocol::kKeySetupMenu)); }
};

QString checkedOf(SetupWindow &window, const char *group, int count)
{
    for (int i = 0; i < count; ++i) {
        if (window.findChild<QRadioButton *>(QLatin1String(group) + QString::number(i))
                ->isChecked())
            return QString::number(i);
    }
    return QStringLiteral("none");
}

bool waitCursor()
{
    return QApplication::overrideCursor() &&
           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

} // namespace

class TestSetupWindow : public QObject {
    Q_OBJECT

private slots:
    // The controls are preset from the meter's state as last read, the main window's
    // threshold caption and the computer's clock.
    void presets_data()
    {
        QTest::addColumn<bool>("fast");
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchange");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tw");
        QTest::addColumn<QString>("cl");
        QTest::addColumn<QString>("er");
        QTest::addColumn<QString>("combo");
        const auto row = [](const char *name, bool fast, int criterion, int exchange,
                            const char *caption, const char *tw, const char *cl, const char *er,
                            const char *combo) {
            QTest::newRow(name) << fast << criterion << exchange << QString(caption) << QString(tw)
                                << QString(cl) << QString(er) << QString(combo);
        };
        row("fast-84-4", true, 84, 4, "80", "0", "1", "1", "80");
        row("slow-90-6", false, 90, 6, "77", "1", "3", "3", "77");
        row("no-caption-yet", true, 0, 0, "", "0", "none", "none", "80");
    }
    void presets()
    {
        QFETCH(bool, fast);
        QFETCH(int, criterion);
        QFETCH(int, exchange);
        QFETCH(QString, caption);
        MeterRig rig;
        rig.state.status.FastResponse = fast;
        rig.state.status.CriterionLevel = criterion;
        rig.state.status.ExchangeRate = exchange;
        SetupWindow window(rig.meter, rig.dialogs, [caption] { return caption; });
        QTEST(checkedOf(window, "responseButton", 2), "tw");
        QTEST(checkedOf(window, "criterionButton", 4), "cl");
        QTEST(checkedOf(window, "exchangeRateButton", 4), "er");
        QTEST(window.thresholdChoice_->currentText(), "combo");
        QStringList clock;
        for (int i = 1; i <= 5; ++i)
            clock << window.clockFields_[size_t(i)]->currentText();
        QCOMPARE(clock, QStringList({"2009", "11", "30", "10", "0"}));
        QCOMPARE(window.clockFields_[1]->count(), 101);
        QCOMPARE(window.thresholdChoice_->itemText(0), "70");
        QCOMPARE(window.thresholdChoice_->itemText(20), "90");
        QCOMPARE(window.progressPanel_->isVisible(), false);
    }

    // OK sets the meter; while it runs, the choices and OK are disabled and progressPanel_ shows
    // the setting being adjusted; on success the window says so and closes.
    void runSucceeds()
    {
        SetupRig rig;
        rig.choose("criterionButton2");
        rig.type("thresholdChoice", "82");
        rig.choose("exchangeRateButton2");
        rig.choose("responseButton1");
        QSignalSpy closed(&rig.window, &MeterWindow::closed);
        QStringList seen;
        rig.clock.duringSleep = [&] {
            if (!seen.isEmpty() || rig.keys().size() < 3)
                return;
            seen << QString::number(rig.window.okButton_->isEnabled())
                 << QString::number(rig.window.criterionButtons_[0]->isEnabled())
                 << QString::number(rig.window.thresholdChoice_->isEnabled())
                 << QString::number(rig.window.clockFields_[1]->isEnabled())
                 << QString::number(rig.window.progressPanel_->isVisible())
                 << rig.window.settingUpLabel_->text() << rig.window.stepLabel_->text()
                 << QString::number(rig.window.progressTimer_->isActive())
                 << QString::number(waitCursor());
        };
        rig.ok();
        rig.clock.duringSleep = nullptr;
        QCOMPARE(seen,
                 QStringList({"0", "0", "0", "0", "1", "Setting up", "Criterion level", "1", "1"}));
        QCOMPARE(rig.dialogs.texts(), QStringList{"Set up successfully."});
        QCOMPARE(closed.count(), 1);
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(int(rig.vm.statusByte()), 0x0A);
        QCOMPARE(rig.vm.threshold(), 82);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // A failed run leaves the window open with the user's choices and says what failed;
    // everything the run changed is given back.
    void runFails()
    {
        SetupRig rig;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        rig.vm.setFaults(faults);
        rig.choose("criterionButton2");
        rig.ok();
        QCOMPARE(rig.dialogs.texts(), QStringList{"Invalid, try again!"});
        QCOMPARE(rig.dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
        QCOMPARE(rig.keys(), keys::list("128 2x10 5"));
        QVERIFY(rig.window.isVisible());
        QVERIFY(rig.window.criterionButtons_[2]->isChecked());
        QVERIFY(rig.window.okButton_->isEnabled());
        QVERIFY(rig.window.criterionButtons_[0]->isEnabled());
        QVERIFY(rig.window.clockFields_[5]->isEnabled());
        QVERIFY(!rig.window.progressPanel_->isVisible());
        QVERIFY(!rig.window.progressTimer_->isActive());
        QCOMPARE(rig.window.resultLabel_->text(),
                 "Criterion level did not reach 85 in 10 presses.");
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // The meter's clock after OK: the fields not edited take the computer's time then; until
    // one is edited they also tick with it.
    void clockAtOk_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("meterClock");
        QTest::newRow("untouched") << ""
                                   << ""
                                   << "2009-11-30 10:07";
        QTest::newRow("hour-typed") << "clockField4"
                                    << "12"
                                    << "2009-11-30 12:07";
        QTest::newRow("day-typed") << "clockField3"
                                   << "1"
                                   << "2009-11-01 10:07";
    }
    void clockAtOk()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        SetupRig rig;
        if (!field.isEmpty())
            rig.type(qPrintable(field), typed);
        rig.clock.advance(420); // the window open for 7 minutes
        rig.window.followComputerClock();
        QCOMPARE(rig.window.clockFields_[5]->currentText(), field.isEmpty() ? "7" : "0");
        rig.ok();
        QTEST(rig.vm.clockAt(rig.clock.monotonicSeconds()).toString("yyyy-MM-dd hh:mm"),
              "meterClock");
    }

    // The lowered threshold shows in the list.
    void thresholdLoweredInTheList()
    {
        SetupRig rig;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        rig.vm.setFaults(faults);
        rig.type("thresholdChoice", "88");
        rig.ok();
        QCOMPARE(rig.window.thresholdChoice_->currentText(), "84");
    }

    // Values the meter cannot be set to: "Invalid, try again!", nothing sent, the box
    // focused.
    void invalidChoice_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const char *box, const char *text) {
            QTest::newRow(name) << QString(box) << QString(text);
        };
        row("threshold-95", "thresholdChoice", "95");
        row("threshold-not-a-number", "thresholdChoice", "8O");
        row("year-1999", "clockField1", "1999");
        row("year-three-digits", "clockField1", "209");
        row("november-31", "clockField3", "31");
        row("minute-60", "clockField5", "60");
    }
    void invalidChoice()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        SetupRig rig;
        rig.type(qPrintable(box), text);
        rig.ok();
        QCOMPARE(rig.dialogs.texts(), QStringList{"Invalid, try again!"});
        QVERIFY(rig.vm.received().isEmpty());
        QVERIFY(rig.poll.changes.isEmpty());
        QWidget *focus = rig.window.focusWidget();
        auto *expected = rig.control<QComboBox>(qPrintable(box));
        QVERIFY(focus && (focus == expected || expected->isAncestorOf(focus)));
    }

    // Closed in the middle of a run: the run ends with the meter's menu closed, nothing
    // is shown, and the window goes.
    void closedDuringARun()
    {
        SetupRig rig;
        rig.choose("criterionButton0");
        QSignalSpy closed(&rig.window, &MeterWindow::closed);
        rig.clock.duringSleep = [&] {
            if (rig.keys().size() >= 2 && !rig.window.closing())
                rig.window.close();
        };
        rig.ok();
        rig.clock.duringSleep = nullptr;
        QVERIFY(!rig.window.isVisible());
        QCoreApplication::processEvents(); // the deferred close
        QCOMPARE(closed.count(), 1);
        QVERIFY(rig.dialogs.shown.isEmpty());
        QCOMPARE(rig.keys().constLast(), Protocol::kKeyModeReset);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.state.link.RefreshPending, true);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!rig.window.progressTimer_->isActive());
        QVERIFY(!QApplication::overrideCursor());
    }

    // OK does nothing while a run is in progress.
    void noSecondRun()
    {
        SetupRig rig;
        rig.choose("criterionButton0");
        bool tried = false;
        rig.clock.duringSleep = [&] {
            if (tried || rig.keys().size() < 2)
                return;
            tried = true;
            rig.window.okButton_->click();
            rig.window.applySetup();
        };
        rig.ok();
        rig.clock.duringSleep = nullptr;
        QVERIFY(tried);
        QCOMPARE(rig.opened(), 1);
        QCOMPARE(rig.dialogs.texts(), QStringList{"Set up successfully."});
    }

    // No standards preset while the setup runs: the window manager's busy check refuses
    // the press on a country, and nothing more is sent.
    void noPresetDuringASetupRun()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        rig.panel.findChild<QAction *>("standardsAction")->trigger();
        rig.panel.findChild<QAction *>("setModeAction")->trigger();
        auto *setup = rig.panel.windows().window<SetupWindow>("SetupWindow");
        auto *standard = rig.panel.windows().window<StandardsWindow>("StandardsWindow");
        QVERIFY(setup && standard);
        QCoreApplication::processEvents(); // the standards window's opening message
        rig.dialogs.shown.clear();
        setup->findChild<QRadioButton *>("criterionButton0")->setChecked(true);
        rig.vm.clearReceived();
        bool tried = false;
        rig.clock.duringSleep = [&] {
            if (tried || !rig.state.link.KeyPacing)
                return;
            tried = true;
            standard->chooseCountry(4, 0);
        };
        setup->okButton_->click();
        rig.clock.duringSleep = nullptr;
        QVERIFY(tried);
        QCOMPARE(rig.dialogs.texts(), QStringList({Messages::kMeterBusy, "Set up successfully."}));
        QCOMPARE(rig.vm.received().count(QByteArray("F\x80")), 1);
        QCOMPARE(rig.text("criterionValue"), "80");
    }
};

DOSEMETER_TEST(TestSetupWindow)
#include "tst_SetupWindow.moc"
