#include "sim/VirtualMeter.h"

#include "link/MeterProtocol.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Display frame bits as the meter's firmware sets them.
// Byte 2: display flags.
constexpr quint8 kColonOn = 0x01;
constexpr quint8 kDashOn = 0x02;
constexpr quint8 kPaused = 0x04;
constexpr quint8 kRunning = 0x08;
constexpr quint8 kDoseMode = 0x20;
constexpr quint8 kDbaMode = 0x40;
constexpr quint8 kFieldMode = 0x80;
// Byte 3: annunciators.
constexpr quint8 kMemOn = 0x02;
constexpr quint8 kLoudOn = 0x04;
constexpr quint8 kPeakOn = 0x08;
constexpr quint8 kPoint1On = 0x10;
constexpr quint8 kPoint2On = 0x20;
constexpr quint8 kKeysLocked = 0x80;
// Byte 6: bank and battery.
constexpr quint8 kBankBlink = 0x08;
constexpr int kBatteryShift = 5;
// Digit bytes that the display shows as "----" and " OL ".
constexpr quint8 kUnderRangeDigits = 0xBB;
constexpr quint8 kOverloadDigits = 0xAA;
constexpr quint8 kSampleOverload = 0x40; // flags byte of a logged sample
// A run closes with one byte after its last sample, so that the next run (or the first
// free address) starts at start + 8 + 3 * samples + 1 and the download's sample count,
// (last byte - start - 8) / 3, comes out whole.
constexpr quint8 kRunEnd = 0x00;
constexpr int kRunEndLength = 1;

constexpr int kMemorySize = 0x10000;
constexpr int kRunTableEntries = (MemoryMap::kRunTableEnd - MemoryMap::kRunTableStart + 1) / 2;
constexpr quint8 kDefaultThreshold = 80;
constexpr int kDoseDivisor = 100;

// The display (and the level behind it) changes four times a second.
constexpr double kLevelStep = 0.25;
// Steps walked one by one after a long silence; older time is jumped in one step.
constexpr long kMaxLevelSteps = 400000;
// The level wanders around 84 dB with a spread of about 5 dB.
constexpr double kWalkMean = 84.0;
constexpr double kWalkPull = 0.05;  // per second
constexpr double kWalkSpread = 4.7; // dB, the walk's standard deviation
constexpr double kUnderRangeDb = 70.0;
constexpr double kOverloadDb = 140.0;
constexpr double kLoudDb = 115.0;

// After a dump has gone out completely, a "U" within this time is the reader's
// closing "U", not a request for a new dump.
constexpr double kDumpCloseGrace = 2.0;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

QByteArray bytes(std::initializer_list<quint8> list)
{
    QByteArray result;
    for (quint8 byte : list)
        result += char(byte);
    return result;
}

quint8 bcd(int value)
{
    return quint8(((value / 10) % 10) << 4 | (value % 10));
}

int criterionDb(quint8 status)
{
    return std::array{80, 84, 85, 90}[status & 0x03];
}
int exchangeDb(quint8 status)
{
    return std::array{3, 4, 5, 6}[(status >> 2) & 0x03];
}

// A standard normal number (Box-Muller).
double gaussian(QRandomGenerator &random)
{
    const double u = 1.0 - random.generateDouble(); // (0, 1]
    const double v = random.generateDouble();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

// Level in tenths of a dB as the two BCD bytes the meter stores: high (hundreds,
// tens), low (units, tenths).
QPair<quint8, quint8> levelBytes(double db)
{
    const int tenths = std::clamp(int(std::lround(db * 10.0)), 0, 1999);
    return {quint8((tenths / 1000) << 4 | (tenths / 100) % 10),
            quint8(((tenths / 10) % 10) << 4 | tenths % 10)};
}

void putBankTimes(QByteArray &image, int address, const QDateTime &start, const QDateTime &stop)
{
    const quint8 bytes[6] = {bcd(start.date().month()), bcd(start.date().day()),
                             bcd(start.time().hour()),  bcd(start.time().minute()),
                             bcd(stop.time().hour()),   bcd(stop.time().minute())};
    for (int i = 0; i < 6; ++i)
        image[address + i] = char(bytes[i]);
}

} // namespace

VirtualMeter::VirtualMeter(quint32 seed)
    : memory_(erasedMemory()), random_(seed), levelRandom_(seed ^ 0x5EEDu)
{
}

// ---- bytes in, bytes out ----------------------------------------------------------

void VirtualMeter::receive(const QByteArray &bytes, double now)
{
    if (vanished_)
        return;
    received_ += bytes;
    input_ += bytes;
    parse(now);
}

void VirtualMeter::parse(double now)
{
    using namespace Protocol;
    while (!input_.isEmpty()) {
        const char first = input_.at(0);
        // While the dump streams the meter listens for nothing but the stop.
        if (dumping(now) && first != kMemoryDump) {
            input_.remove(0, 1);
            continue;
        }
        int length = 0;
        switch (first) {
        case kStatusRequest:
        case kDisplayRequest:
        case kKeypadLock:
        case kMemoryDump:
            length = 1;
            break;
        case kKeyCommand:
            length = 2;
            break;
        case kReadRequest:
        case kEraseByte:
            length = 3;
            break;
        case kWriteRequest:
            length = 4;
            break;
        default:
            input_.remove(0, 1); // not a command
            continue;
        }
        if (first == kEraseByte) {
            // Only three E in a row erase; anything else in between starts afresh.
            int es = 0;
            while (es < 3 && es < input_.size() && input_.at(es) == kEraseByte)
                ++es;
            if (es < 3 && es < input_.size()) {
                input_.remove(0, es);
                continue;
            }
        }
        if (input_.size() < length)
            return; // the rest comes with a later receive()
        const QByteArray command = input_.left(length);
        input_.remove(0, length);
        execute(command, now);
    }
}

void VirtualMeter::execute(const QByteArray &command, double now)
{
    using namespace Protocol;
    advance(now);
    const auto byteAt = [&command](int i) { return quint8(command.at(i)); };
    switch (command.at(0)) {
    case kStatusRequest:
        send(bytes({kStx, status_, kEtx}), now);
        break;
    case kDisplayRequest:
        send(displayFrame(now), now);
        break;
    case kKeyCommand:
        pressKey(byteAt(1), now);
        break;
    case kKeypadLock:
        locked_ = !locked_;
        break;
    case kMemoryDump:
        if (dumping(now))
            stopDump(now);
        else if (now < dumpEndsAt_ + kDumpCloseGrace)
            dumpEndsAt_ = -kInfinity; // the reader's closing "U" after a complete dump
        else
            startDump(now);
        break;
    case kEraseByte:
        erase();
        break;
    case kReadRequest:
        send(bytes({kStx, reg(byteAt(1) | byteAt(2) << 8), kEtx}), now);
        break;
    case kWriteRequest:
        setReg(byteAt(1) | byteAt(2) << 8, byteAt(3));
        break;
    }
}

void VirtualMeter::send(const QByteArray &reply, double now, bool dump)
{
    if (faults_.silent || reply.isEmpty())
        return;
    qsizetype length = reply.size();
    if (faults_.shortReply > 0.0 && random_.generateDouble() < faults_.shortReply)
        --length;
    // A serial line: the reply starts when the command is complete or when the byte
    // before it has gone out, whichever is later.
    double wireEnd = std::max(now, lineFreeAt_);
    for (qsizetype i = 0; i < length; ++i) {
        if (faults_.stallAfter >= 0 && sentBytes_ >= faults_.stallAfter)
            return;
        ++sentBytes_;
        wireEnd += kSecondsPerByte;
        lineFreeAt_ = wireEnd;
        // A dropped byte takes its time on the line all the same.
        if (faults_.drop > 0.0 && random_.generateDouble() < faults_.drop)
            continue;
        char byte = reply.at(i);
        if (faults_.corrupt > 0.0 && random_.generateDouble() < faults_.corrupt)
            byte = char(quint8(byte) ^ quint8(1 + random_.bounded(255)));
        queue_.push_back({wireEnd + kLatency, byte, dump});
    }
}

QByteArray VirtualMeter::takeReady(double now)
{
    QByteArray ready;
    if (vanished_)
        return ready;
    while (!queue_.empty() && queue_.front().ready <= now) {
        ready += queue_.front().byte;
        queue_.pop_front();
    }
    return ready;
}

double VirtualMeter::nextReadyTime() const
{
    return queue_.empty() || vanished_ ? kInfinity : queue_.front().ready;
}

void VirtualMeter::setVanished(bool vanished)
{
    vanished_ = vanished;
    if (vanished) {
        queue_.clear();
        input_.clear();
    }
}

// ---- memory dump and erase -----------------------------------------------------

bool VirtualMeter::dumping(double now) const
{
    return now < dumpEndsAt_;
}

void VirtualMeter::startDump(double now)
{
    const double start = std::max(now, lineFreeAt_);
    // One leading byte that is not a register, then the logger registers from 0.
    QByteArray stream(1, '\0');
    stream += memory_.left(MemoryMap::kLoggerEnd);
    send(stream, now, true);
    // The meter is busy for the stream's full length even if bytes get lost on the way.
    dumpEndsAt_ = start + kDumpLength * kSecondsPerByte + kLatency;
}

void VirtualMeter::stopDump(double now)
{
    // Bytes already on the line arrive; the rest is never sent.
    while (!queue_.empty() && queue_.back().dump &&
           queue_.back().ready - kLatency - kSecondsPerByte >= now)
        queue_.pop_back();
    lineFreeAt_ = queue_.empty() ? now : std::max(now, queue_.back().ready - kLatency);
    dumpEndsAt_ = -kInfinity;
}

void VirtualMeter::erase()
{
    using namespace MemoryMap;
    setReg(kRunCount, 0);
    setReg(runTableEntry(0), quint8(kRunDataStart & 0xFF));
    setReg(runTableEntry(0) + 1, quint8(kRunDataStart >> 8));
    setReg(kMemoryFlags, reg(kMemoryFlags) & ~kMemoryFullBit);
}

// ---- keys and runs ---------------------------------------------------------------

void VirtualMeter::pressKey(int code, double now)
{
    using namespace Protocol;
    if (setup_ != SetupScreen::Closed || code == kKeySetupMenu || code == kKeyModeEvent ||
        code == kKeyModeReset) {
        setupMenuKey(code, now);
        return;
    }
    // The remote lock locks the front-panel keys as the keypad lock does.
    if (locked_)
        return;
    switch (code) {
    case kKeyMode:
        mode_ = DisplayMode((int(mode_) + 1) % 4);
        break;
    case kKeyRunPause:
        if (!running_) {
            startRun(now);
        } else if (!paused_) {
            paused_ = true;
            pauseStart_ = now;
        } else {
            pausedSeconds_ += now - pauseStart_;
            paused_ = false;
        }
        break;
    case kKeyStop:
        if (running_)
            stopRun(now);
        break;
    case kKeyContinue:
        if (running_ && paused_) {
            pausedSeconds_ += now - pauseStart_;
            paused_ = false;
        }
        break;
    default:
        break; // EVENT, RESET and CLOCK change nothing outside the setup menu
    }
}

void VirtualMeter::setupMenuKey(int, double)
{
    // The setup menu's screens are not served yet: its keys change nothing.
}

void VirtualMeter::startRun(double now)
{
    running_ = true;
    paused_ = false;
    eventBank_ = eventBank_ % MemoryMap::kBankCount + 1;
    runStart_ = clockAt(now);
    runStartMonotonic_ = now;
    pausedSeconds_ = 0.0;
    dose_ = 0.0;
    peakAt_.reset();
    peakSeconds_ = 0.0;
}

void VirtualMeter::stopRun(double now)
{
    if (paused_)
        pausedSeconds_ += now - pauseStart_;
    paused_ = false;
    fillBank(eventBank_, now);
    running_ = false;
}

double VirtualMeter::runSeconds(double now) const
{
    const double paused = pausedSeconds_ + (paused_ ? now - pauseStart_ : 0.0);
    return std::max(0.0, now - runStartMonotonic_ - paused);
}

void VirtualMeter::fillBank(int bank, double now)
{
    const int base = MemoryMap::bankAddress(bank);
    const QDateTime stop = clockAt(now);
    const qint64 exposure = qint64(runSeconds(now));
    int divisor = kDoseDivisor;
    qint64 raw = std::llround(dose_ * divisor);
    for (; raw > 0xFFFF && divisor > 1; raw = std::llround(dose_ * divisor))
        divisor /= 10;
    raw = std::min<qint64>(raw, 0xFFFF);
    const qint64 peakAt = peakAt_ ? qint64(*peakAt_) : 0;
    const qint64 peakFor = qint64(std::ceil(peakSeconds_));
    const quint8 bytes[MemoryMap::kBankSize] = {
        quint8(0x80 | (status_ & 0x3F) | (peakAt_ ? 0x40 : 0)), // used, settings, 140 dB
        bcd(runStart_.date().month()),
        bcd(runStart_.date().day()),
        bcd(runStart_.time().hour()),
        bcd(runStart_.time().minute()),
        bcd(stop.time().hour()),
        bcd(stop.time().minute()),
        quint8(std::min<qint64>(exposure / 3600, 255)),
        quint8(exposure % 3600 / 60),
        quint8(raw >> 8),
        quint8(raw & 0xFF),
        quint8(divisor),
        0,
        0,
        0,
        peakAt_ ? quint8(std::min<qint64>(peakAt / 3600, 254)) : quint8(0xFF),
        quint8(peakAt % 3600 / 60),
        quint8(std::min<qint64>(peakFor / 60, 255)),
        quint8(peakFor % 60),
        quint8(threshold())};
    for (int i = 0; i < MemoryMap::kBankSize; ++i)
        setReg(base + i, bytes[i]);
}

// ---- level, dose and display -------------------------------------------------------

void VirtualMeter::advance(double now)
{
    if (std::isnan(levelTime_)) {
        levelTime_ = now;
        return;
    }
    long steps = long(std::floor((now - levelTime_) / kLevelStep));
    if (steps <= 0)
        return;
    if (steps > kMaxLevelSteps) {
        stepLevel((steps - kMaxLevelSteps) * kLevelStep);
        steps = kMaxLevelSteps;
    }
    for (long i = 0; i < steps; ++i)
        stepLevel(kLevelStep);
}

void VirtualMeter::stepLevel(double seconds)
{
    levelTime_ += seconds;
    if (overloadSteps_ > 0) {
        --overloadSteps_;
    } else if (underRangeSteps_ > 0) {
        --underRangeSteps_;
    } else {
        // Now and then a bang (overload) or a quiet spell (under range).
        const double u = levelRandom_.generateDouble();
        if (u < 0.001)
            overloadSteps_ = 1 + int(levelRandom_.bounded(4));
        else if (u < 0.004)
            underRangeSteps_ = 4 + int(levelRandom_.bounded(16));
    }
    // A mean-reverting walk, exact for any step length.
    const double keep = std::exp(-kWalkPull * seconds);
    walkDb_ = kWalkMean + (walkDb_ - kWalkMean) * keep +
              kWalkSpread * std::sqrt(1.0 - keep * keep) * gaussian(levelRandom_);
    walkDb_ = std::clamp(walkDb_, 60.0, 125.0);

    if (!running_ || paused_)
        return;
    const std::optional<double> level = currentLevel();
    if (!level)
        return;
    const double db = std::min(*level, kOverloadDb);
    if (std::isinf(*level)) {
        if (!peakAt_)
            peakAt_ = runSeconds(levelTime_);
        peakSeconds_ += seconds;
    }
    // Dose: 100 % for eight hours at the criterion level; each exchange rate above
    // doubles it. Levels below the threshold do not count.
    if (db >= threshold())
        dose_ += 100.0 / (8.0 * 3600.0) *
                 std::exp2((db - criterionDb(status_)) / exchangeDb(status_)) * seconds;
}

std::optional<double> VirtualMeter::currentLevel() const
{
    if (fixedLevel_) {
        if (*fixedLevel_ < 0.0)
            return std::nullopt;
        if (*fixedLevel_ > 199.9)
            return kInfinity;
        return *fixedLevel_;
    }
    if (overloadSteps_ > 0)
        return kInfinity;
    if (underRangeSteps_ > 0 || walkDb_ < kUnderRangeDb)
        return std::nullopt;
    return walkDb_;
}

double VirtualMeter::dosePercent(double now)
{
    advance(now);
    return dose_;
}

QByteArray VirtualMeter::displayFrame(double now)
{
    quint8 flags = (running_ ? kRunning : 0) | (paused_ ? kPaused : 0);
    quint8 symbols =
        (locked_ ? kKeysLocked : 0) | (running_ ? kMemOn : 0) | (peakAt_ ? kPeakOn : 0);
    quint8 high = 0;
    quint8 low = 0;
    const std::optional<double> level = currentLevel();
    switch (mode_) {
    case DisplayMode::Dba:
        flags |= kDbaMode;
        symbols |= kPoint1On;
        if (!level) {
            high = low = kUnderRangeDigits;
        } else if (std::isinf(*level)) {
            high = low = kOverloadDigits;
            symbols |= kLoudOn;
        } else {
            std::tie(high, low) = levelBytes(*level);
            if (*level >= kLoudDb)
                symbols |= kLoudOn;
        }
        break;
    case DisplayMode::Dose: {
        flags |= kDoseMode;
        // Four digits: 12.05 below 100 %, 123.4 from there on.
        int digits = int(std::lround(dose_ * 100.0));
        if (digits < 10000) {
            symbols |= kPoint2On;
        } else {
            digits = std::min(9999, int(std::lround(dose_ * 10.0)));
            symbols |= kPoint1On;
        }
        high = bcd(digits / 100);
        low = bcd(digits % 100);
        break;
    }
    case DisplayMode::Clock: {
        flags |= kFieldMode | kColonOn;
        const QTime time = clockAt(now).time();
        high = bcd(time.hour());
        low = bcd(time.minute());
        break;
    }
    case DisplayMode::Date: {
        flags |= kFieldMode | kDashOn;
        const QDate date = clockAt(now).date();
        high = bcd(date.month());
        low = bcd(date.day());
        break;
    }
    }
    const quint8 bank =
        quint8(eventBank_ & 0x07) | (running_ ? kBankBlink : 0) | quint8(battery_ << kBatteryShift);
    return bytes({Protocol::kStx, flags, symbols, high, low, bank, Protocol::kEtx});
}

// ---- clock -----------------------------------------------------------------------

void VirtualMeter::setClock(const QDateTime &wall, double monotonic)
{
    wallAtZero_ = wall.addMSecs(-qint64(std::llround(monotonic * 1000.0)));
}

QDateTime VirtualMeter::clockAt(double monotonic) const
{
    // Until it is set, the meter's clock is the computer's.
    if (!wallAtZero_.isValid())
        return QDateTime::currentDateTime();
    return wallAtZero_.addMSecs(qint64(std::llround(monotonic * 1000.0)));
}

// ---- memory images -----------------------------------------------------------------

void VirtualMeter::loadMemory(const QByteArray &image)
{
    memory_ = image.left(kMemorySize);
    memory_.append(kMemorySize - memory_.size(), '\0');
}

QByteArray VirtualMeter::erasedMemory()
{
    return memoryWithRuns({}, 0, 10);
}

QByteArray VirtualMeter::memoryWithRuns(const QList<Run> &runs, int idCode, int intervalTenths,
                                        bool full)
{
    using namespace MemoryMap;
    QByteArray image(kMemorySize, '\0');
    image[kIdCodeHigh] = char((idCode >> 8) & 0xFF);
    image[kIdCodeLow] = char(idCode & 0xFF);
    image[kIntervalLow] = char(intervalTenths & 0xFF);
    image[kIntervalHigh] = char((intervalTenths >> 8) & 0xFF);
    image[kThreshold] = char(kDefaultThreshold);
    if (full)
        image[kMemoryFlags] = char(kMemoryFullBit);
    for (int n = 1; n <= kBankCount; ++n)
        image.replace(bankTimeCopyAddress(n), 6, QByteArray(6, char(0xFF)));

    int address = kRunDataStart;
    int count = 0;
    for (const Run &run : runs) {
        if (count == kRunTableEntries - 1 ||
            address + kRunHeaderLength + kRunEndLength > kLoggerEnd)
            break;
        image[runTableEntry(count)] = char(address & 0xFF);
        image[runTableEntry(count) + 1] = char(address >> 8);
        ++count;
        const QDate date = run.start.date();
        const QTime time = run.start.time();
        const quint8 header[kRunHeaderLength] = {bcd(date.year() % 100),
                                                 bcd(date.month()),
                                                 bcd(date.day()),
                                                 bcd(time.hour()),
                                                 bcd(time.minute()),
                                                 bcd(time.second()),
                                                 quint8(run.intervalTenths & 0xFF),
                                                 quint8((run.intervalTenths >> 8) & 0xFF)};
        for (quint8 byte : header)
            image[address++] = char(byte);
        for (const auto &[db, overload] : run.samples) {
            if (address + kSampleLength + kRunEndLength > kLoggerEnd)
                break;
            const auto [high, low] = levelBytes(db);
            image[address++] = char(low);
            image[address++] = char(high);
            image[address++] = char(overload ? kSampleOverload : 0);
        }
        image[address++] = char(kRunEnd);
    }
    image[runTableEntry(count)] = char(address & 0xFF);
    image[runTableEntry(count) + 1] = char(address >> 8);
    image[kRunCount] = char(count);
    return image;
}

QByteArray VirtualMeter::demoMemory(const QDateTime &end, quint32 seed)
{
    QRandomGenerator random(seed);
    // Levels of a working day: a walk around 85 dB, now and then an overload.
    double db = 85.0;
    const auto samples = [&](int count, double pull) {
        QList<QPair<double, bool>> list;
        for (int i = 0; i < count; ++i) {
            db += pull * (85.0 - db) + 1.8 * gaussian(random);
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
    QByteArray image = memoryWithRuns(runs, 1234, 10);

    // Two used banks (E1 a full shift, E2 a half shift with a peak), with time copies
    // that match them.
    const quint8 config = 0x80 | 0x15;
    const QDateTime shiftStart(today.addDays(-2), QTime(7, 30));
    const QDateTime shiftStop(today.addDays(-2), QTime(15, 30));
    const quint8 bank1[MemoryMap::kBankSize] = {config,
                                                bcd(shiftStart.date().month()),
                                                bcd(shiftStart.date().day()),
                                                0x07,
                                                0x30,
                                                0x15,
                                                0x30,
                                                8,
                                                0,
                                                quint8(6325 >> 8),
                                                quint8(6325 & 0xFF),
                                                100,
                                                0,
                                                0,
                                                0,
                                                0xFF,
                                                0,
                                                0,
                                                0,
                                                80};
    const QDateTime halfStart(today.addDays(-1), QTime(8, 0));
    const QDateTime halfStop(today.addDays(-1), QTime(12, 15));
    const quint8 bank2[MemoryMap::kBankSize] = {quint8(config | 0x40),
                                                bcd(halfStart.date().month()),
                                                bcd(halfStart.date().day()),
                                                0x08,
                                                0x00,
                                                0x12,
                                                0x15,
                                                4,
                                                15,
                                                quint8(15040 >> 8),
                                                quint8(15040 & 0xFF),
                                                100,
                                                0,
                                                0,
                                                0,
                                                1,
                                                12,
                                                0,
                                                3,
                                                80};
    for (int i = 0; i < MemoryMap::kBankSize; ++i) {
        image[MemoryMap::bankAddress(1) + i] = char(bank1[i]);
        image[MemoryMap::bankAddress(2) + i] = char(bank2[i]);
    }
    putBankTimes(image, MemoryMap::bankTimeCopyAddress(1), shiftStart, shiftStop);
    putBankTimes(image, MemoryMap::bankTimeCopyAddress(2), halfStart, halfStop);
    return image;
}
