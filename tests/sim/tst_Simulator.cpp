#include "link/MeterProtocol.h"
#include "sim/PtyServer.h"
#include "sim/Simulator.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// dosemeter-sim as its own process; the terminal's path from its first line.
bool startSim(QProcess &sim, const QStringList &options, QString &port)
{
    sim.start(testsupport::binDir() + QStringLiteral("/dosemeter-sim"), options);
    if (!sim.waitForStarted(5000))
        return false;
    for (int i = 0; i < 50 && !sim.canReadLine(); ++i)
        sim.waitForReadyRead(100);
    const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
    port = line.mid(6);
    return line.startsWith(QLatin1String("port: "));
}

bool send(int fd, const QByteArray &bytes)
{
    return ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

// Writes `command` to the terminal and reads `length` reply bytes (within 2 s).
QByteArray exchange(int fd, const QByteArray &command, int length)
{
    if (!send(fd, command))
        return {};
    QByteArray got;
    [[maybe_unused]] const bool complete = QTest::qWaitFor(
        [&] {
            char buffer[64];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, n);
            return got.size() >= length;
        },
        2000);
    return got;
}

QByteArray address(int a)
{
    return QByteArray(1, char(a & 0xFF)) + char(a >> 8);
}

} // namespace
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
        QTest::newRow("stuck-menu") << QStringList{"--fault", "stuck-menu"} << true;
        QTest::newRow("stuck-menu-with-value") << QStringList{"--fault", "stuck-menu=1"} << false;
        QTest::newRow("vanish-after") << QStringList{"--fault", "vanish-after=2.5"} << true;
        QTest::newRow("vanish-after-negative")
            << QStringList{"--fault", "vanish-after=-1"} << false;
        QTest::newRow("vanish-after-no-value") << QStringList{"--fault", "vanish-after"} << false;
        QTest::newRow("key-delay") << QStringList{"--key-delay", "2"} << true;
        QTest::newRow("key-delay-negative") << QStringList{"--key-delay", "-0.5"} << false;
        QTest::newRow("key-delay-nan") << QStringList{"--key-delay", "nan"} << false;
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
        QCOMPARE(Simulator::parseOptions({"dosemeter-sim",
                                          "--status",
                                          "0x0A",
                                          "--threshold",
                                          "75",
                                          "--mode",
                                          "dose",
                                          "--level",
                                          "88.8",
                                          "--locked",
                                          "--battery",
                                          "2",
                                          "--fault",
                                          "stall-after=7",
                                          "--fault",
                                          "short=0.5,stuck-menu",
                                          "--fault",
                                          "vanish-after=30",
                                          "--key-delay",
                                          "2"},
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
        QVERIFY(meter.faults().stuckMenu);
        QCOMPARE(meter.vanishesAt(), 30.0);
        QCOMPARE(meter.keyDelay(), 2.0);

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

    // Banks and their time copies come from --memory; register writes and the bank of a
    // run made with RUN and stop are in --save-memory.
    void memoryImageInAndOut()
    {
        QTemporaryDir dir;
        QByteArray image = VirtualMeter::demoMemory(QDateTime(QDate(2009, 11, 30), QTime(16, 0)));
        image[MemoryMap::bankAddress(5)] = char(0x8A); // E5 used too
        QFile in(dir.filePath("in.bin"));
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(image) == image.size());
        in.close();
        QProcess sim;
        QString port;
        QVERIFY(startSim(sim, {"--memory", in.fileName(), "--save-memory", dir.filePath("out.bin")},
                         port));
        const int fd = ::open(port.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        const int e2 = MemoryMap::bankAddress(2);
        const int copy2 = MemoryMap::bankTimeCopyAddress(2);
        QCOMPARE(exchange(fd, "R" + address(e2), 3).toHex(), "02d503");
        QCOMPARE(exchange(fd, "R" + address(e2 + 19), 3).toHex(), "025003");
        QCOMPARE(exchange(fd, "R" + address(copy2), 3).toHex(), "021103");
        QCOMPARE(exchange(fd, "R" + address(copy2 + 5), 3).toHex(), "021503");
        QCOMPARE(exchange(fd, "R" + address(MemoryMap::bankAddress(5)), 3).toHex(), "028a03");
        // The stop-time rule's writes: the copy's stop into the bank, then a new copy.
        QVERIFY(send(fd, "W" + address(e2 + 5) + '\x16'));
        QVERIFY(send(fd, "W" + address(copy2 + 4) + '\x17'));
        QVERIFY(send(fd, QByteArray("F\x10")));
        QTest::qWait(300);
        QVERIFY(send(fd, QByteArray("F\x20")));
        QCOMPARE(exchange(fd, "R" + address(e2 + 5), 3).toHex(), "021603");
        ::close(fd);
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 0);

        QFile out(dir.filePath("out.bin"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray saved = out.readAll();
        QCOMPARE(saved.size(), 0x10000);
        QCOMPARE(quint8(saved.at(e2 + 5)), 0x16);
        QCOMPARE(quint8(saved.at(copy2 + 4)), 0x17);
        // The run went into E3, the first free bank, with the default settings 0x15.
        const int e3 = MemoryMap::bankAddress(3);
        QCOMPARE(quint8(saved.at(e3)), 0x95);
        const QDate today = QDate::currentDate();
        const QString month = QString::number(today.month()).rightJustified(2, '0');
        const QString day = QString::number(today.day()).rightJustified(2, '0');
        if (QTime::currentTime() > QTime(0, 0, 5)) // not across midnight
            QCOMPARE(QString(saved.mid(e3 + 1, 2).toHex()), month + day);
        // Everything else as it came in.
        QByteArray expected = image;
        expected[e2 + 5] = char(0x16);
        expected[copy2 + 4] = char(0x17);
        expected.replace(e3, MemoryMap::kBankSize, saved.mid(e3, MemoryMap::kBankSize));
        QCOMPARE(saved, expected);
    }

    // vanish-after: the terminal and the link go away as with a pulled adapter; the
    // program runs on until it is ended, and ends normally.
    void vanishAfter()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("meter");
        QProcess sim;
        QString port;
        QVERIFY(startSim(sim, {"--fault", "vanish-after=0.5", "--link", link}, port));
        const int fd = ::open(link.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        QCOMPARE(exchange(fd, "X", 3).toHex(), "021503");
        QVERIFY(QTest::qWaitFor([&] { return !QFileInfo(link).isSymLink(); }, 3000));
        // The device is gone at once; the client finds its terminal hung up.
        QVERIFY(!QFileInfo::exists(port));
        char byte;
        QCOMPARE(::read(fd, &byte, 1), ssize_t(0));
        QVERIFY(::write(fd, "X", 1) < 0 && errno == EIO);
        ::close(fd);
        QVERIFY(::open(port.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK) < 0);
        QTest::qWait(200);
        QCOMPARE(sim.state(), QProcess::Running);
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
    }
#endif
};

DOSEMETER_TEST(TestSimulator)
#include "tst_Simulator.moc"
