#include "data/LevelCell.h"
#include "support/TestMain.h"

#include <QTest>

class TestLevelCell : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("tenthsEven");
        QTest::addColumn<qint64>("tenthsAway");
        QTest::addColumn<qint64>("floor");
        // clang-format off
        QTest::newRow("display-text") << QByteArray("094.5") << true << 94.5 << qint64(945) << qint64(945) << qint64(94);
        QTest::newRow("blanks-and-unit") << QByteArray(" \t85.3dB") << true << 85.3 << qint64(853) << qint64(853) << qint64(85);
        QTest::newRow("whole") << QByteArray("90") << true << 90.0 << qint64(900) << qint64(900) << qint64(90);
        QTest::newRow("trailing-point") << QByteArray("85.") << true << 85.0 << qint64(850) << qint64(850) << qint64(85);
        QTest::newRow("point-first") << QByteArray(".5") << true << 0.5 << qint64(5) << qint64(5) << qint64(0);
        QTest::newRow("plus") << QByteArray("+85.3") << true << 85.3 << qint64(853) << qint64(853) << qint64(85);
        QTest::newRow("minus") << QByteArray("-2.25") << true << -2.25 << qint64(-22) << qint64(-23) << qint64(-3);
        QTest::newRow("tie-even-down") << QByteArray("85.25") << true << 85.25 << qint64(852) << qint64(853) << qint64(85);
        QTest::newRow("tie-even-up") << QByteArray("85.75") << true << 85.75 << qint64(858) << qint64(858) << qint64(85);
        // 85.35 is not exact in binary; the decimal text decides the tie.
        QTest::newRow("tie-in-the-text") << QByteArray("85.35") << true << 85.35 << qint64(854) << qint64(854) << qint64(85);
        QTest::newRow("too-many-digits-to-keep-exactly") << QByteArray("85.99999999999999999") << true << 86.0 << qint64(860) << qint64(860) << qint64(86);
        QTest::newRow("exponent") << QByteArray("8.53e1") << true << 85.3 << qint64(853) << qint64(853) << qint64(85);
        QTest::newRow("bare-e-is-no-exponent") << QByteArray("85e") << true << 85.0 << qint64(850) << qint64(850) << qint64(85);
        QTest::newRow("leading-zeros") << QByteArray("0000000000000000000000085.3") << true << 85.3 << qint64(853) << qint64(853) << qint64(85);
        QTest::newRow("dashes") << QByteArray("----") << false << 0.0 << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("point-alone") << QByteArray(".") << false << 0.0 << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("overload") << QByteArray(" OL ") << false << 0.0 << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("empty") << QByteArray() << false << 0.0 << qint64(0) << qint64(0) << qint64(0);
        // clang-format on
    }
    void leadingNumber()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, found);
        const LevelCell::Number n = LevelCell::leadingNumber(text);
        QCOMPARE(n.found, found);
        QTEST(n.value, "value");
        if (!found)
            return;
        QTEST(n.nearestTenths(true), "tenthsEven");
        QTEST(n.nearestTenths(false), "tenthsAway");
        QTEST(n.floorWhole(), "floor");
    }

    // What the meter can have written into a level cell, and what it cannot.
    void unreadableLevel_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("display-text") << QByteArray("094.5") << false;
        QTest::newRow("logger-text") << QByteArray("85.3") << false;
        QTest::newRow("lowest") << QByteArray("67.9") << false;
        QTest::newRow("highest") << QByteArray("140.0") << false;
        QTest::newRow("highest-with-zeros") << QByteArray("140.000") << false;
        QTest::newRow("whole") << QByteArray("90") << false;
        QTest::newRow("trailing-point") << QByteArray("85.") << false;
        QTest::newRow("blanks-around") << QByteArray(" \t85.3 ") << false;
        QTest::newRow("overload") << QByteArray(" OL ") << false;
        QTest::newRow("under-range") << QByteArray("----") << false;
        QTest::newRow("no-digit") << QByteArray("n/a") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("point-alone") << QByteArray(".") << false;
        QTest::newRow("just-below") << QByteArray("67.89") << true;
        QTest::newRow("just-above") << QByteArray("140.01") << true;
        QTest::newRow("above") << QByteArray("141.0") << true;
        QTest::newRow("far-above") << QByteArray("999.9") << true;
        QTest::newRow("beyond-any-level") << QByteArray("99999999999999999999999") << true;
        QTest::newRow("zero") << QByteArray("0") << true;
        QTest::newRow("point-first") << QByteArray(".5") << true;
        QTest::newRow("hexadecimal") << QByteArray("0x50") << true;
        QTest::newRow("space-inside") << QByteArray("8 5") << true;
        QTest::newRow("exponent") << QByteArray("8.5e1") << true;
        QTest::newRow("plus") << QByteArray("+85") << true;
        QTest::newRow("unit") << QByteArray("85.3dB") << true;
        QTest::newRow("digit-after-text") << QByteArray("dB85") << true;
        QTest::newRow("two-points") << QByteArray("85.3.1") << true;
    }
    void unreadableLevel()
    {
        QFETCH(QByteArray, text);
        QTEST(LevelCell::isUnreadableLevel(text), "unreadable");
    }
};

DOSEMETER_TEST(TestLevelCell)
#include "tst_LevelCell.moc"
