#include "link/Clock.h"
#include "link/Messages.h"
#include "link/Meter.h"
#include "main/AppState.h"
#include "main/MainWindow.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/MeterRig.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

namespace {

constexpr double kOverload = 250.0;
constexpr double kUnderRange = -1.0;

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void loadRefreshesSettingsFirst()
    {
        MainWindowRig rig;
        rig.vm.setStatusByte(0x0F);
        rig.vm.setThreshold(77);
        rig.load();
        QCOMPARE(rig.text("portStatus"), QStringLiteral("SIM"));
        QVERIFY(rig.state.link.RefreshPending);
        rig.tick(90.0);
        QVERIFY(!rig.state.link.RefreshPending);
        QCOMPARE(rig.text("criterionValue"), QStringLiteral("90"));
        QCOMPARE(rig.text("exchangeRateValue"), QStringLiteral("6"));
        QCOMPARE(rig.text("responseValue"), QStringLiteral("Slow"));
        QCOMPARE(rig.text("thresholdValue"), QStringLiteral("77"));
        QCOMPARE(rig.text("rangeValue"), QStringLiteral("70 - 140"));
        QCOMPARE(rig.text("levelValue"), QStringLiteral("90.0"));
        QCOMPARE(rig.text("levelUnit"), QStringLiteral("dBA"));
    }

    void openFailureEndsWithMessage()
    {
        MainWindowRig rig;
        rig.link.setOpenFails(true);
        QVERIFY(!rig.panel.openPort());
        QCOMPARE(rig.dialogs.texts(), QStringList{"No device available !"});
        QCOMPARE(rig.dialogs.shown.first().buttons, Dialogs::Buttons::Ok);
        QVERIFY(!rig.panel.pollTimer_.isActive());
    }

    void maxMinThroughThePoll_data()
    {
        QTest::addColumn<QList<double>>("levels");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("min");
        QTest::newRow("first-sets-both") << QList<double>{94.5} << "94.5"
                                         << "94.5";
        QTest::newRow("moves") << QList<double>{94.5, 101.2, 88.0} << "101.2"
                               << "88.0";
        QTest::newRow("overload-sticks") << QList<double>{94.5, kOverload, 120.0, 130.0} << "OL"
                                         << "94.5";
        QTest::newRow("under-range-sticks")
            << QList<double>{94.5, kUnderRange, 70.0, 71.0} << "94.5"
            << "----";
    }
    void maxMinThroughThePoll()
    {
        QFETCH(QList<double>, levels);
        MainWindowRig rig;
        rig.load();
        for (double level : levels)
            rig.tick(level);
        QTEST(rig.text("maximumValue"), "max");
        QTEST(rig.text("minimumValue"), "min");
    }

    void resetStartsAgainFromTheValueShown()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(94.5);
        rig.tick(kOverload);
        rig.tick(80.0);
        QCOMPARE(rig.text("maximumValue"), QStringLiteral("OL"));
        QTest::mouseClick(rig.panel.findChild<QPushButton *>("resetButton"), Qt::LeftButton);
        QCOMPARE(rig.text("maximumValue"), QStringLiteral("80.0"));
        QCOMPARE(rig.text("minimumValue"), QStringLiteral("80.0"));
        rig.tick(85.0);
        QCOMPARE(rig.text("maximumValue"), QStringLiteral("85.0"));
    }

    void doseModeLeavesMaxMinAlone()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(94.5);
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.tick(120.0);
        QCOMPARE(rig.text("levelUnit"), QStringLiteral("%DOSE"));
        QCOMPARE(rig.text("maximumValue"), QStringLiteral("94.5"));
        QCOMPARE(rig.text("minimumValue"), QStringLiteral("94.5"));
        // The reset does nothing outside dBA mode either.
        QTest::mouseClick(rig.panel.findChild<QPushButton *>("resetButton"), Qt::LeftButton);
        QCOMPARE(rig.text("maximumValue"), QStringLiteral("94.5"));

        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Clock);
        rig.tick(120.0);
        QCOMPARE(rig.text("levelUnit"), QString());
        QCOMPARE(rig.text("levelValue"), rig.clock.now().toString(QStringLiteral("H:mm")));
    }

    void silentMeterKeepsTheDisplay()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(94.5);
        rig.meter.setRefreshTimeout(1.0);
        rig.vm.setVanished(true);
        rig.tick(100.0);
        QCOMPARE(rig.text("levelValue"), QStringLiteral("94.5"));
        QCOMPARE(rig.text("portStatus"), QStringLiteral("No COM"));
        QVERIFY(rig.panel.statusBar()->currentMessage().contains(QStringLiteral("Waiting")));
        rig.vm.setVanished(false);
        rig.panel.meter().state().link.RefreshPending = true;
        rig.tick(100.0);
        QCOMPARE(rig.text("portStatus"), QStringLiteral("SIM"));
        QVERIFY(rig.panel.statusBar()->currentMessage().isEmpty());
        QCOMPARE(rig.text("levelValue"), QStringLiteral("100.0"));
    }

    void closingEndsAWaitForAMissingMeter()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(90.0);
        rig.vm.setVanished(true);
        rig.state.link.RefreshPending = true;
        int sleeps = 0;
        rig.clock.duringSleep = [&] {
            if (++sleeps == 200)
                rig.panel.close();
        };
        // Without a meter the refresh asks for ever; closing the window ends it.
        rig.panel.pollMeter();
        QVERIFY(rig.meter.aborted());
        QVERIFY(!rig.panel.pollTimer_.isActive());
        rig.panel.setPollEnabled(true);
        QVERIFY(!rig.panel.pollTimer_.isActive());
    }

    void tickDoesNotNest()
    {
        MainWindowRig rig;
        rig.load();
        int nested = 0;
        rig.clock.duringSleep = [&] {
            ++nested;
            rig.panel.pollMeter(); // a timer tick arriving inside the wait
        };
        rig.tick(94.5);
        QVERIFY(nested > 0);
        rig.clock.duringSleep = nullptr;
        // One tick's requests: a first frame is confirmed by a second one.
        QCOMPARE(rig.vm.received().count(' '), 2);
        QCOMPARE(rig.text("levelValue"), QStringLiteral("94.5"));
    }

    void dbaPrompt_data()
    {
        QTest::addColumn<bool>("dbaMode");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("modePressed");
        QTest::newRow("already-dba") << true << int(Dialogs::Answer::Ok) << false << false;
        QTest::newRow("ok-switches") << false << int(Dialogs::Answer::Ok) << true << true;
        QTest::newRow("cancel-still-opens")
            << false << int(Dialogs::Answer::Cancel) << true << false;
    }
    void dbaPrompt()
    {
        QFETCH(bool, dbaMode);
        QFETCH(int, answer);
        QFETCH(bool, modePressed);
        MainWindowRig rig;
        rig.load();
        if (!dbaMode)
            rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.tick(90.0);
        rig.vm.clearReceived();
        rig.dialogs.answers.enqueue(Dialogs::Answer(answer));
        const double start = rig.clock.monotonicSeconds();
        bool opened = false;
        WindowManager::Spec spec{"Probe", [&]() -> QWidget * {
                                     opened = true;
                                     return new QWidget;
                                 }};
        spec.dba = WindowManager::Dba::Prompt;
        QVERIFY(rig.panel.windows().open(spec));
        QVERIFY(opened);
        QTEST(!rig.dialogs.shown.isEmpty(), "asked");
        if (!rig.dialogs.shown.isEmpty()) {
            QCOMPARE(rig.dialogs.shown.first().text, QStringLiteral("Not dBA mode, continue? "));
            QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Question);
            QCOMPARE(rig.dialogs.shown.first().buttons, Dialogs::Buttons::OkCancel);
            QVERIFY(rig.clock.monotonicSeconds() - start >= 0.2);
        }
        QCOMPARE(rig.vm.received().contains(QByteArray("F\x01", 2)), modePressed);
        if (modePressed)
            QVERIFY(rig.state.display.DbaMode);
    }

    // Over 2 s without a display frame the level is shown stale, live with the next frame.
    void staleLevel()
    {
        MainWindowRig rig;
        rig.load();
        rig.tick(87.5);
        QList<bool> stale;
        for (double seconds : {2.0, 0.1}) {
            rig.clock.advance(seconds);
            rig.panel.takeSample();
            stale << rig.panel.levelValue_->property("stale").toBool();
        }
        rig.tick(88.0);
        stale << rig.panel.levelValue_->property("stale").toBool();
        QCOMPARE(stale, QList<bool>({false, true, false}));
    }

    // While another command holds the meter the prompt presses no key and says so; the dBA
    // switch inside a command that stopped the poll leaves the poll off.
    void dbaPromptLeavesARunningCommandAlone()
    {
        MainWindowRig rig;
        rig.load();
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.tick(90.0);
        rig.vm.clearReceived();
        rig.panel.windows().setBusyCheck([] { return true; });
        QVERIFY(!rig.panel.windows().dbaPrompt());
        QCOMPARE(rig.dialogs.texts(), QStringList{Messages::kMeterBusy});
        QVERIFY(!rig.vm.received().contains('F'));
        rig.meter.selectDbaDisplay(); // the poll is off, as load() left it
        QVERIFY(rig.state.display.DbaMode);
        QVERIFY(!rig.panel.pollTimer_.isActive());
    }

    void windowOpensOnceAndAgainAfterClosing()
    {
        MainWindowRig rig;
        bool flag = false;
        int created = 0;
        QPointer<QWidget> window;
        WindowManager::Spec spec{"Probe", [&]() -> QWidget * {
                                     ++created;
                                     window = new QWidget;
                                     window->setObjectName(QStringLiteral("Probe"));
                                     return window;
                                 }};
        spec.openFlag = &flag;
        rig.panel.windows().open(spec);
        QVERIFY(!rig.panel.windows().open(spec));
        QCOMPARE(created, 1);
        QVERIFY(flag);
        window->close(); // deletes itself on close
        QTRY_VERIFY(window.isNull());
        QVERIFY(!flag);
        rig.panel.windows().open(spec);
        QCOMPARE(created, 2);
        delete window.data();
    }

    // While another command holds the meter (here a logger download), the main window's
    // own exchanges wait: the register console and the switch to dBA send nothing.
    void commandsRefusedWhileTheMeterIsBusy_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("register-read") << "readButton";
        QTest::newRow("register-write") << "writeButton";
        QTest::newRow("graph-needs-dba") << "graphButton";
    }
    void commandsRefusedWhileTheMeterIsBusy()
    {
        QFETCH(QString, control);
        MainWindowRig rig;
        rig.load();
        rig.vm.setDisplayMode(VirtualMeter::DisplayMode::Dose);
        rig.tick(90.0);
        rig.panel.findChild<QLineEdit *>("readAddress")->setText("59");
        rig.panel.findChild<QLineEdit *>("writeAddress")->setText("1000");
        rig.panel.findChild<QLineEdit *>("writeData")->setText("7");
        rig.vm.clearReceived();
        rig.app.logger.DownloadBusy = true;
        rig.panel.findChild<QPushButton *>(control)->click();
        QCOMPARE(rig.dialogs.texts(), QStringList{Messages::kMeterBusy});
        QCOMPARE(rig.vm.received(), QByteArray());
        QVERIFY(!rig.panel.windows().window(QStringLiteral("RealTimeGraph")));
    }

    void eventButtonRefusedWhileLocked()
    {
        MainWindowRig rig;
        rig.load();
        rig.vm.setLocked(true);
        rig.tick(90.0);
        QVERIFY(rig.state.display.KeysLocked);
        QMetaObject::invokeMethod(rig.panel.eventButton_, "clicked");
        QCOMPARE(rig.dialogs.texts(), QStringList{"Key locked!"});
        QCOMPARE(rig.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QVERIFY(!rig.panel.windows().window("BankWindow"));
        // The menu entry does not ask about the lock.
        rig.panel.eventsAction_->trigger();
        QVERIFY(rig.panel.windows().window("BankWindow"));
        QCOMPARE(rig.dialogs.shown.size(), 1);
    }

    void twaExplanation()
    {
        MainWindowRig rig;
        rig.panel.twaAction_->trigger();
        QCOMPARE(rig.dialogs.shown.size(), 1);
        const QString text = rig.dialogs.shown.first().text;
        QVERIFY(text.startsWith(QStringLiteral(
            "The eight-hour time-weighted average sound level(TWA),\r in decibels,")));
        QVERIFY(text.contains(
            QStringLiteral("the measured sound level.\r\r\n\r\nNote:\r     The value")));
        QVERIFY(text.endsWith(QStringLiteral("and open list menu.")));
        QCOMPARE(text.count(QChar(13)), 5 + 2 + 1 + 3);
        QCOMPARE(rig.dialogs.shown.first().buttons, Dialogs::Buttons::Ok);
    }

    // The formula is the one of the criterion level and exchange rate the meter is set to:
    // TWA = (Q / lg 2) lg(D / 100) + Lc.
    void twaFormulaFollowsTheMeter_data()
    {
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchangeRate");
        QTest::addColumn<QString>("line");
        QTest::newRow("not-read-yet") << 0 << 0
                                      << " by means of the formula: TWA= 16.61 log(base10) (D/100) "
                                         "+ 90.";
        QTest::newRow("90-dB-5-dB") << 90 << 5
                                    << " by means of the formula: TWA= 16.61 log(base10) (D/100) "
                                       "+ 90.";
        QTest::newRow("85-dB-3-dB") << 85 << 3
                                    << " by means of the formula: TWA= 9.97 log(base10) (D/100) "
                                       "+ 85.";
        QTest::newRow("84-dB-4-dB") << 84 << 4
                                    << " by means of the formula: TWA= 13.29 log(base10) (D/100) "
                                       "+ 84.";
        QTest::newRow("80-dB-6-dB") << 80 << 6
                                    << " by means of the formula: TWA= 19.93 log(base10) (D/100) "
                                       "+ 80.";
    }
    void twaFormulaFollowsTheMeter()
    {
        QFETCH(int, criterion);
        QFETCH(int, exchangeRate);
        QFETCH(QString, line);
        MainWindowRig rig;
        rig.state.status.CriterionLevel = criterion;
        rig.state.status.ExchangeRate = exchangeRate;
        rig.panel.twaAction_->trigger();
        QCOMPARE(rig.dialogs.shown.size(), 1);
        const QStringList lines = rig.dialogs.shown.first().text.split(QChar(13));
        QCOMPARE(lines.value(2), line);
        QCOMPARE(lines.value(0),
                 QStringLiteral("The eight-hour time-weighted average sound level(TWA),"));
    }

    void menusAsTheProgramHasThem()
    {
        MainWindowRig rig;
        QVERIFY(!rig.panel.versionAction_->isEnabled());
        QCOMPARE(rig.panel.versionAction_->text(), QStringLiteral("V 7.1  2009/11/30"));
        QVERIFY(!rig.panel.startRecordingAction_->isEnabled());
        QVERIFY(!rig.panel.stopRecordingAction_->isEnabled());
        QVERIFY(rig.panel.controlPanelAction_->isEnabled());
        QVERIFY(rig.panel.twaAction_->isEnabled());
    }

    void consoleKeyFilter_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("read-address") << "readAddress"
                                      << "5x9"
                                      << "59";
        QTest::newRow("write-address") << "writeAddress"
                                       << "1a2-3 4"
                                       << "1234";
        QTest::newRow("write-value") << "writeData"
                                     << "2.5e"
                                     << "25";
    }
    void consoleKeyFilter()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        MainWindowRig rig;
        auto *edit = rig.panel.findChild<QLineEdit *>(box);
        QTest::keyClicks(edit, typed);
        QTEST(edit->text(), "kept");
    }

    void consoleReadsAndWrites()
    {
        MainWindowRig rig;
        rig.load();
        rig.vm.setThreshold(77);
        rig.vm.setReg(0, 0x12);
        auto *read = rig.panel.findChild<QLineEdit *>("readAddress");
        QTest::keyClicks(read, "59");
        QTest::keyClick(read, Qt::Key_Return);
        QCOMPARE(rig.panel.readData_->text(), QStringLiteral("77"));
        QVERIFY(rig.panel.pollTimer_.isActive()); // the poll runs again afterwards

        read->clear(); // an empty address reads register 0
        QTest::mouseClick(rig.panel.readButton_, Qt::LeftButton);
        QCOMPARE(rig.panel.readData_->text(), QStringLiteral("18"));

        auto *address = rig.panel.findChild<QLineEdit *>("writeAddress");
        QTest::keyClicks(address, "1000");
        QTest::keyClick(address, Qt::Key_Return);
        QVERIFY(rig.panel.writeData_->hasFocus() || !rig.panel.isActiveWindow());
        QTest::keyClicks(rig.panel.writeData_, "200");
        QTest::keyClick(rig.panel.writeData_, Qt::Key_Return);
        QCOMPARE(rig.vm.reg(1000), quint8(200));
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void consoleRangeErrors_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("value"); // empty: a read
        QTest::newRow("read-65536") << "65536"
                                    << "";
        QTest::newRow("read-huge") << "99999999999999999999"
                                   << "";
        QTest::newRow("write-address-65536") << "65536"
                                             << "1";
        QTest::newRow("write-value-256") << "10"
                                         << "256";
    }
    void consoleRangeErrors()
    {
        QFETCH(QString, address);
        QFETCH(QString, value);
        MainWindowRig rig;
        rig.load();
        rig.link.takeWritten();
        if (value.isEmpty()) {
            rig.panel.readAddress_->setText(address);
            QTest::mouseClick(rig.panel.readButton_, Qt::LeftButton);
        } else {
            rig.panel.writeAddress_->setText(address);
            rig.panel.writeData_->setText(value);
            QTest::mouseClick(rig.panel.writeButton_, Qt::LeftButton);
        }
        QCOMPARE(rig.dialogs.texts(), QStringList{"Invalid, try again!"});
        QCOMPARE(rig.link.takeWritten(), QByteArray());
    }
};

DOSEMETER_TEST(TestMainWindow)
#include "tst_MainWindow.moc"
