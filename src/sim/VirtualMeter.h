#pragma once

// A virtual dose meter: the meter's protocol state machine with its 64 KiB register
// space. Bytes in, bytes out, with time: replies become readable after their wire
// time at 9600 baud plus a small meter latency (ReplyLine, which also applies the line
// faults). The sound it measures comes from a SoundModel, its display from a
// DisplayFrame, its setup menu is a SetupMenu and its memory images come from
// MemoryImage.

#include "link/MeterProtocol.h"
#include "sim/DisplayFrame.h"
#include "sim/MemoryImage.h"
#include "sim/ReplyLine.h"
#include "sim/SetupMenu.h"
#include "sim/SoundModel.h"

#include <QByteArray>
#include <QDateTime>

#include <limits>
#include <optional>

class VirtualMeter {
public:
    using DisplayMode = DisplayFrame::Mode;
    using Run = MemoryImage::Run;

    // Ways to misbehave. Fractions are 0..1 per reply byte (drop, corrupt) or per
    // reply (shortReply: the last byte of a reply is never sent).
    struct Faults {
        double drop = 0.0;
        double corrupt = 0.0;
        double shortReply = 0.0;
        qint64 stallAfter = -1; // stop sending for good after this many reply bytes
        bool silent = false;    // answer nothing
        bool stuckMenu = false; // the open setup menu ignores EVENT and MODE+EVENT
        // From this monotonic time on (seconds) the meter is gone, as when its USB
        // adapter is pulled: see setVanished(). Negative: never.
        double vanishAfter = -1.0;
    };

    static constexpr double kSecondsPerByte = ReplyLine::kSecondsPerByte;
    static constexpr double kLatency = ReplyLine::kLatency;
    // Length of the memory dump stream: one leading byte, then registers 0..0x79FF.
    static constexpr int kDumpLength = 1 + 0x7A00;

    // A meter with an erased logger (see erasedMemory()), status 0x15, threshold 80 dB,
    // dBA display, keypad unlocked, stopped, battery 5, its clock on the computer's.
    explicit VirtualMeter(quint32 seed = 1);

    // Bytes from the PC arriving at monotonic time `now` (seconds). Commands may arrive
    // split over several calls or several in one call; unknown bytes are ignored.
    void receive(const QByteArray &bytes, double now);
    // Reply bytes readable by `now`; they leave the meter's queue.
    QByteArray takeReady(double now);
    // When the next queued byte becomes readable; infinity when nothing is queued.
    double nextReadyTime() const;
    // True while a memory dump is still being sent at `now`.
    bool dumping(double now) const;

    // The meter's wall clock: `wall` at monotonic time `monotonic`, running on from there.
    void setClock(const QDateTime &wall, double monotonic);
    QDateTime clockAt(double monotonic) const;

    // Register space, 64 KiB, laid out as the meter's memory map.
    const QByteArray &memory() const { return memory_; }
    // Image from address 0, zero-padded (or cut) to 64 KiB.
    void loadMemory(const QByteArray &image);
    quint8 reg(int address) const { return quint8(memory_.at(address & 0xFFFF)); }
    void setReg(int address, quint8 value) { memory_[address & 0xFFFF] = char(value); }

    // See MemoryImage::demo(), MemoryImage::withRuns() and MemoryImage::erased().
    static QByteArray demoMemory(const QDateTime &end, quint32 seed = 7)
    {
        return MemoryImage::demo(end, seed);
    }
    static QByteArray memoryWithRuns(const QList<Run> &runs, int idCode, int intervalTenths,
                                     bool full = false)
    {
        return MemoryImage::withRuns(runs, idCode, intervalTenths, full);
    }
    static QByteArray erasedMemory() { return MemoryImage::erased(); }

    quint8 statusByte() const { return status_; }
    void setStatusByte(quint8 status) { status_ = status; }
    int threshold() const { return reg(MemoryMap::kThreshold); }
    void setThreshold(int db) { setReg(MemoryMap::kThreshold, quint8(db)); }
    DisplayMode displayMode() const { return mode_; }
    void setDisplayMode(DisplayMode mode) { mode_ = mode; }
    // A fixed level in dB, or nullopt for the default varying level. Levels below the
    // measuring range (70 dB) show as under range, levels above it (140 dB) as overload.
    void setFixedLevel(std::optional<double> db) { sound_.setFixedLevel(db); }
    std::optional<double> fixedLevel() const { return sound_.fixedLevel(); }
    bool locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }
    int battery() const { return battery_; }
    void setBattery(int level) { battery_ = level & 7; }
    bool running() const { return sound_.running(); }
    bool paused() const { return sound_.paused(); }
    // The bank the current (or last) run records into, 0 before the first run. A run
    // takes the first unused bank after it, or the next one when all five are used.
    int eventBank() const { return eventBank_; }
    // Dose of the current (or last) run in percent, as the %DOSE display shows it.
    double dosePercent(double now);

    // The setup menu (code 128). It does not open while a run is in progress.
    const SetupMenu &setupMenu() const { return menu_; }
    SetupMenu::Screen setupScreen() const { return menu_.screen(); }

    // A key command that comes sooner than `seconds` after the previous key command the
    // meter took is ignored, as a real meter does without the program's key pacing.
    // 0 (the default) takes every key.
    void setKeyDelay(double seconds) { keyDelay_ = seconds; }
    double keyDelay() const { return keyDelay_; }

    const Faults &faults() const { return faults_; }
    void setFaults(const Faults &faults);
    // A vanished meter receives nothing and sends nothing (cable pulled); what it had
    // queued is lost.
    void setVanished(bool vanished);
    bool vanished() const { return vanished_; }
    // When Faults::vanishAfter makes the meter vanish; infinity when it does not.
    double vanishesAt() const;

    // Every byte the meter has received, for tests.
    const QByteArray &received() const { return received_; }
    void clearReceived() { received_.clear(); }

private:
    void checkVanished(double now);
    void parse(double now);
    void execute(const QByteArray &command, double now);
    void pressKey(int code, double now);
    void menuKey(int code, double now);
    void startRun(double now);
    void stopRun(double now);
    void startDump(double now);
    void stopDump(double now);
    void erase();
    QByteArray displayFrame(double now) const;
    SetupMenu::Settings settings(double now) const;

    QByteArray memory_;
    quint8 status_ = 0x15;
    DisplayMode mode_ = DisplayMode::Dba;
    bool locked_ = false;
    int battery_ = 5;
    int eventBank_ = 0;
    Faults faults_;
    bool vanished_ = false;
    double keyDelay_ = 0.0;
    double lastKeyAt_ = -std::numeric_limits<double>::infinity();
    QByteArray received_;
    ReplyLine line_;
    QDateTime wallAtZero_;
    SoundModel sound_;
    SetupMenu menu_;
    QDateTime runStart_;

    QByteArray input_; // bytes of a command not yet complete
    double dumpEndsAt_ = -std::numeric_limits<double>::infinity();
};
