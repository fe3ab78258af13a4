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

bool LoggerImage::runValid(int k) const
{
    if (k < 1 || !has(runTableEntry(k) + 1))
        return false;
    const int start = runStart(k);
    const int last = runLast(k);
    return start >= kRunDataStart && last >= start + kRunHeaderLength - 1 && has(last);
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
