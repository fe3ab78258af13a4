#include "data/LoggerDownload.h"

#include "data/LoggerBusy.h"
#include "data/LoggerImage.h"
#include "data/LoggerResults.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/SerialLink.h"

#include <algorithm>

namespace {

// The meter starts streaming shortly after the dump command; the first look waits this
// long, as every later pass does, with the bytes gathering in the receive buffer.
constexpr double kFirstWait = 0.2;

void clearResults(LoggerResults &results)
{
    results.RunCount = 0;
    results.LoggerIdCode = 0;
    results.LoggerInterval = 0.0;
    for (QByteArray &run : results.RunData)
        run.clear();
}

QString hexAddress(int address)
{
    return QStringLiteral("0x") +
           QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

LoggerDownload::LoggerDownload(Meter &meter, LoggerResults &results)
    : meter_(meter), results_(results)
{
}

bool LoggerDownload::stopRequested() const
{
    return meter_.aborted() || (cancelled && cancelled());
}

LoggerDownload::Result LoggerDownload::fail(Result result, Outcome outcome, const QString &message)
{
    result.outcome = outcome;
    result.message = message;
    return result;
}

LoggerDownload::Result LoggerDownload::run()
{
    using namespace MemoryMap;
    Result result;
    if (results_.DownloadBusy) {
        result.outcome = Outcome::Busy;
        return result;
    }
    LoggerBusy busy(results_, meter_);
    SerialLink &link = meter_.link();
    link.readAll();
    // Nothing of an earlier download stays: a failure leaves no results at all.
    clearResults(results_);

    // Run count, then the end of the used memory from the run table.
    if (!meter_.ReadByte(kRunCount))
        return stopRequested() ? fail(result, Outcome::Cancelled, {})
                               : fail(result, Outcome::NoAnswer,
                                      QStringLiteral("The meter did not answer: the logger memory "
                                                     "could not be downloaded."));
    if (stopRequested())
        return fail(result, Outcome::Cancelled, {});
    result.runCount = meter_.state().link.LastByte;
    int end = kRunDataStart;
    if (result.runCount == 0) {
        // An empty logger cannot be full.
        meter_.WriteByte(kMemoryFlags, 0);
    } else {
        const int entry = runTableEntry(result.runCount);
        int high = 0;
        bool answered = meter_.ReadByte(entry + 1);
        high = meter_.state().link.LastByte;
        answered = answered && !stopRequested() && meter_.ReadByte(entry);
        if (stopRequested())
            return fail(result, Outcome::Cancelled, {});
        if (!answered)
            return fail(result, Outcome::NoAnswer,
                        QStringLiteral("The meter did not answer: the logger memory could not be "
                                       "downloaded."));
        end = high * 256 + meter_.state().link.LastByte;
    }
    if (stopRequested())
        return fail(result, Outcome::Cancelled, {});
    result.endAddress = end;
    if (end < kRunDataStart)
        return fail(result, Outcome::BadRunTable,
                    QStringLiteral("The logger's run table is damaged: %1 runs end at %2, before "
                                   "the run data area. Nothing was downloaded.")
                        .arg(result.runCount)
                        .arg(hexAddress(end)));

    // The stream: one leading byte, then registers 0 .. end - 1.
    const qint64 target = qint64(end) + 1;
    result.expected = target;
    QByteArray image;
    image.reserve(target + 64);
    Clock &clock = meter_.clock();
    link.write(QByteArray(1, Protocol::kMemoryDump));
    double lastArrival = clock.monotonicSeconds();
    meter_.Wait(kFirstWait);
    for (;;) {
        const QByteArray bytes = link.readAll();
        if (!bytes.isEmpty()) {
            image += bytes;
            lastArrival = clock.monotonicSeconds();
        }
        result.received = image.size();
        const qint64 r = std::min<qint64>(image.size(), target);
        if (streamProgress)
            streamProgress(100.0 * double(r) / double(target));
        if (r == target) {
            // Surplus bytes stay in the image; the second "U" ends the meter's stream.
            link.write(QByteArray(1, Protocol::kMemoryDump));
            break;
        }
        if (stopRequested()) {
            // Stop the meter's stream so that the poll does not meet the rest of it.
            if (!meter_.aborted()) {
                link.write(QByteArray(1, Protocol::kMemoryDump));
                meter_.Wait(passSeconds);
                link.readAll();
            }
            return fail(result, Outcome::Cancelled, {});
        }
        if (clock.monotonicSeconds() - lastArrival >= stallSeconds)
            return fail(result, Outcome::Stalled,
                        QStringLiteral("The meter stopped sending: %1 of %2 bytes of the logger "
                                       "memory arrived. Nothing was listed.")
                            .arg(image.size())
                            .arg(target));
        meter_.Wait(passSeconds);
    }

    // The figures.
    const LoggerImage memory(image);
    results_.LoggerIdCode = memory.idCode();
    results_.LoggerInterval = memory.intervalTenths() / 10.0;
    result.memoryText = LoggerImage::memoryText();
    result.remainingText = LoggerImage::remainingText(memory.memoryFull(), result.runCount, end);
    result.idCodeText = QString::number(results_.LoggerIdCode);
    result.intervalText = LoggerRun::numberText(results_.LoggerInterval);

    // The runs. RunData holds 255 runs at most; the run table has room for fewer.
    const int runs = std::min<int>(result.runCount, int(results_.RunData.size()) - 1);
    for (int k = 1; k <= runs; ++k) {
        if (!memory.runValid(k)) {
            results_.RunCount = k - 1;
            return fail(result, Outcome::BadRun,
                        QStringLiteral("Set %1 of %2 does not lie in the logger memory (run "
                                       "table: %3 to %4). Only the sets before it are listed.")
                            .arg(k)
                            .arg(result.runCount)
                            .arg(hexAddress(memory.runStart(k)))
                            .arg(hexAddress(memory.runLast(k) + 1)));
        }
        results_.RunData[k] = memory.runData(k);
        result.sets.append(
            LoggerRun::setLine(k, results_.RunData[k], memory.runStart(k), memory.runLast(k)));
        results_.RunCount = k;
        if (listProgress)
            listProgress(100.0 * k / runs);
    }
    return result;
}
