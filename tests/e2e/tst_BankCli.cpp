#include "SimProcess.h"

#include "link/MeterProtocol.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

void put(QByteArray &image, int address, const QByteArray &values)
{
    image.replace(address, values.size(), values);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An erased logger with three banks: E1 whose time copy holds a later stop time, E2
// whose copy belongs to an older run, E4 unused with a stale copy.
QByteArray bankImage()
{
    QByteArray image = VirtualMeter::erasedMemory();
    put(image, MemoryMap::bankAddress(1),
        bytes({0x8A, 0x12, 0x06, 0x07, 0x30, 0x15, 0x30, 8, 0, 0x27,
               0x10, 100,  0,    0,    0,    0xFF, 0,    0, 0, 80}));
    put(image, MemoryMap::bankTimeCopyAddress(1), bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}));
    put(image, MemoryMap::bankAddress(2),
        bytes({0xE3, 0x12, 0x07, 0x22, 0x00, 0x06, 0x10, 8, 10, 0x00,
               0xC8, 1,    0,    0,    0,    3,    20,   1, 5,  85}));
    put(image, MemoryMap::bankTimeCopyAddress(2), bytes({0x11, 0x30, 0x22, 0x00, 0x06, 0x00}));
    put(image, MemoryMap::bankAddress(4),
        bytes({0x0A, 0x11, 0x05, 0x09, 0x00, 0x10, 0x00, 1, 0, 0x00,
               0x64, 1,    0,    0,    0,    0xFF, 0,    0, 0, 80}));
    put(image, MemoryMap::bankTimeCopyAddress(4), bytes({0x11, 0x05, 0x09, 0x00, 0x10, 0x00}));
    return image;
}

} // namespace

// dosemeter-cli banks against dosemeter-sim on a pseudo-terminal.
class TestBanksEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void allBanksThroughThePty()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath("banks.bin");
        const QString saved = dir.filePath("saved.bin");
        const QString bnk = dir.filePath("banks.bnk");
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bankImage());
        file.close();

        SimProcess sim;
        QVERIFY(sim.start({"--memory", image, "--save-memory", saved}));
        QString out, err;
        QCOMPARE(runCli({"--port", sim.port(), "banks", "--out", bnk}, &out, &err), 0);
        QCOMPARE(err, "");
        QCOMPARE(out, "Used or not\t Used\t Used\t Unused\t Unused\t Unused\n"
                      "Criterion level\t 85dB\t 90dB\t\t\t\n"
                      "Threshold level\t 80dB\t 85dB\t\t\t\n"
                      "Exchange Rate\t 5dB\t 3dB\t\t\t\n"
                      "Time Weighting\t Slow\t Slow\t\t\t\n"
                      "dBRMS 115\t No\t Yes\t\t\t\n"
                      "Exceed 140dB\t No\t Yes\t\t\t\n"
                      "Start Date(mm:dd)\t 12-06\t 12-07\t\t\t\n"
                      "Start Time(hh:mm)\t 07:30\t 22:00\t\t\t\n"
                      "Stop Time(hh:mm)\t 16:45\t 06:10\t\t\t\n"
                      "Exposure Time(hh:mm)\t 08:00\t 08:10\t\t\t\n"
                      "Dose Value(%)\t  100\t 200\t\t\t\n"
                      "TWA(8hr %Dose)\t 85.0\t 93.0\t\t\t\n"
                      "PEAK FLAG TIME(hh:mm)\t\t 03:20\t\t\t\n"
                      "PEAK DURATION(mm:ss)\t\t 01:05\t\t\t\n");
        QCOMPARE(sim.stop(), 0);

        // The file holds what was printed. To regenerate it after a deliberate change,
        // copy the --out file of this test over tests/golden/cli-banks.bnk.
        const QString golden =
            QDir(testsupport::dataDir()).filePath(QStringLiteral("../golden/cli-banks.bnk"));
        QCOMPARE(fileBytes(bnk), fileBytes(golden));

        // What the download wrote into the meter.
        const QByteArray memory = fileBytes(saved);
        QCOMPARE(memory.size(), 65536);
        // E1: the copy's stop time went into the bank; the copy stayed.
        QCOMPARE(memory.mid(MemoryMap::bankAddress(1) + 5, 2), bytes({0x16, 0x45}));
        QCOMPARE(memory.mid(MemoryMap::bankTimeCopyAddress(1), 6),
                 bytes({0x12, 0x06, 0x07, 0x30, 0x16, 0x45}));
        // E2: the copy now holds the bank's start and stop.
        QCOMPARE(memory.mid(MemoryMap::bankAddress(2) + 5, 2), bytes({0x06, 0x10}));
        QCOMPARE(memory.mid(MemoryMap::bankTimeCopyAddress(2), 6),
                 bytes({0x12, 0x07, 0x22, 0x00, 0x06, 0x10}));
        // E3..E5 are unused: their copies are erased.
        for (int bank = 3; bank <= 5; ++bank)
            QCOMPARE(memory.mid(MemoryMap::bankTimeCopyAddress(bank), 6), QByteArray(6, '\xFF'));
    }

    void silentMeter()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "silent"}));
        QString out, err;
        double seconds = 0;
        QCOMPARE(runCli({"--port", sim.port(), "--timeout", "1", "banks"}, &out, &err, &seconds),
                 3);
        QCOMPARE(out, "");
        QVERIFY(err.contains("does not answer"));
        QVERIFY2(seconds < 10.0, qPrintable(QString::number(seconds)));
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestBanksEndToEnd)
#include "tst_BankCli.moc"
