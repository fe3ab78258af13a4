#include "data/LoggerImage.h"

#include "data/LoggerRun.h"
#include "link/MeterProtocol.h"

#include <cmath>

using namespace MemoryMap;

int LoggerImage::reg(int address) const
{
    return has(address) ? quint8(dump_.at(address + 1)) : 0;
}

int LoggerImage::idCode() const
{
    return reg(kIdCodeHigh) * 256 + reg(kIdCodeLow);
}

int LoggerImage::intervalTenths() const
{
    return reg(kIntervalHigh) * 256 + reg(kIntervalLow);
}

bool LoggerImage::memoryFull() const
{
    return reg(kMemoryFlags) & kMemoryFullBit;
}

int LoggerImage::runStart(int k) const
{
    return word(runTableEntry(k - 1));
}

int LoggerImage::runLast(int k) const
{
    return word(runTableEntry(k)) - 1;
}

QByteArray LoggerImage::runData(int k) const
{
    const int start = runStart(k);
    const int length = runLast(k) - start + 3;
    if (length <= 0 || !has(start))
        return {};
    return dump_.mid(start + 1, length);
}

namespace {

QString hexAddress(int address)
{
    return QStringLiteral("0x") +
           QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

LoggerImage::Damage LoggerImage::check(int runCount, int end) const
{
    if (registerCount() < end)
        return {0, -1, -1, QStringLiteral("the stream ended early")};
    if (reg(kRunCount) != runCount)
        return {0, kRunCount, kRunCount,
                QStringLiteral("its run count reads %1, the register %2")
                    .arg(reg(kRunCount))
                    .arg(runCount)};
    const int lastEntry = runTableEntry(runCount);
    if (word(lastEntry) != end)
        return {0, lastEntry, lastEntry + 1,
                QStringLiteral("its run table ends at %1, the registers at %2")
                    .arg(hexAddress(word(lastEntry)), hexAddress(end))};
    for (int k = 1; k <= runCount; ++k) {
        const int start = runStart(k);
        const int last = runLast(k);
        if (start < kRunDataStart || last < start + kRunHeaderLength - 1 || last >= end)
            return {k, runTableEntry(k - 1), runTableEntry(k) + 1,
                    QStringLiteral("its place in the run table (%1 to %2) is impossible")
                        .arg(hexAddress(start), hexAddress(last + 1))};
    }
    for (int k = 1; k <= runCount; ++k) {
        const int start = runStart(k);
        // The run's own bytes: the two after it belong to the next run or to free memory.
        const QByteArray run = dump_.mid(start + 1, runLast(k) - start + 1);
        const QString header = LoggerRun::headerProblem(run);
        if (!header.isEmpty())
            return {k, start, start + kRunHeaderLength - 1, header};
        const int samples = int((run.size() - kRunHeaderLength) / kSampleLength);
        for (int i = 1; i <= samples; ++i) {
            const QString sample = LoggerRun::sampleProblem(run, i);
            if (!sample.isEmpty()) {
                const int at = start + 3 * i + 5;
                return {k, at, at + kSampleLength - 1, sample};
            }
        }
    }
    return {};
}

QString LoggerImage::remainingText(bool full, int runCount, int end)
{
    if (full)
        return QStringLiteral("0");
    if (runCount == 0)
        return memoryText();
    const double kib = std::floor(10.0 * (kLoggerEnd - end) / 1024.0) / 10.0;
    return LoggerRun::numberText(kib) + QStringLiteral(" K");
}
