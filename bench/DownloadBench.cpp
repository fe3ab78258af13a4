// bench-download: how close the logger download comes to the wire's limit. Starts
// dosemeter-sim on a pseudo-terminal with a full logger (runs up to the end of logger
// memory: a stream of 31,233 bytes), downloads it through the serial port with the
// program's own download, and compares the time with the stream's time on the wire at
// 9600 baud (10 bits a byte, 960 bytes a second).
//
// With --verify it also times the verified download (the memory streamed twice and
// compared) of the same logger, and prints what the check costs.
//
//   bench-download [--repeat N] [--verify]   (default 1, no verify)

#include "data/LoggerDownload.h"
#include "data/LoggerResults.h"
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

namespace {

// Runs of 15-minute shifts at 1 s until the memory is full; the last run takes the
// logger's final byte, so the stream asked for is the whole logger.
QByteArray fullLogger()
{
    QList<VirtualMeter::Run> runs;
    for (int day = 0; day < 40; ++day) {
        VirtualMeter::Run run{QDateTime(QDate(2009, 11, 1).addDays(day), QTime(7, 30)), 10, {}};
        for (int i = 0; i < 900; ++i)
            run.samples.append({78.0 + (i * 37 % 200) / 10.0, i % 97 == 0});
        runs << run;
    }
    QByteArray image = VirtualMeter::memoryWithRuns(runs, 4711, 10, true);
    const int entry = MemoryMap::runTableEntry(quint8(image.at(MemoryMap::kRunCount)));
    image[entry] = char(MemoryMap::kLoggerEnd & 0xFF);
    image[entry + 1] = char(MemoryMap::kLoggerEnd >> 8);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int repeat = 1;
    const QStringList args = app.arguments();
    if (const int i = int(args.indexOf(QStringLiteral("--repeat"))); i > 0 && i + 1 < args.size())
        repeat = std::max(1, args.at(i + 1).toInt());
    const bool verify = args.contains(QStringLiteral("--verify"));

    QTemporaryDir dir;
    const QString imagePath = dir.filePath(QStringLiteral("full-logger.bin"));
    QFile imageFile(imagePath);
    if (!imageFile.open(QIODevice::WriteOnly) || imageFile.write(fullLogger()) < 0) {
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

    SerialPortLink link(port, QStringLiteral("pty"));
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
        LoggerResults results;
        LoggerDownload download(meter, results);
        QElapsedTimer timer;
        timer.start();
        const LoggerDownload::Result result = download.run();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (result.outcome != LoggerDownload::Outcome::Done) {
            out << "download failed: " << result.message << "\n";
            ++failures;
            continue;
        }
        const double wire = double(result.expected) / 960.0;
        out << "stream:          " << result.expected << " bytes, " << result.sets.size()
            << " runs, remaining " << result.remainingText << "\n";
        out << "download time:   " << QString::number(seconds, 'f', 3) << " s\n";
        out << "wire time:       " << QString::number(wire, 'f', 3) << " s (bytes / 960)\n";
        out << "ratio:           " << QString::number(seconds / wire, 'f', 4)
            << " (goal: <= 1.03)\n";
        out.flush();
        if (!verify)
            continue;
        LoggerResults verifiedResults;
        LoggerDownload verified(meter, verifiedResults);
        verified.verify = true;
        timer.start();
        const LoggerDownload::Result checked = verified.run();
        const double verifiedSeconds = double(timer.nsecsElapsed()) / 1e9;
        if (checked.outcome != LoggerDownload::Outcome::Done) {
            out << "verified download failed: " << checked.message << "\n";
            ++failures;
            continue;
        }
        out << "verified:        " << QString::number(verifiedSeconds, 'f', 3) << " s, "
            << checked.passes << " streams, " << QString::number(verifiedSeconds / seconds, 'f', 2)
            << " times the download, " << QString::number(verifiedSeconds - seconds, 'f', 3)
            << " s more\n";
        out.flush();
    }
    link.close();
    sim.terminate();
    sim.waitForFinished();
    return failures == 0 ? 0 : 1;
}
