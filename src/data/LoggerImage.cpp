#include "data/LoggerImage.h"

#include <QCoreApplication>

#include "data/LoggerRun.h"
#include "link/MeterProtocol.h"

#include <array>
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
        return {0, -1, -1, QCoreApplication::translate("LoggerImage", "the stream ended early")};
    if (reg(kRunCount) != runCount)
        return {
            0, kRunCount, kRunCount,
            QCoreApplication::translate("LoggerImage", "its run count reads %1, the register %2")
                .arg(reg(kRunCount))
                .arg(runCount),
            true};
    const int lastEntry = runTableEntry(runCount);
    if (word(lastEntry) != end)
        return {0, lastEntry, lastEntry + 1,
                QCoreApplication::translate("LoggerImage",
                                            "its run table ends at %1, the registers at %2")
                    .arg(hexAddress(word(lastEntry)), hexAddress(end)),
                true};
    for (int k = 1; k <= runCount; ++k) {
        const int start = runStart(k);
        const int last = runLast(k);
        if (start < kRunDataStart || last < start + kRunHeaderLength - 1 || last >= end)
            return {k, runTableEntry(k - 1), runTableEntry(k) + 1,
                    QCoreApplication::translate(
                        "LoggerImage", "its place in the run table (%1 to %2) is impossible")
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

namespace {

// Bytes looked ahead to tell a changed byte from a lost or an added one.
constexpr qsizetype kLookahead = 8;

// How many of the next kLookahead bytes of `odd` from `k` agree with `pair` from `i`.
int agreement(const QByteArray &odd, qsizetype k, const QByteArray &pair, qsizetype i)
{
    int same = 0;
    for (qsizetype n = 0; n < kLookahead; ++n) {
        if (k + n < odd.size() && i + n < pair.size() && odd.at(k + n) == pair.at(i + n))
            ++same;
    }
    return same;
}

} // namespace

QByteArray LoggerImage::merge(const QByteArray &a, const QByteArray &b, const QByteArray &c,
                              qsizetype length)
{
    if (length <= 0 || a.isEmpty() || b.isEmpty() || c.isEmpty())
        return {};
    const std::array<const QByteArray *, 3> passes{&a, &b, &c};
    std::array<qsizetype, 3> at{1, 1, 1}; // the leading byte is no register
    QByteArray merged;
    merged.reserve(length);
    merged += a.at(0);
    while (merged.size() < length) {
        const auto has = [&](int p) { return at[p] < passes[p]->size(); };
        const auto byte = [&](int p) { return passes[p]->at(at[p]); };
        // Two that agree, and the odd one out (-1 when all three agree).
        int first = -1, second = -1, odd = -1;
        if (has(0) && has(1) && byte(0) == byte(1))
            first = 0, second = 1, odd = 2;
        else if (has(0) && has(2) && byte(0) == byte(2))
            first = 0, second = 2, odd = 1;
        else if (has(1) && has(2) && byte(1) == byte(2))
            first = 1, second = 2, odd = 0;
        if (first < 0)
            break;
        merged += byte(first);
        ++at[first];
        ++at[second];
        if (!has(odd) || passes[odd]->at(at[odd]) == merged.back()) {
            ++at[odd];
            continue;
        }
        // The odd byte was changed (both move on), lost (it is the pair's next byte:
        // it stays) or added (the byte after it is this one: it skips two).
        const QByteArray &pair = *passes[first];
        const QByteArray &other = *passes[odd];
        const int changed = agreement(other, at[odd] + 1, pair, at[first]);
        const int lost = agreement(other, at[odd], pair, at[first]);
        const int added = at[odd] + 1 < other.size() && other.at(at[odd] + 1) == merged.back()
                              ? agreement(other, at[odd] + 2, pair, at[first])
                              : -1;
        if (lost > changed && lost >= added)
            continue;
        at[odd] += added > changed ? 2 : 1;
    }
    return merged;
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
