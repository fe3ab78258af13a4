#include "sim/VirtualMeter.h"

#include "link/MeterProtocol.h"

#include <algorithm>
#include <cmath>

namespace {

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

} // namespace

VirtualMeter::VirtualMeter(quint32 seed) : memory_(MemoryImage::erased()), line_(seed), sound_(seed)
{
}

void VirtualMeter::setFaults(const Faults &faults)
{
    faults_ = faults;
    line_.setFaults(
        {faults.drop, faults.corrupt, faults.shortReply, faults.stallAfter, faults.silent});
}

// ---- bytes in, bytes out ----------------------------------------------------------

void VirtualMeter::receive(const QByteArray &bytes, double now)
{
    checkVanished(now);
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
    sound_.advance(now);
    const auto byteAt = [&command](int i) { return quint8(command.at(i)); };
    switch (command.at(0)) {
    case kStatusRequest:
        line_.send(bytes({kStx, status_, kEtx}), now);
        break;
    case kDisplayRequest:
        line_.send(displayFrame(now), now);
        break;
    case kKeyCommand:
        // Keys that come too fast for the meter are lost.
        if (keyDelay_ > 0.0 && now - lastKeyAt_ < keyDelay_)
            break;
        lastKeyAt_ = now;
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
        line_.send(bytes({kStx, reg(byteAt(1) | byteAt(2) << 8), kEtx}), now);
        break;
    case kWriteRequest:
        setReg(byteAt(1) | byteAt(2) << 8, byteAt(3));
        break;
    }
}

QByteArray VirtualMeter::takeReady(double now)
{
    checkVanished(now);
    return vanished_ ? QByteArray() : line_.take(now);
}

double VirtualMeter::nextReadyTime() const
{
    return vanished_ ? kInfinity : line_.nextReadyTime();
}

void VirtualMeter::setVanished(bool vanished)
{
    vanished_ = vanished;
    if (vanished) {
        line_.clear();
        input_.clear();
    }
}

double VirtualMeter::vanishesAt() const
{
    return faults_.vanishAfter >= 0.0 ? faults_.vanishAfter : kInfinity;
}

void VirtualMeter::checkVanished(double now)
{
    if (!vanished_ && now >= vanishesAt())
        setVanished(true);
}

// ---- memory dump and erase -----------------------------------------------------

bool VirtualMeter::dumping(double now) const
{
    return now < dumpEndsAt_;
}

void VirtualMeter::startDump(double now)
{
    const double start = std::max(now, line_.freeAt());
    // One leading byte that is not a register, then the logger registers from 0.
    QByteArray stream(1, '\0');
    stream += memory_.left(MemoryMap::kLoggerEnd);
    line_.send(stream, now, true);
    // The meter is busy for the stream's full length even if bytes get lost on the way.
    dumpEndsAt_ = start + kDumpLength * kSecondsPerByte + kLatency;
}

void VirtualMeter::stopDump(double now)
{
    line_.cutDump(now);
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

// ---- keys, the setup menu and runs ---------------------------------------------------

void VirtualMeter::pressKey(int code, double now)
{
    using namespace Protocol;
    // Code 128 and the menu's keys are remote commands, not front-panel keys: the
    // keypad lock does not stop them.
    if (menu_.isOpen() || code == kKeySetupMenu) {
        menuKey(code, now);
        return;
    }
    if (locked_)
        return;
    switch (code) {
    case kKeyMode:
        mode_ = DisplayMode((int(mode_) + 1) % 4);
        break;
    case kKeyRunPause:
        if (!sound_.running())
            startRun(now);
        else if (!sound_.paused())
            sound_.pause(now);
        else
            sound_.resume(now);
        break;
    case kKeyStop:
        if (sound_.running())
            stopRun(now);
        break;
    case kKeyContinue:
        sound_.resume(now);
        break;
    default:
        break; // EVENT, RESET, CLOCK and the key pairs change nothing outside the menu
    }
}

void VirtualMeter::menuKey(int code, double now)
{
    using namespace Protocol;
    if (!menu_.isOpen()) {
        // A run measures with the settings it started with: no menu while it runs.
        if (!sound_.running())
            menu_.open();
        return;
    }
    if (faults_.stuckMenu && (code == kKeyEvent || code == kKeyModeEvent))
        return;
    SetupMenu::Settings changed = settings(now);
    const QDateTime clock = changed.clock;
    if (!menu_.press(code, changed))
        return;
    status_ = changed.status;
    setThreshold(changed.thresholdDb);
    if (changed.clock != clock)
        setClock(changed.clock, now);
}

SetupMenu::Settings VirtualMeter::settings(double now) const
{
    return {status_, threshold(), clockAt(now)};
}

void VirtualMeter::startRun(double now)
{
    eventBank_ = MemoryImage::nextBank(memory_, eventBank_);
    runStart_ = clockAt(now);
    sound_.startRun(now, status_, threshold());
}

void VirtualMeter::stopRun(double now)
{
    const SoundModel::RunResult result = sound_.stopRun(now);
    const QByteArray record = MemoryImage::bankRecord(
        {result.status, result.thresholdDb, runStart_, clockAt(now), result.seconds,
         result.dosePercent, result.peakAtSeconds, result.peakSeconds, result.loud});
    memory_.replace(MemoryMap::bankAddress(eventBank_), record.size(), record);
}

double VirtualMeter::dosePercent(double now)
{
    sound_.advance(now);
    return sound_.dosePercent();
}

QByteArray VirtualMeter::displayFrame(double now) const
{
    DisplayFrame frame;
    frame.mode = mode_;
    frame.level = sound_.level();
    frame.dosePercent = sound_.dosePercent();
    frame.clock = clockAt(now);
    frame.running = sound_.running();
    frame.paused = sound_.paused();
    frame.keysLocked = locked_;
    frame.peak = sound_.peak();
    frame.eventBank = eventBank_;
    frame.battery = battery_;
    if (menu_.isOpen())
        frame.menu = menu_.display(settings(now));
    return frame.encode();
}

// ---- clock and memory --------------------------------------------------------------

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

void VirtualMeter::loadMemory(const QByteArray &image)
{
    memory_ = image.left(MemoryImage::kSize);
    memory_.append(MemoryImage::kSize - memory_.size(), '\0');
}
