#include "data/LoggerRun.h"
#include "link/Decoders.h"
#include "link/MeterProtocol.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QTest>

// What the virtual meter encodes, the program's decoders read back as the meter meant it.

namespace {

const QDateTime kClock(QDate(2009, 11, 30), QTime(10, 7));

// The names of the display flags that are set, in the order of the frame's bits.
QStringList flagsSet(const DisplayFields &f)
{
    const std::pair<bool, const char *> flags[] = {
        {f.ColonOn, "ColonOn"},       {f.DashOn, "DashOn"},      {f.Paused, "Paused"},
        {f.Running, "Running"},       {f.DoseMode, "DoseMode"},  {f.DbaMode, "DbaMode"},
        {f.FieldMode, "FieldMode"},   {f.MemOn, "MemOn"},        {f.LoudOn, "LoudOn"},
        {f.PeakOn, "PeakOn"},         {f.Point1On, "Point1On"},  {f.Point2On, "Point2On"},
        {f.KeysLocked, "KeysLocked"}, {f.BankBlink, "BankBlink"}};
    QStringList names;
    for (const auto &[set, name] : flags)
        if (set)
            names << QString::fromLatin1(name);
    return names;
}

QByteArray ask(VirtualMeter &meter, const QByteArray &command, double t)
{
    meter.receive(command, t);
    return meter.takeReady(t + 0.5);
}

void key(VirtualMeter &meter, int code, double t)
{
    meter.receive(QByteArray("F") + char(code), t);
}

} // namespace

class TestProtocolRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void statusByte_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("criterion");
        QTest::addColumn<int>("exchange");
        QTest::addColumn<QString>("weighting");
        QTest::addColumn<QString>("flags"); // StatusFlag5..7 as 0/1

        QTest::newRow("84-4-fast") << 0x15 << 84 << 4 << "Fast"
                                   << "000";
        QTest::newRow("80-3-slow") << 0x00 << 80 << 3 << "Slow"
                                   << "000";
        QTest::newRow("85-5-slow") << 0x0A << 85 << 5 << "Slow"
                                   << "000";
        QTest::newRow("90-6-fast-all-flags") << 0xFF << 90 << 6 << "Fast"
                                             << "111";
        QTest::newRow("flag-5-only") << 0x20 << 80 << 3 << "Slow"
                                     << "100";
        QTest::newRow("flag-6-only") << 0x43 << 90 << 3 << "Slow"
                                     << "010";
        QTest::newRow("flag-7-only") << 0x8C << 80 << 6 << "Slow"
                                     << "001";
    }
    void statusByte()
    {
        QFETCH(int, status);
        VirtualMeter meter;
        meter.setStatusByte(quint8(status));
        const QByteArray reply = ask(meter, "X", 1.0);
        QCOMPARE(reply.size(), Protocol::kStatusReplyLength);
        const StatusFields f = decodeStatusByte(quint8(reply.at(1)));
        QTEST(f.CriterionLevel, "criterion");
        QTEST(f.ExchangeRate, "exchange");
        QTEST(f.TimeWeightingText, "weighting");
        QTEST(QString("%1%2%3")
                  .arg(int(f.StatusFlag5))
                  .arg(int(f.StatusFlag6))
                  .arg(int(f.StatusFlag7)),
              "flags");
    }

    void displayFrame_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("level");    // fixed level; -1 under range, 250 overload
        QTest::addColumn<QList<int>>("keys"); // pressed 1 s apart before the frame
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("battery");
        QTest::addColumn<QString>("levelText");
        QTest::addColumn<float>("levelValue");
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<int>("bank");

        using M = VirtualMeter::DisplayMode;
        const QList<int> none;
        QTest::newRow("dba-94.5") << int(M::Dba) << 94.5 << none << false << 5 << "094.5" << 94.5f
                                  << QStringList{"DbaMode", "Point1On"} << 0;
        QTest::newRow("dba-loud-135.2")
            << int(M::Dba) << 135.2 << none << false << 3 << "135.2" << 135.2f
            << QStringList{"DbaMode", "LoudOn", "Point1On"} << 0;
        QTest::newRow("under-range") << int(M::Dba) << -1.0 << none << false << 5 << "----" << 67.9f
                                     << QStringList{"DbaMode", "Point1On"} << 0;
        QTest::newRow("overload") << int(M::Dba) << 250.0 << none << false << 5 << " OL " << 140.0f
                                  << QStringList{"DbaMode", "LoudOn", "Point1On"} << 0;
        QTest::newRow("clock-10:07") << int(M::Clock) << 94.5 << none << false << 5 << "100.7"
                                     << 100.7f << QStringList{"ColonOn", "FieldMode"} << 0;
        QTest::newRow("date-11-30") << int(M::Date) << 94.5 << none << false << 5 << "113.0"
                                    << 113.0f << QStringList{"DashOn", "FieldMode"} << 0;
        QTest::newRow("keys-locked-battery-0")
            << int(M::Dba) << 94.5 << none << true << 0 << "094.5" << 94.5f
            << QStringList{"DbaMode", "Point1On", "KeysLocked"} << 0;
        QTest::newRow("running-in-e1")
            << int(M::Dba) << 94.5 << QList<int>{Protocol::kKeyRunPause} << false << 7 << "094.5"
            << 94.5f << QStringList{"Running", "DbaMode", "MemOn", "Point1On", "BankBlink"} << 1;
        QTest::newRow("paused-in-e1")
            << int(M::Dba) << 94.5 << QList<int>{Protocol::kKeyRunPause, Protocol::kKeyRunPause}
            << false << 7 << "094.5" << 94.5f
            << QStringList{"Paused", "Running", "DbaMode", "MemOn", "Point1On", "BankBlink"} << 1;
        QTest::newRow("stopped-after-e1-with-peak")
            << int(M::Dba) << 250.0 << QList<int>{Protocol::kKeyRunPause, Protocol::kKeyStop}
            << false << 7 << " OL " << 140.0f
            << QStringList{"DbaMode", "LoudOn", "PeakOn", "Point1On"} << 1;
        QTest::newRow("setup-menu-criterion")
            << int(M::Dba) << 94.5 << QList<int>{Protocol::kKeySetupMenu} << false << 5 << "CC8.4"
            << 0.0f << QStringList{"FieldMode"} << 0;
    }
    void displayFrame()
    {
        QFETCH(int, mode);
        QFETCH(double, level);
        QFETCH(QList<int>, keys);
        QFETCH(bool, locked);
        QFETCH(int, battery);
        VirtualMeter meter;
        meter.setClock(kClock, 0.0);
        meter.setDisplayMode(VirtualMeter::DisplayMode(mode));
        meter.setFixedLevel(level);
        meter.setBattery(battery);
        double t = 1.0;
        for (int code : keys)
            key(meter, code, t += 1.0);
        meter.setLocked(locked);
        const QByteArray frame = ask(meter, " ", t + 1.0);
        QCOMPARE(frame.size(), Protocol::kDisplayFrameLength);
        DisplayFields f;
        DisplayDecoder().decode(frame, f);
        QTEST(f.LevelText, "levelText");
        QTEST(f.LevelValue, "levelValue");
        QTEST(flagsSet(f), "flags");
        QTEST(f.EventBank, "bank");
        QCOMPARE(f.BatteryLevel, battery);
    }

    // A logged sample reads back as the level it was logged with, or "OL".
    void loggedSample_data()
    {
        QTest::addColumn<double>("db");
        QTest::addColumn<bool>("overload");
        QTest::addColumn<QString>("text");
        QTest::newRow("94.5") << 94.5 << false << "94.5";
        QTest::newRow("123.4") << 123.4 << false << "123.4";
        QTest::newRow("overload-flag") << 94.5 << true << "OL";
    }
    void loggedSample()
    {
        QFETCH(double, db);
        QFETCH(bool, overload);
        const QByteArray image =
            VirtualMeter::memoryWithRuns({{kClock, 10, {{db, overload}}}}, 1, 10);
        const int sample = MemoryMap::kRunDataStart + MemoryMap::kRunHeaderLength;
        QTEST(LoggerRun::levelText(quint8(image.at(sample)), quint8(image.at(sample + 1)),
                                   quint8(image.at(sample + 2))),
              "text");
    }

    // A bank's configuration byte, written by a run, read with the status decoder.
    void bankConfiguration_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<double>("level");
        QTest::addColumn<int>("criterion");
        QTest::addColumn<QString>("weighting");
        QTest::addColumn<QString>("flags"); // dBRMS 115, Exceed 140dB, used

        QTest::newRow("quiet") << 0x15 << 90.0 << 84 << "Fast"
                               << "001";
        QTest::newRow("loud") << 0x0A << 120.0 << 85 << "Slow"
                              << "101";
        QTest::newRow("overload") << 0x03 << 250.0 << 90 << "Slow"
                                  << "111";
    }
    void bankConfiguration()
    {
        QFETCH(int, status);
        QFETCH(double, level);
        VirtualMeter meter;
        meter.setStatusByte(quint8(status));
        meter.setFixedLevel(level);
        key(meter, Protocol::kKeyRunPause, 1.0);
        key(meter, Protocol::kKeyStop, 61.0);
        const QByteArray reply =
            ask(meter, QByteArray("R") + char(MemoryMap::bankAddress(1)) + '\0', 62.0);
        const StatusFields f = decodeStatusByte(quint8(reply.at(1)));
        QTEST(f.CriterionLevel, "criterion");
        QTEST(f.TimeWeightingText, "weighting");
        QTEST(QString("%1%2%3")
                  .arg(int(f.StatusFlag5))
                  .arg(int(f.StatusFlag6))
                  .arg(int(f.StatusFlag7)),
              "flags");
    }
};

DOSEMETER_TEST(TestProtocolRoundTrip)
#include "tst_ProtocolRoundTrip.moc"
