// bench-banks: how close the all-banks read comes to the protocol's own pace. Starts
// dosemeter-sim on a pseudo-terminal with three used banks (one whose time copy
// corrects its stop time, one whose copy is rewritten, one whose copy agrees) and two
// unused ones, reads all five banks through the serial port with the program's own
// download, and compares the time with the sum of the fixed waits of the same traffic:
// 0.05 s after every register read and write, and 0.02 s more after each write that
// erases an unused bank's time copy.
//
//   bench-banks [--repeat N]   (default 3)

#include "banks/BankDownload.h"
#include "banks/BankGrid.h"
#include "banks/BankState.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/MeterState.h"
#include "link/SerialPortLink.h"
#include "sim/VirtualMeter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <initializer_list>

namespace {

// The link of the serial port, counting the register requests written through it.
class CountingLink final : public SerialLink {
public:
    explicit CountingLink(SerialLink &inner) : inner_(inner) {}
    bool open() override { return inner_.open(); }
    bool isOpen() const override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    bool write(const QByteArray &bytes) override
    {
        if (!bytes.isEmpty() && bytes.at(0) == Protocol::kReadRequest)
            ++reads;
        else if (!bytes.isEmpty() && bytes.at(0) == Protocol::kWriteRequest)
            ++writes;
        return inner_.write(bytes);
    }
    QByteArray readAll() override { return inner_.readAll(); }
    QString errorString() const override { return inner_.errorString(); }
    QString portLabel() const override { return inner_.portLabel(); }

    int reads = 0;
    int writes = 0;

private:
    SerialLink &inner_;
};

void put(QByteArray &image, int address, std::initializer_list<int> values)
{
    for (int v : values)
        image[address++] = char(v);
}

QByteArray bankImage()
{
    QByteArray image = VirtualMeter::erasedMemory();
    const std::initializer_list<int> used{0x8A, 0x12, 0x06, 0x07, 0x30, 0x15, 0x30, 8, 0, 0x27,
                                          0x10, 100,  0,    0,    0,    0xFF, 0,    0, 0, 80};
    for (int bank = 1; bank <= 3; ++bank)
        put(image, MemoryMap::bankAddress(bank), used);
    put(image, MemoryMap::bankTimeCopyAddress(1), {0x12, 0x06, 0x07, 0x30, 0x16, 0x45});
    put(image, MemoryMap::bankTimeCopyAddress(2), {0x11, 0x06, 0x07, 0x30, 0x16, 0x45});
    put(image, MemoryMap::bankTimeCopyAddress(3), {0x12, 0x06, 0x07, 0x30, 0x15, 0x30});
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int repeat = 3;
    const QStringList args = app.arguments();
    if (const int i = int(args.indexOf(QStringLiteral("--repeat"))); i > 0 && i + 1 < args.size())
        repeat = std::max(1, args.at(i + 1).toInt());

    QTemporaryDir dir;
    const QString imagePath = dir.filePath(QStringLiteral("banks.bin"));
    QFile imageFile(imagePath);
    if (!imageFile.open(QIODevice::WriteOnly) || imageFile.write(bankImage()) < 0) {
        out << "cannot write the memory image\n";
        return 1;
    }
    imageFile.close();

    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/dosemeter-sim"),
              {QStringLiteral("--memory"), imagePath});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        out << "dosemeter-sim did not start\n";
        return 1;
    }
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed().mid(6);

    SerialPortLink serial(port, QStringLiteral("pty"));
    CountingLink link(serial);
    if (!link.open()) {
        out << "cannot open " << port << ": " << link.errorString() << "\n";
        return 1;
    }
    SystemClock clock;
    MeterState state;
    Meter meter(link, clock, state);
    meter.setRefreshTimeout(5.0);

    int failures = 0;
    for (int round = 1; round <= repeat; ++round) {
        BankState banks;
        BankGrid grid;
        BankDownload download(meter, banks, grid);
        link.reads = link.writes = 0;
        QElapsedTimer timer;
        timer.start();
        const BankDownload::Result result = download.readAll(BankDownload::Origin::OkButton);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (result.outcome != BankDownload::Outcome::Done || !result.failedBanks.isEmpty()) {
            out << "read failed: " << result.message << "\n";
            ++failures;
            continue;
        }
        int unused = 0;
        for (int bank = 1; bank <= MemoryMap::kBankCount; ++bank)
            unused += grid.cell(1, bank) == QLatin1String(" Unused") ? 1 : 0;
        const double waits =
            0.05 * (link.reads + link.writes) + BankDownload::kEraseWaitSeconds * 6 * unused;
        out << "traffic:         " << link.reads << " reads, " << link.writes << " writes, "
            << unused << " unused banks\n";
        out << "read time:       " << QString::number(seconds, 'f', 3) << " s\n";
        out << "fixed waits:     " << QString::number(waits, 'f', 3) << " s\n";
        out << "ratio:           " << QString::number(seconds / waits, 'f', 4)
            << " (goal: <= 1.10)\n";
        out.flush();
    }
    link.close();
    sim.terminate();
    sim.waitForFinished();
    return failures == 0 ? 0 : 1;
}
