#include "ConfigRig.h"

#include "config/StandardsWindow.h"
#include "link/Messages.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>

// The Standard window driven through its table, on the virtual meter with the fake clock
// (status 0x15: 84 dB, 4 dB, Fast).

namespace {

struct StandardRig : ConfigRig {
    StandardsWindow window{meter, dialogs};

    StandardRig()
    {
        window.show();
        QCoreApplication::processEvents(); // the opening message
    }
    // A mouse press on a cell, as the user gives it.
    void press(int row, int column)
    {
        QTableWidget *grid = window.table_;
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

} // namespace

class TestStandardsWindow : public QObject {
    Q_OBJECT

private slots:
    // The table is the meter's presets; the window says so, in the user's language.
    void saysWhatTheTableIs_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("note");
        QTest::newRow("english") << "en"
                                 << "These are the meter's presets, not today's regulations; the "
                                    "assessment's EU figures follow Directive 2003/10/EC.";
        QTest::newRow("portuguese")
            << "pt_BR"
            << "Estes são os valores predefinidos do medidor, não a regulamentação atual; os "
               "números da UE na avaliação seguem a Diretiva 2003/10/CE.";
    }
    void saysWhatTheTableIs()
    {
        QFETCH(QString, language);
        QTranslator portuguese;
        if (language != QLatin1String("en")) {
            QVERIFY(portuguese.load(QStringLiteral(":/i18n/dosemeter_pt_BR.qm")));
            QCoreApplication::installTranslator(&portuguese);
        }
        StandardRig rig;
        QCoreApplication::removeTranslator(&portuguese);
        auto *note = rig.window.findChild<QLabel *>(QStringLiteral("presetsNote"));
        QVERIFY(note);
        QTEST(note->text(), "note");
        QVERIFY(note->isVisible());
    }

    void opens()
    {
        StandardRig rig;
        QCOMPARE(rig.window.windowTitle(), "Occupational Noise Exposure Standard");
        QCOMPARE(rig.dialogs.texts(),
                 QStringList{"Click a country to set up criterion level and exchange rate. "});
        QTableWidget *grid = rig.window.table_;
        QCOMPARE(grid->rowCount(), 15);
        QCOMPARE(grid->columnCount(), 8);
        QCOMPARE(grid->item(0, 1)->text(), "Criterion level dBA");
        QCOMPARE(grid->item(4, 0)->text(), "U.K");
        QCOMPARE(grid->item(14, 6)->text(), "100");
        QCOMPARE(grid->columnWidth(7), 1);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 7);
        QVERIFY(rig.vm.received().isEmpty());
    }

    // A press on a country name presets the meter to its standard.
    void pressOnACountry()
    {
        StandardRig rig;
        rig.press(4, 0);
        QCOMPARE(rig.keys(), keys::list("128 2x2 8 8 2x3 4"));
        QCOMPARE(int(rig.vm.statusByte()), 0x13);
        QCOMPARE(rig.dialogs.texts().constLast(), "Set up successfully.");
        QCOMPARE(rig.window.stepLabel_->text(), "U.K: criterion level 90 dB, exchange rate 3.");
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // Presses on the headings, on a country's figures and right of the table send nothing.
    void pressesThatSendNothing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("country-heading") << 0 << 0;
        QTest::newRow("criterion-heading") << 0 << 1;
        QTest::newRow("criterion-of-a-country") << 4 << 1;
        QTest::newRow("exchange-rate-of-a-country") << 4 << 3;
        QTest::newRow("allowable-of-a-country") << 14 << 6;
        QTest::newRow("empty-column") << 4 << 7;
    }
    void pressesThatSendNothing()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        StandardRig rig;
        rig.press(row, column);
        QVERIFY(rig.vm.received().isEmpty());
        QCOMPARE(rig.dialogs.shown.size(), 1); // the opening message only
        QVERIFY(rig.poll.changes.isEmpty());
    }

    void presetFails()
    {
        StandardRig rig;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        rig.vm.setFaults(faults);
        rig.press(1, 0);
        QCOMPARE(rig.dialogs.texts().constLast(), "Invalid, try again!");
        QCOMPARE(rig.keys(), keys::list("128 2x30 5"));
        QCOMPARE(rig.window.stepLabel_->text(), "Criterion level did not reach 90 in 30 presses.");
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // A second press while a preset runs is refused; the first preset goes on.
    void noSecondPreset()
    {
        StandardRig rig;
        bool tried = false;
        rig.clock.duringSleep = [&] {
            if (tried || rig.keys().size() < 2)
                return;
            tried = true;
            rig.window.chooseCountry(8, 0);
        };
        rig.press(4, 0);
        rig.clock.duringSleep = nullptr;
        QVERIFY(tried);
        QCOMPARE(rig.dialogs.texts().mid(1),
                 QStringList({Messages::kMeterBusy, "Set up successfully."}));
        QCOMPARE(int(rig.vm.statusByte()), 0x13);
    }

    void closedDuringAPreset()
    {
        StandardRig rig;
        QSignalSpy closed(&rig.window, &MeterWindow::closed);
        rig.clock.duringSleep = [&] {
            if (rig.keys().size() >= 2 && !rig.window.closing())
                rig.window.close();
        };
        rig.press(4, 0);
        rig.clock.duringSleep = nullptr;
        QCoreApplication::processEvents();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.keys().constLast(), Protocol::kKeyModeReset);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QVERIFY(!QApplication::overrideCursor());
    }
};

DOSEMETER_TEST(TestStandardsWindow)
#include "tst_StandardsWindow.moc"
