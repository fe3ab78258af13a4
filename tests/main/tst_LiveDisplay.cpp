#include "main/LiveDisplay.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

// Flags as letters: F FieldMode, C ColonOn, D DashOn, 1 Point1On, 2 Point2On.
DisplayFields fields(const QString &digits, const QString &flags, const QString &levelText = {})
{
    DisplayFields f;
    for (int i = 0; i < 4; ++i)
        f.DisplayDigit[size_t(i)] = digits.mid(i, 1);
    f.FieldMode = flags.contains('F');
    f.ColonOn = flags.contains('C');
    f.DashOn = flags.contains('D');
    f.Point1On = flags.contains('1');
    f.Point2On = flags.contains('2');
    f.LevelText = levelText;
    return f;
}

} // namespace

class TestLiveDisplay : public QObject {
    Q_OBJECT

private slots:
    void valueText_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("levelText");
        QTest::addColumn<QString>("expected");

        QTest::newRow("level-point1") << "0945"
                                      << "1"
                                      << "094.5"
                                      << "94.5";
        QTest::newRow("level-100s") << "1352"
                                    << "1"
                                    << "135.2"
                                    << "135.2";
        QTest::newRow("level-zero") << "0000"
                                    << "1"
                                    << "000.0"
                                    << "0.0";
        QTest::newRow("clock") << "0830"
                               << "FC"
                               << ""
                               << "8:30";
        QTest::newRow("clock-midnight") << "0005"
                                        << "FC"
                                        << ""
                                        << "0:05";
        QTest::newRow("date") << "1130"
                              << "FD"
                              << ""
                              << "11-30";
        QTest::newRow("setting-field") << "0084"
                                       << "F"
                                       << ""
                                       << "0 84";
        QTest::newRow("field-wins-over-point") << "0830"
                                               << "FC1"
                                               << ""
                                               << "8:30";
        QTest::newRow("colon-without-field") << "1205"
                                             << "C"
                                             << ""
                                             << "12:05";
        QTest::newRow("dose-point2") << "1205"
                                     << "2"
                                     << ""
                                     << "12.05";
        QTest::newRow("point1-before-point2") << "1205"
                                              << "12"
                                              << ""
                                              << "120.5";
        QTest::newRow("no-flags-level-text") << "0945"
                                             << ""
                                             << "094.5"
                                             << "094.5";
        QTest::newRow("under-range") << "----"
                                     << "1"
                                     << "----"
                                     << "----";
        QTest::newRow("overload") << " OL "
                                  << "1"
                                  << " OL "
                                  << " OL ";
    }
    void valueText()
    {
        QFETCH(QString, digits);
        QFETCH(QString, flags);
        QFETCH(QString, levelText);
        QTEST(displayValueText(fields(digits, flags, levelText)), "expected");
    }

    void unit()
    {
        DisplayFields f;
        QCOMPARE(displayUnitText(f), QString());
        f.DoseMode = true;
        QCOMPARE(displayUnitText(f), QStringLiteral("%DOSE"));
        f.DbaMode = true;
        QCOMPARE(displayUnitText(f), QStringLiteral("dBA"));
    }

    void maxMin_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("max");
        QTest::addColumn<QString>("min");

        QTest::newRow("first-sets-both") << QStringList{"94.5"} << "94.5"
                                         << "94.5";
        QTest::newRow("rises-and-falls") << QStringList{"94.5", "101.2", "88.0", "90.0"} << "101.2"
                                         << "88.0";
        QTest::newRow("numbers-not-texts") << QStringList{"99.9", "100.0", "9.5"} << "100.0"
                                           << "9.5";
        QTest::newRow("overload-sticks") << QStringList{"94.5", " OL ", "120.0"} << "OL"
                                         << "94.5";
        QTest::newRow("under-range-sticks") << QStringList{"94.5", "----", "60.0"} << "94.5"
                                            << "----";
        QTest::newRow("first-is-overload") << QStringList{" OL ", "80.0"} << "OL"
                                           << "80.0";
        QTest::newRow("under-range-then-overload") << QStringList{"90.0", "----", " OL "} << "OL"
                                                   << "----";
        QTest::newRow("first-is-under-range") << QStringList{"----", "80.0"} << "80.0"
                                              << "----";
    }
    void maxMin()
    {
        QFETCH(QStringList, values);
        MaxMin m;
        for (const QString &v : values)
            m.update(v);
        QTEST(m.max, "max");
        QTEST(m.min, "min");
    }
};

DOSEMETER_TEST(TestLiveDisplay)
#include "tst_LiveDisplay.moc"
