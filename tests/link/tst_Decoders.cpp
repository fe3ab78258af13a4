#include "link/Decoders.h"
#include "support/TestMain.h"

#include <QTest>

class TestDecoders : public QObject {
    Q_OBJECT

private slots:
    void statusByte_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchange");
        QTest::addColumn<QString>("weighting");
        QTest::addColumn<int>("flags"); // bits 5..7 as read back

        QTest::newRow("84-4-fast") << 0x15 << 84 << 4 << "Fast" << 0;
        QTest::newRow("all-clear") << 0x00 << 80 << 3 << "Slow" << 0;
        QTest::newRow("90-6-slow") << 0x0F << 90 << 6 << "Slow" << 0;
        QTest::newRow("85-5-fast-flags") << 0xFA << 85 << 5 << "Fast" << 0x7;
        QTest::newRow("flag5-only") << 0x20 << 80 << 3 << "Slow" << 0x1;
    }
    void statusByte()
    {
        QFETCH(int, status);
        const StatusFields f = decodeStatusByte(quint8(status));
        QTEST(f.CriterionLevel, "criterion");
        QTEST(f.ExchangeRate, "exchange");
        QTEST(f.TimeWeightingText, "weighting");
        QCOMPARE(f.FastResponse, f.TimeWeightingText == QLatin1String("Fast"));
        QTEST(int(f.StatusFlag5) | int(f.StatusFlag6) << 1 | int(f.StatusFlag7) << 2, "flags");
    }

    void level_data()
    {
        QTest::addColumn<int>("byte4");
        QTest::addColumn<int>("byte5");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("digits");

        QTest::newRow("94.5") << 0x09 << 0x45 << "094.5" << 94.5f << "0945";
        QTest::newRow("135.2") << 0x13 << 0x52 << "135.2" << 135.2f << "1352";
        QTest::newRow("zero") << 0x00 << 0x00 << "000.0" << 0.0f << "0000";
        QTest::newRow("under-range-high-byte") << 0x1B << 0x00 << "----" << 67.9f << "----";
        QTest::newRow("under-range-beats-overload") << 0xA0 << 0xB0 << "----" << 67.9f << "----";
        QTest::newRow("under-range-low-nibble") << 0x09 << 0x4B << "----" << 67.9f << "----";
        QTest::newRow("overload") << 0xA0 << 0x00 << " OL " << 140.0f << " OL ";
        QTest::newRow("overload-low-byte") << 0x12 << 0x0A << " OL " << 140.0f << " OL ";
        // Digits that are no decimal never read as an exponent.
        QTest::newRow("exponent-digits") << 0x1E << 0x9E << "1E9.E" << 1.0f << "1E9E";
        QTest::newRow("menu-mark") << 0xCC << 0x85 << "CC8.5" << 0.0f << "CC85";
    }
    void level()
    {
        QFETCH(int, byte4);
        QFETCH(int, byte5);
        QFETCH(QString, digits);
        DisplayFields f;
        decodeLevel(quint8(byte4), quint8(byte5), f);
        QTEST(f.LevelText, "text");
        QTEST(f.LevelValue, "value");
        QCOMPARE(f.DisplayDigit[0] + f.DisplayDigit[1] + f.DisplayDigit[2] + f.DisplayDigit[3],
                 digits);
    }

    void displayBytes()
    {
        DisplayFields f;
        decodeDisplayFlags(0xFF, f);
        QVERIFY(f.ColonOn && f.DashOn && f.Paused && f.Running && f.DoseMode && f.DbaMode &&
                f.FieldMode);
        decodeDisplayFlags(0x40, f);
        QVERIFY(f.DbaMode && !f.ColonOn && !f.DashOn && !f.Paused && !f.Running && !f.DoseMode &&
                !f.FieldMode);

        decodeAnnunciators(0x41, f); // only the unused bits 0 and 6
        QVERIFY(!f.MemOn && !f.LoudOn && !f.PeakOn && !f.Point1On && !f.Point2On && !f.KeysLocked);
        decodeAnnunciators(0xBE, f);
        QVERIFY(f.MemOn && f.LoudOn && f.PeakOn && f.Point1On && f.Point2On && f.KeysLocked);

        decodeBankByte(0xBD, f); // battery 5, blink, bank 5, bit 4 set but unused
        QCOMPARE(f.EventBank, 5);
        QVERIFY(f.BankBlink);
        QCOMPARE(f.BatteryLevel, 5);
        decodeBankByte(0xE0, f);
        QCOMPARE(f.EventBank, 0);
        QVERIFY(!f.BankBlink);
        QCOMPARE(f.BatteryLevel, 7);
    }

    void changeMemory()
    {
        DisplayDecoder decoder;
        DisplayFields f;
        const auto frame = [](int b2, int b3, int b4, int b5, int b6) {
            QByteArray bytes;
            for (int b : {0x02, b2, b3, b4, b5, b6, 0x03})
                bytes.append(char(b));
            return bytes;
        };

        // The first frame is decoded in full even when all its bytes are zero.
        f.DbaMode = true;
        f.BatteryLevel = 3;
        DisplayDecoder::Changes c = decoder.decode(frame(0, 0, 0, 0, 0), f);
        QVERIFY(c.flags && c.level && c.bank);
        QVERIFY(!f.DbaMode);
        QCOMPARE(f.BatteryLevel, 0);
        QCOMPARE(f.LevelText, QStringLiteral("000.0"));

        // Unchanged bytes 2, 4, 5 and 6 are not decoded again; byte 3 always is.
        f.DbaMode = true;
        f.LevelText = QStringLiteral("kept");
        c = decoder.decode(frame(0, 0x80, 0, 0, 0), f);
        QVERIFY(!c.flags && !c.level && !c.bank);
        QVERIFY(f.DbaMode);
        QCOMPARE(f.LevelText, QStringLiteral("kept"));
        QVERIFY(f.KeysLocked);

        // Either level byte changing decodes both.
        c = decoder.decode(frame(0, 0, 0, 0x45, 0), f);
        QVERIFY(c.level);
        QCOMPARE(f.LevelText, QStringLiteral("004.5"));

        decoder.reset();
        c = decoder.decode(frame(0, 0, 0, 0x45, 0), f);
        QVERIFY(c.flags && c.level && c.bank);
    }

    void plausibleFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // bytes 2..6
        QTest::addColumn<bool>("plausible");
        const auto f = [](std::initializer_list<int> b) {
            QByteArray bytes;
            for (int v : b)
                bytes.append(char(v));
            return bytes;
        };
        QTest::newRow("dba-level") << f({0x40, 0x10, 0x09, 0x45, 0xA5}) << true;
        QTest::newRow("dba-under-range") << f({0x40, 0x10, 0xBB, 0xBB, 0}) << true;
        QTest::newRow("dba-overload") << f({0x40, 0x14, 0xAA, 0xAA, 0}) << true;
        QTest::newRow("dba-overload-nibble-beside-junk") << f({0x40, 0, 0xA0, 0xF0, 0}) << true;
        QTest::newRow("dose") << f({0x28, 0x20, 0x12, 0x05, 0x2B}) << true;
        QTest::newRow("clock") << f({0x81, 0, 0x23, 0x59, 0}) << true;
        QTest::newRow("menu-mark") << f({0x80, 0, 0xCC, 0x85, 0}) << true;
        QTest::newRow("menu-marks") << f({0x80, 0, 0xCC, 0xCC, 0}) << true;
        QTest::newRow("no-mode-any-digits") << f({0x00, 0, 0xEF, 0xCD, 0}) << true;
        QTest::newRow("unused-bits-set") << f({0x50, 0x41, 0x09, 0x45, 0x10}) << true;
        QTest::newRow("dba-highest-level") << f({0x40, 0x10, 0x19, 0x99, 0}) << true;
        QTest::newRow("dose-above-200") << f({0x20, 0x10, 0x98, 0x76, 0}) << true;
        QTest::newRow("dba-level-200") << f({0x40, 0x10, 0x20, 0x00, 0}) << false;
        QTest::newRow("dba-hex-digits") << f({0x40, 0x00, 0x1E, 0x9E, 0xA5}) << false;
        QTest::newRow("dba-hex-low-nibble") << f({0x40, 0x10, 0x09, 0x4C, 0}) << false;
        QTest::newRow("dose-hex-digit") << f({0x20, 0x20, 0x1D, 0x05, 0}) << false;
        QTest::newRow("field-hex-digit") << f({0x81, 0, 0x2F, 0x59, 0}) << false;
        QTest::newRow("dba-and-dose") << f({0x60, 0, 0x09, 0x45, 0}) << false;
        QTest::newRow("dba-and-field") << f({0xC0, 0, 0x09, 0x45, 0}) << false;
        QTest::newRow("colon-and-dash") << f({0x83, 0, 0x12, 0x05, 0}) << false;
        QTest::newRow("both-points") << f({0x40, 0x30, 0x09, 0x45, 0}) << false;
        QTest::newRow("bank-six") << f({0x40, 0, 0x09, 0x45, 0x06}) << false;
        QTest::newRow("bank-seven") << f({0x40, 0, 0x09, 0x45, 0xE7}) << false;
    }
    void plausibleFrames()
    {
        QFETCH(QByteArray, bytes);
        QTEST(plausibleDisplayFrame(QByteArray(1, 0x02) + bytes + QByteArray(1, 0x03)),
              "plausible");
    }

    void boundedNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("value");
        QTest::newRow("year") << "2009" << 0 << 9999 << 2009;
        QTest::newRow("exponent-year") << "20E9" << 0 << 9999 << 9999;
        QTest::newRow("beyond-int") << "99999999999999999999" << 0 << 99 << 99;
        QTest::newRow("huge-exponent") << "1e999" << 0 << 59 << 59;
        QTest::newRow("negative") << "-5" << 0 << 59 << 0;
        QTest::newRow("fraction-truncated") << "12.9" << 0 << 59 << 12;
        QTest::newRow("none") << "AE" << 1 << 12 << 1;
    }
    void boundedNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, low);
        QFETCH(int, high);
        QTEST(leadingInt(text, low, high), "value");
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "094.5" << 94.5;
        QTest::newRow("leading-blank") << " 85.3" << 85.3;
        QTest::newRow("unit-after") << "85dB" << 85.0;
        QTest::newRow("no-number") << "OL" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("point-first") << ".5" << 0.5;
        QTest::newRow("dashes") << "----" << 0.0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QTEST(leadingNumber(text), "value");
    }
};

DOSEMETER_TEST(TestDecoders)
#include "tst_Decoders.moc"
