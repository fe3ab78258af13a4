#include "ConfigRig.h"

#include "config/ExposureStandards.h"
#include "config/SetupSequence.h"
#include "support/TestMain.h"

#include <QTest>

// The exposure standards table and each row's preset on the virtual meter (status 0x15:
// 84 dB, 4 dB, Fast).

class TestExposureStandards : public QObject {
    Q_OBJECT

private slots:
    void table_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("cells"); // columns 0..7 joined by "|"
        const QStringList rows{
            "Country|Criterion level dBA|Exposure time|Exchange Rate|MAX SPL|Peak SPL|"
            "Allowable/per day|",
            "Germany|90|8|-|-|-|-|",
            "France|90|40|-|-|-|-|",
            "Belgium|90|40|5|110|140|100|",
            "U.K|90|8|3|135|150|-|",
            "Ireland|90|-|-|-|-|-|",
            "Italy|90|8|5|115|140|-|",
            "Denmark|90|40|3|115|-|-|",
            "Sweden|85|40|3|115|-|-|",
            "U.S.A|90|8|5|115|140|100|",
            "Canada|90|8|5|115|140|-|",
            "Australia|90|8|3|115|-|-|",
            "Japan|85|8|3|-|-|-|",
            "Taiwan|90|8|5|115|140|-|",
            "Brazil|85|8|5|130|-|100|",
        };
        for (int row = 0; row < rows.size(); ++row)
            QTest::newRow(qPrintable(rows.at(row).section('|', 0, 0))) << row << rows.at(row);
    }
    void table()
    {
        QFETCH(int, row);
        QStringList cells;
        for (int column = 0; column < 8; ++column)
            cells << ExposureStandards::text(row, column);
        QTEST(cells.join('|'), "cells");
    }

    // Each row's targets, the keys its preset presses and the meter's status afterwards;
    // "-" presses nothing for the exchange rate.
    void presets_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchange");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("status");
        const auto row = [](const char *country, int criterion, int exchange, const char *keys,
                            int status) {
            QTest::newRow(country)
                << QString(country) << criterion << exchange << QString(keys) << status;
        };
        row("Germany", 90, 0, "128 2x2 8 8 4", 0x17);
        row("France", 90, 0, "128 2x2 8 8 4", 0x17);
        row("Belgium", 90, 5, "128 2x2 8 8 2 4", 0x1B);
        row("U.K", 90, 3, "128 2x2 8 8 2x3 4", 0x13);
        row("Ireland", 90, 0, "128 2x2 8 8 4", 0x17);
        row("Italy", 90, 5, "128 2x2 8 8 2 4", 0x1B);
        row("Denmark", 90, 3, "128 2x2 8 8 2x3 4", 0x13);
        row("Sweden", 85, 3, "128 2 8 8 2x3 4", 0x12);
        row("U.S.A", 90, 5, "128 2x2 8 8 2 4", 0x1B);
        row("Canada", 90, 5, "128 2x2 8 8 2 4", 0x1B);
        row("Australia", 90, 3, "128 2x2 8 8 2x3 4", 0x13);
        row("Japan", 85, 3, "128 2 8 8 2x3 4", 0x12);
        row("Taiwan", 90, 5, "128 2x2 8 8 2 4", 0x1B);
        row("Brazil", 85, 5, "128 2 8 8 2 4", 0x1A);
    }
    void presets()
    {
        QFETCH(QString, country);
        QFETCH(QString, keys);
        const std::optional<int> row = ExposureStandards::rowOf(country);
        QVERIFY(row);
        const ExposureStandards::Preset preset = ExposureStandards::preset(*row);
        QTEST(preset.criterionDb, "criterion");
        QTEST(preset.exchangeRateDb, "exchange");
        ConfigRig rig;
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result =
            sequence.preset(preset.criterionDb, preset.exchangeRateDb);
        QCOMPARE(int(result.outcome), int(SetupSequence::Outcome::Done));
        QCOMPARE(rig.keys(), keys::list(qPrintable(keys)));
        QTEST(int(rig.vm.statusByte()), "status");
        QCOMPARE(rig.vm.threshold(), 80);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
    }

    void presetOfWhatTheMeterShows()
    {
        ConfigRig rig;
        rig.vm.setStatusByte(0x13);
        SetupSequence sequence(rig.meter);
        QCOMPARE(int(sequence.preset(90, 3).outcome), int(SetupSequence::Outcome::Done));
        QCOMPARE(rig.keys(), keys::list("128 8 8 4"));
    }

    // 30 presses fail the step, also when the last one reached the target. The menu is
    // closed ("F" 5) and the settings read again, as after a failed setup run.
    void presetFailsAtThirtyPresses()
    {
        ConfigRig rig;
        VirtualMeter::Faults faults;
        faults.stuckMenu = true;
        rig.vm.setFaults(faults);
        SetupSequence sequence(rig.meter);
        const SetupSequence::Result result = sequence.preset(90, 0);
        QCOMPARE(int(result.outcome), int(SetupSequence::Outcome::Failed));
        QCOMPARE(result.detail, "Criterion level did not reach 90 in 30 presses.");
        QCOMPARE(rig.keys(), keys::list("128 2x30 5"));
        QCOMPARE(rig.vm.setupScreen(), SetupMenu::Screen::Closed);
        QCOMPARE(rig.state.link.KeyPacing, false);
        QCOMPARE(rig.poll.changes, QList<bool>({false, true}));
    }

    // Names match as the table spells them, nothing looser.
    void rowOf_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row"); // -1: none
        QTest::newRow("U.K") << "U.K" << 4;
        QTest::newRow("UK") << "UK" << -1;
        QTest::newRow("lower-case") << "germany" << -1;
        QTest::newRow("trailing-blank") << "Japan " << -1;
    }
    void rowOf()
    {
        QFETCH(QString, name);
        QTEST(ExposureStandards::rowOf(name).value_or(-1), "row");
    }
};

DOSEMETER_TEST(TestExposureStandards)
#include "tst_ExposureStandards.moc"
