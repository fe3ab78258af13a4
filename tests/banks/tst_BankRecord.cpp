#include "BankRig.h"

#include "banks/BankRecord.h"
#include "link/Twa.h"
#include "support/TestMain.h"

#include <QTest>

#include <cmath>
#include <limits>

using bankrig::bytes;

// The fifteen texts of a bank's column and the TWA behind row 13.
class TestBankRecord : public QObject {
    Q_OBJECT

private slots:
    void texts_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QStringList>("expected");
        // Bytes: configuration, start month, day, hour, minute, stop hour, minute,
        // exposure hours, minutes, dose high, low, divisor code, 3 unused, peak hours,
        // minutes, peak duration minutes, seconds, threshold.
        QTest::newRow("unused") << bytes({0x15, 0x12, 0x31, 1, 2, 3, 4, 5, 6, 7,
                                          8,    1,    0,    0, 0, 1, 2, 3, 4, 80})
                                << QStringList{" Unused", "", "", "", "", "", "", "",
                                               "",        "", "", "", "", "", ""};
        QTest::newRow("code-1-fast-90-3dB-exceed-clear")
            << bytes({0x93, 0x12, 0x31, 0x07, 0x05, 0x15, 0x45, 8, 40, 0x04,
                      0xD2, 1,    0,    0,    0,    3,    4,    5, 6,  80})
            << QStringList{" Used",  " 90dB",  " 80dB",  " 3dB",  " Fast",  " No", " No", " 12-31",
                           " 07:05", " 15:45", " 08:40", " 1234", " 100.9", "",    ""};
        QTest::newRow("code-100-exposure-130:05")
            << bytes({0x89, 0x01, 0x05, 0x23, 0x59, 0x00, 0x10, 130, 5, 0x04,
                      0xD2, 100,  0,    0,    0,    0xFF, 0,    0,   0, 90})
            << QStringList{" Used",  " 84dB",  " 90dB",  " 5dB",    " Slow", " No", " No", " 01-05",
                           " 23:59", " 00:10", " 30:05", "  12.34", " 68.9", "",    ""};
        QTest::newRow("code-10-6dB")
            << bytes({0x8E, 0x10, 0x09, 0x08, 0x00, 0x16, 0x30, 8, 30, 0x05,
                      0xE0, 10,   0,    0,    0,    0xFF, 0,    0, 0,  85})
            << QStringList{" Used",  " 85dB",  " 85dB",  " 6dB",    " Slow", " No", " No", " 10-09",
                           " 08:00", " 16:30", " 08:30", "  150.4", " 88.5", "",    ""};
        QTest::newRow("code-100-below-one-percent")
            << bytes({0x8B, 0x02, 0x28, 0x06, 0x00, 0x06, 0x01, 0, 1, 0x00,
                      0x05, 100,  0,    0,    0,    0xFF, 0,    0, 0, 80})
            << QStringList{" Used",  " 90dB",  " 80dB",  " 5dB",  " Slow", " No", " No", " 02-28",
                           " 06:00", " 06:01", " 00:01", "  .05", " 35.2", "",    ""};
        QTest::newRow("unknown-divisor-code")
            << bytes({0x8A, 0x12, 0x06, 0x07, 0x30, 0x15, 0x30, 8, 0, 0x27,
                      0x10, 7,    0,    0,    0,    0xFF, 0,    0, 0, 80})
            << QStringList{" Used",  " 85dB",  " 80dB",  " 5dB", " Slow", " No", " No", " 12-06",
                           " 07:30", " 15:30", " 08:00", " ?",   "",      "",    ""};
        QTest::newRow("dose-0-code-100")
            << bytes({0x8A, 0x12, 0x06, 0x07, 0x30, 0x07, 0x31, 0, 1, 0,
                      0,    100,  0,    0,    0,    0xFF, 0,    0, 0, 80})
            << QStringList{" Used",  " 85dB",  " 80dB",  " 5dB", " Slow", " No", " No", " 12-06",
                           " 07:30", " 07:31", " 00:01", "  0",  "",      "",    ""};
        QTest::newRow("dose-0-code-1")
            << bytes({0x8A, 0x12, 0x06, 0x07, 0x30, 0x07, 0x31, 0, 1, 0,
                      0,    1,    0,    0,    0,    0xFF, 0,    0, 0, 80})
            << QStringList{" Used",  " 85dB",  " 80dB",  " 5dB", " Slow", " No", " No", " 12-06",
                           " 07:30", " 07:31", " 00:01", " 0",   "",      "",    ""};
        QTest::newRow("peak-with-exceed-and-dbrms")
            << bytes({0xE0, 0x07, 0x14, 0x13, 0x45, 0x21, 0x50, 8, 5,  0x00,
                      0xC8, 1,    0,    0,    0,    2,    7,    0, 45, 75})
            << QStringList{" Used",  " 80dB", " 75dB",  " 3dB",   " Slow",
                           " Yes",   " Yes",  " 07-14", " 13:45", " 21:50",
                           " 08:05", " 200",  " 83.0",  " 02:07", " 00:45"};
        QTest::newRow("exceed-without-peak-time")
            << bytes({0xC0, 0x07, 0x14, 0x13, 0x45, 0x21, 0x50, 8, 5,  0x00,
                      0x64, 1,    0,    0,    0,    0xFF, 7,    1, 30, 80})
            << QStringList{" Used",  " 80dB",  " 80dB",  " 3dB", " Slow", " No", " Yes",  " 07-14",
                           " 13:45", " 21:50", " 08:05", " 100", " 80.0", "",    " 01:30"};
        QTest::newRow("record-too-short")
            << bytes({0x8A, 0x12, 0x06, 0x07, 0x30, 0x15, 0x30, 8, 0, 0x27, 0x10, 100, 0, 0, 0,
                      0xFF, 0, 0, 0})
            << QStringList{" Read failed", "", "", "", "", "", "", "", "", "", "", "", "", "", ""};
    }
    void texts()
    {
        QFETCH(QByteArray, record);
        QFETCH(QStringList, expected);
        const BankRecord::Texts texts = BankRecord::texts(record);
        QCOMPARE(QStringList(texts.begin(), texts.end()), expected);
    }

    // Rows of OSHA 29 CFR 1910.95 Appendix A, Table A-1 (90 dB, 5 dB), the NIOSH form
    // (85 dB, 3 dB), and the 4 dB and 6 dB factors.
    void twa_data()
    {
        QTest::addColumn<double>("dose");
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchange");
        QTest::addColumn<QString>("expected");
        QTest::newRow("osha-10") << 10.0 << 90 << 5 << " 73.4";
        QTest::newRow("osha-25") << 25.0 << 90 << 5 << " 80.0";
        QTest::newRow("osha-50") << 50.0 << 90 << 5 << " 85.0";
        QTest::newRow("osha-75") << 75.0 << 90 << 5 << " 87.9";
        QTest::newRow("osha-100") << 100.0 << 90 << 5 << " 90.0";
        QTest::newRow("osha-150") << 150.0 << 90 << 5 << " 92.9";
        QTest::newRow("osha-200") << 200.0 << 90 << 5 << " 95.0";
        QTest::newRow("osha-300") << 300.0 << 90 << 5 << " 97.9";
        QTest::newRow("osha-400") << 400.0 << 90 << 5 << " 100.0";
        QTest::newRow("osha-500") << 500.0 << 90 << 5 << " 101.6";
        QTest::newRow("osha-800") << 800.0 << 90 << 5 << " 105.0";
        QTest::newRow("osha-999") << 999.0 << 90 << 5 << " 106.6";
        QTest::newRow("niosh-25") << 25.0 << 85 << 3 << " 79.0";
        QTest::newRow("niosh-50") << 50.0 << 85 << 3 << " 82.0";
        QTest::newRow("niosh-100") << 100.0 << 85 << 3 << " 85.0";
        QTest::newRow("niosh-200") << 200.0 << 85 << 3 << " 88.0";
        QTest::newRow("niosh-400") << 400.0 << 85 << 3 << " 91.0";
        QTest::newRow("84-4dB-200") << 200.0 << 84 << 4 << " 88.0";
        QTest::newRow("80-6dB-200") << 200.0 << 80 << 6 << " 86.0";
        QTest::newRow("80-6dB-smallest-dose") << 0.01 << 80 << 6 << " .0";
    }
    void twa()
    {
        QFETCH(double, dose);
        QFETCH(int, criterion);
        QFETCH(int, exchange);
        const std::optional<int> tenths = Twa::tenthsDb(dose, criterion, exchange);
        QVERIFY(tenths);
        QTEST(Twa::text(*tenths), "expected");
    }

    void noTwa_data()
    {
        QTest::addColumn<double>("dose");
        QTest::addColumn<int>("exchange");
        QTest::newRow("dose-0") << 0.0 << 5;
        QTest::newRow("dose-negative") << -10.0 << 5;
        QTest::newRow("dose-nan") << std::numeric_limits<double>::quiet_NaN() << 5;
        QTest::newRow("dose-infinite") << std::numeric_limits<double>::infinity() << 5;
        QTest::newRow("exchange-2") << 100.0 << 2;
        QTest::newRow("exchange-7") << 100.0 << 7;
    }
    void noTwa()
    {
        QFETCH(double, dose);
        QFETCH(int, exchange);
        QVERIFY(!Twa::tenthsDb(dose, 90, exchange));
    }

    void twaText_data()
    {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("expected");
        QTest::newRow("853") << 853 << " 85.3";
        QTest::newRow("1005") << 1005 << " 100.5";
        QTest::newRow("5") << 5 << " .5";
        QTest::newRow("negative") << -12 << " -1.2";
    }
    void twaText()
    {
        QFETCH(int, tenths);
        QTEST(Twa::text(tenths), "expected");
    }
};

DOSEMETER_TEST(TestBankRecord)
#include "tst_BankRecord.moc"
