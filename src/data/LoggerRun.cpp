#include "data/LoggerRun.h"

#include "data/RunStamp.h"
#include "link/Decoders.h"
#include "link/MeterProtocol.h"

#include <algorithm>
#include <cmath>

namespace LoggerRun {

namespace {

// Progress is reported this many times over a listing at most.
constexpr int kProgressSteps = 50;
// The largest interval two bytes hold, in tenths of a second.
constexpr int kMaxIntervalTenths = 0xFFFF;

quint8 byteAt(const QByteArray &bytes, qsizetype index)
{
    return index >= 0 && index < bytes.size() ? quint8(bytes.at(index)) : 0;
}

} // namespace

QStringList setHeadings()
{
    return {QStringLiteral("Set"), QStringLiteral("Date"), QStringLiteral("Time"),
            QStringLiteral("Interval"), QStringLiteral("Rec.s")};
}

QStringList SetLine::cells() const
{
    return {QString::number(set), date, time, interval, numberText(samples)};
}

int SetLine::wholeSamples() const
{
    return samples > 0 ? int(std::floor(samples)) : 0;
}

SetLine setLine(int set, const QByteArray &runData, int start, int last)
{
    SetLine line;
    line.set = set;
    const auto bcd = [&runData](int i) { return hex2(byteAt(runData, i)); };
    line.date =
        QStringLiteral("20") + bcd(0) + QLatin1Char('/') + bcd(1) + QLatin1Char('/') + bcd(2);
    line.time = bcd(3) + QLatin1Char(':') + bcd(4) + QLatin1Char(':') + bcd(5);
    line.interval = intervalText(byteAt(runData, 7) * 256 + byteAt(runData, 6));
    line.samples = double(last - start - MemoryMap::kRunHeaderLength) / MemoryMap::kSampleLength;
    return line;
}

QString headerProblem(const QByteArray &runData)
{
    if (runData.size() < MemoryMap::kRunHeaderLength)
        return QStringLiteral("its header is cut short");
    const auto field = [&runData](int i) { return bcdValue(byteAt(runData, i)); };
    const int year = field(0), month = field(1), day = field(2);
    const int hour = field(3), minute = field(4), second = field(5);
    // The year byte counts within the century, as the list shows it ("20" + byte).
    const bool dateOk = year >= 0 && month >= 1 && month <= 12 && day >= 1 &&
                        day <= RunStamp::daysInMonth(2000 + year, month);
    const bool timeOk =
        hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
    if (!dateOk || !timeOk) {
        const SetLine line = setLine(0, runData, 0, 0);
        return QStringLiteral("its start reads %1 %2").arg(line.date, line.time);
    }
    const int tenths = byteAt(runData, 7) * 256 + byteAt(runData, 6);
    if (tenths == 0)
        return QStringLiteral("its interval reads %1 s").arg(intervalText(tenths));
    return {};
}

QString sampleProblem(const QByteArray &runData, int i)
{
    const qsizetype at = 3 * qsizetype(i) + 5;
    if (i < 1 || at + 2 >= runData.size())
        return {};
    const quint8 low = byteAt(runData, at);
    const quint8 high = byteAt(runData, at + 1);
    const quint8 flags = byteAt(runData, at + 2);
    // A level below 200 dB: the hundreds digit is 0 or 1.
    if ((flags & Protocol::SampleBits::kOverload) || (isBcd(low) && isBcd(high) && high < 0x20))
        return {};
    return QStringLiteral("sample %1 reads %2 dB").arg(i).arg(levelText(low, high, flags));
}

QString intervalText(int tenths)
{
    const QString digits = QString::number(tenths);
    if (digits.size() == 1)
        return QStringLiteral("0.") + digits;
    return digits.left(digits.size() - 1) + QLatin1Char('.') + digits.right(1);
}

QString levelText(quint8 low, quint8 high, quint8 flags)
{
    if (flags & Protocol::SampleBits::kOverload)
        return QStringLiteral("OL");
    const QString digits = hex2(high) + hex2(low);
    QString text = digits.left(3) + QLatin1Char('.') + digits.right(1);
    if (text.at(0) == QLatin1Char('0') && text.at(1) != QLatin1Char('.'))
        text.remove(0, 1);
    return text;
}

QString numberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'g', 15);
}

RecordTable records(const QStringList &setCells, const QByteArray &runData,
                    const std::function<void(double percent)> &progress)
{
    RecordTable table;
    RunStamp stamp = RunStamp::fromTexts(setCells.value(1), setCells.value(2));
    // The interval as the meter can hold it, so that no text overflows or runs back.
    const qint64 intervalTenths = std::llround(
        std::clamp(leadingNumber(setCells.value(3)) * 10.0, 0.0, double(kMaxIntervalTenths)));
    const double count = leadingNumber(setCells.value(4));
    // Sample i occupies bytes 3i + 5 .. 3i + 7 of the run (counting from 0).
    const qsizetype available =
        (runData.size() - MemoryMap::kRunHeaderLength) / MemoryMap::kSampleLength;
    const int listed =
        int(std::max<double>(0.0, std::min<double>(std::floor(count), double(available))));
    table.reserve(listed, qsizetype(listed) * 30);
    const int step = std::max(1, listed / kProgressSteps);
    for (int i = 1; i <= listed; ++i) {
        stamp.advance(intervalTenths);
        const qsizetype at = 3 * qsizetype(i) + 5;
        table.appendRecord(
            {QString::number(i), stamp.dateText(), stamp.timeText(),
             levelText(byteAt(runData, at), byteAt(runData, at + 1), byteAt(runData, at + 2))});
        if (progress && (i % step == 0 || i == listed))
            progress(100.0 * i / listed);
    }
    return table;
}

} // namespace LoggerRun
