#include "sim/PtyServer.h"
#include "sim/Simulator.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QTest>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

class TestSimulator : public QObject {
    Q_OBJECT

private slots:
    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("valid");

        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("status-hex") << QStringList{"--status", "0x1F"} << true;
        QTest::newRow("status-too-big") << QStringList{"--status", "256"} << false;
        QTest::newRow("threshold-negative") << QStringList{"--threshold", "-1"} << false;
        QTest::newRow("mode-unknown") << QStringList{"--mode", "peak"} << false;
        QTest::newRow("level-too-high") << QStringList{"--level", "200"} << false;
        QTest::newRow("battery-8") << QStringList{"--battery", "8"} << false;
        QTest::newRow("seed-negative") << QStringList{"--seed", "-1"} << false;
        QTest::newRow("faults") << QStringList{"--fault",
                                               "drop=0.1,corrupt=0,short=1,stall-after=5,silent"}
                                << true;
        QTest::newRow("fault-fraction-above-one") << QStringList{"--fault", "drop=2"} << false;
        QTest::newRow("fault-unknown") << QStringList{"--fault", "vanish"} << false;
        QTest::newRow("memory-and-demo")
            << QStringList{"--memory", "x.bin", "--demo-memory"} << false;
        QTest::newRow("stray-argument") << QStringList{"extra"} << false;
    }
    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, valid);
        Simulator::Options options;
        QString message;
        const auto result =
            Simulator::parseOptions(QStringList{"dosemeter-sim"} + arguments, options, message);
        QCOMPARE(result == Simulator::Parse::Run, valid);
        QCOMPARE(message.isEmpty(), valid);
    }

    void optionsConfigureTheMeter()
    {
        Simulator::Options options;
        QString message;
        QCOMPARE(
            Simulator::parseOptions({"dosemeter-sim", "--status", "0x0A", "--threshold", "75",
                                     "--mode", "dose", "--level", "88.8", "--locked", "--battery",
                                     "2", "--fault", "stall-after=7", "--fault", "short=0.5"},
                                    options, message),
            Simulator::Parse::Run);
        VirtualMeter meter;
        QVERIFY(Simulator::configure(options, meter, message));
        QCOMPARE(meter.statusByte(), 0x0A);
        QCOMPARE(meter.threshold(), 75);
        QCOMPARE(meter.displayMode(), VirtualMeter::DisplayMode::Dose);
        QCOMPARE(meter.fixedLevel(), std::optional<double>(88.8));
        QVERIFY(meter.locked());
        QCOMPARE(meter.battery(), 2);
        QCOMPARE(meter.faults().stallAfter, 7);
        QCOMPARE(meter.faults().shortReply, 0.5);

        options = {};
        options.memoryFile = QStringLiteral("/nonexistent/image.bin");
        QVERIFY(!Simulator::configure(options, meter, message));
        QVERIFY(message.contains("image.bin"));
    }

#if defined(Q_OS_UNIX)
    // Two clients one after the other get their replies on the terminal.
    void servesOnPseudoTerminal()
    {
        VirtualMeter meter;
        PtyServer server(meter);
        QVERIFY2(server.start(), qPrintable(server.errorString()));
        QVERIFY(server.portName().startsWith("/dev/"));
        for (int client = 0; client < 2; ++client) {
            const int fd =
                ::open(server.portName().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, "X R", 3), 3); // the read request arrives split
            QTest::qWait(20);
            QCOMPARE(::write(fd, "\x3b\x00", 2), 2);
            QByteArray got;
            QVERIFY(QTest::qWaitFor(
                [&] {
                    char buffer[64];
                    const ssize_t n = ::read(fd, buffer, sizeof buffer);
                    if (n > 0)
                        got.append(buffer, n);
                    return got.size() >= 13;
                },
                2000));
            QCOMPARE(got.size(), 13);
            QCOMPARE(got.left(3).toHex(), "021503");
            QCOMPARE(got.at(3), '\x02'); // the display frame
            QCOMPARE(got.at(9), '\x03');
            QCOMPARE(got.mid(10).toHex(), "025003");
            ::close(fd);
        }
    }
#endif
};

DOSEMETER_TEST(TestSimulator)
#include "tst_Simulator.moc"
