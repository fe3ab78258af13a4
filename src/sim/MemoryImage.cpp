#include "sim/MemoryImage.h"

#include "link/MeterProtocol.h"
#include "sim/DisplayFrame.h"
#include "sim/SoundModel.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace MemoryImage {

namespace {

using namespace MemoryMap;
using Protocol::toBcd;

// A run closes with one byte after its last sample, so that the next run (or the first
// free address) starts at start + 8 + 3 * samples + 1 and the download's sample count,
// (last byte - start - 8) / 3, comes out whole.
constexpr quint8 kRunEnd = 0x00;
constexpr int kRunEndLength = 1;
constexpr int kRunTableEntries = (kRunTableEnd - kRunTableStart + 1) / 2;
constexpr quint8 kDefaultThreshold = 80;

void putWord(QByteArray &image, int address, int value)
{
    image[address] = char(value & 0xFF);
    image[address + 1] = char((value >> 8) & 0xFF);
}

} // namespace

QByteArray erased()
{
    return withRuns({}, 0, 10);
}

QByteArray withRuns(const QList<Run> &runs, int idCode, int intervalTenths, bool full)
{
    QByteArray image(kSize, '\0');
    image[kIdCodeHigh] = char((idCode >> 8) & 0xFF);
    image[kIdCodeLow] = char(idCode & 0xFF);
    putWord(image, kIntervalLow, intervalTenths);
    image[kThreshold] = char(kDefaultThreshold);
    if (full)
        image[kMemoryFlags] = char(kMemoryFullBit);
    for (int n = 1; n <= kBankCount; ++n)
        image.replace(bankTimeCopyAddress(n), Bank::kTimeCopyLength,
                      QByteArray(Bank::kTimeCopyLength, char(Bank::kErasedTimeCopy)));

    int address = kRunDataStart;
    int count = 0;
    for (const Run &run : runs) {
        if (count == kRunTableEntries - 1 ||
            address + kRunHeaderLength + kRunEndLength > kLoggerEnd)
            break;
        putWord(image, runTableEntry(count++), address);
        const QDate date = run.start.date();
        const QTime time = run.start.time();
        const quint8 header[kRunHeaderLength] = {toBcd(date.year() % 100),
                                                 toBcd(date.month()),
                                                 toBcd(date.day()),
                                                 toBcd(time.hour()),
                                                 toBcd(time.minute()),
                                                 toBcd(time.second()),
                                                 quint8(run.intervalTenths & 0xFF),
                                                 quint8((run.intervalTenths >> 8) & 0xFF)};
        for (quint8 byte : header)
            image[address++] = char(byte);
        for (const auto &[db, overload] : run.samples) {
            if (address + kSampleLength + kRunEndLength > kLoggerEnd)
                break;
            const auto [high, low] = DisplayFrame::levelDigits(db);
            image[address++] = char(low);
            image[address++] = char(high);
            image[address++] = char(overload ? Protocol::SampleBits::kOverload : 0);
        }
        image[address++] = char(kRunEnd);
    }
    putWord(image, runTableEntry(count), address);
    image[kRunCount] = char(count);
    return image;
}

QByteArray bankRecord(const BankRun &run)
{
    using namespace Protocol::StatusBits;
    const qint64 exposure = qint64(run.seconds);
    int divisor = 100;
    qint64 raw = std::llround(run.dosePercent * divisor);
    for (; raw > 0xFFFF && divisor > 1; raw = std::llround(run.dosePercent * divisor))
        divisor /= 10;
    raw = std::clamp<qint64>(raw, 0, 0xFFFF);
    const qint64 peakAt = run.peakAtSeconds ? qint64(*run.peakAtSeconds) : 0;
    const qint64 peakFor = qint64(std::ceil(run.peakSeconds));

    QByteArray bank(kBankSize, '\0');
    const auto put = [&bank](int offset, qint64 value) { bank[offset] = char(quint8(value)); };
    put(Bank::kConfig, Bank::kUsed | (run.status & kSettingsMask) |
                           (run.peakAtSeconds ? Bank::kExceed140 : 0) |
                           (run.loud ? Bank::kDbRms115 : 0));
    put(Bank::kStartMonth, toBcd(run.start.date().month()));
    put(Bank::kStartDay, toBcd(run.start.date().day()));
    put(Bank::kStartHour, toBcd(run.start.time().hour()));
    put(Bank::kStartMinute, toBcd(run.start.time().minute()));
    put(Bank::kStopHour, toBcd(run.stop.time().hour()));
    put(Bank::kStopMinute, toBcd(run.stop.time().minute()));
    put(Bank::kExposureHours, std::min<qint64>(exposure / 3600, 255));
    put(Bank::kExposureMinutes, exposure % 3600 / 60);
    put(Bank::kDoseHigh, raw >> 8);
    put(Bank::kDoseLow, raw & 0xFF);
    put(Bank::kDoseDivisor, divisor);
    // An hour of 0xFF would read as "no peak time".
    put(Bank::kPeakHours,
        run.peakAtSeconds ? std::min<qint64>(peakAt / 3600, 254) : Bank::kNoPeakTime);
    put(Bank::kPeakMinutes, peakAt % 3600 / 60);
    put(Bank::kPeakDurationMinutes, std::min<qint64>(peakFor / 60, 255));
    put(Bank::kPeakDurationSeconds, peakFor % 60);
    put(Bank::kThreshold, run.thresholdDb);
    return bank;
}

int nextBank(const QByteArray &image, int last)
{
    for (int k = 0; k < kBankCount; ++k) {
        const int n = (last + k) % kBankCount + 1;
        if (!(quint8(image.at(bankAddress(n) + Bank::kConfig)) & Bank::kUsed))
            return n;
    }
    return last % kBankCount + 1;
}

QByteArray bankTimeCopy(const QDateTime &start, const QDateTime &stop)
{
    QByteArray copy;
    for (int value : {start.date().month(), start.date().day(), start.time().hour(),
                      start.time().minute(), stop.time().hour(), stop.time().minute()})
        copy += char(toBcd(value));
    return copy;
}

QByteArray demo(const QDateTime &end, quint32 seed)
{
    QRandomGenerator random(seed);
    // Levels of a working day: a walk around 85 dB, now and then an overload.
    double db = 85.0;
    const auto samples = [&](int count, double pull) {
        QList<QPair<double, bool>> list;
        for (int i = 0; i < count; ++i) {
            db += pull * (85.0 - db) + 1.8 * SoundModel::gaussian(random);
            db = std::clamp(db, 62.0, 118.0);
            list.append({db, random.generateDouble() < 0.01});
        }
        return list;
    };
    const QDate today = end.date();
    QList<Run> runs;
    runs.append({QDateTime(today.addDays(-3), QTime(9, 12, 5)), 10, samples(60, 0.2)});
    runs.append({QDateTime(today.addDays(-2), QTime(7, 30, 0)), 600, samples(480, 0.3)});
    runs.append({QDateTime(today.addDays(-1), QTime(14, 5, 10)), 5, samples(1200, 0.05)});
    // The last run ends half an hour before `end`.
    const QDateTime lastStart = end.addSecs(-1800 - 200 * 10);
    runs.append({lastStart.addMSecs(-lastStart.time().msec()), 100, samples(200, 0.2)});
    QByteArray image = withRuns(runs, 1234, 10);

    // Two used banks, E1 a full shift and E2 a half shift with a peak, their time
    // copies matching them.
    const quint8 settings = 0x15; // criterion 84, exchange rate 4, Fast
    const QDateTime shiftStart(today.addDays(-2), QTime(7, 30));
    const QDateTime halfStart(today.addDays(-1), QTime(8, 0));
    const BankRun banks[] = {
        {settings, 80, shiftStart, shiftStart.addSecs(8 * 3600), 8 * 3600, 63.25, {}, 0.0, false},
        {settings, 80, halfStart, halfStart.addSecs(4 * 3600 + 15 * 60), 4 * 3600 + 15 * 60, 150.40,
         72 * 60, 3.0, false}};
    for (int n = 1; n <= 2; ++n) {
        const BankRun &bank = banks[n - 1];
        image.replace(bankAddress(n), kBankSize, bankRecord(bank));
        image.replace(bankTimeCopyAddress(n), Bank::kTimeCopyLength,
                      bankTimeCopy(bank.start, bank.stop));
    }
    return image;
}

} // namespace MemoryImage
