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
