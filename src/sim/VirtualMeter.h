#pragma once

// A virtual dose meter: the meter's protocol state machine with its 64 KiB register
// space. Bytes in, bytes out, with time: replies become readable after their wire
// time at 9600 baud plus a small meter latency.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QRandomGenerator>

#include <deque>
#include <limits>
#include <optional>

class VirtualMeter {
public:
    enum class DisplayMode { Dba, Dose, Clock, Date };

    // Ways to misbehave. Fractions are 0..1 per reply byte (drop, corrupt) or per
    // reply (shortReply: the last byte of a reply is never sent).
    struct Faults {
        double drop = 0.0;
        double corrupt = 0.0;
        double shortReply = 0.0;
        qint64 stallAfter = -1; // stop sending for good after this many reply bytes
        bool silent = false;    // answer nothing
    };

    // One logger run for memoryWithRuns(): its start, its interval in tenths of a
    // second and its samples as (level in dB, overload flag).
    struct Run {
        QDateTime start;
        int intervalTenths = 10;
        QList<QPair<double, bool>> samples;
    };

    static constexpr double kSecondsPerByte = 1.0 / 960.0; // 9600 baud, 10 bits a byte
    static constexpr double kLatency = 0.004;              // meter reaction time, seconds
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

    // A logger memory with a few realistic runs ending before `end`: four runs (60
    // samples at 1 s, 480 at 60 s, 1200 at 0.5 s, 200 at 10 s), ID code 1234, interval
    // 1 s, threshold 80 dB, banks E1 and E2 used with matching time copies. 64 KiB.
    static QByteArray demoMemory(const QDateTime &end, quint32 seed = 7);
    // A 64 KiB image holding exactly `runs`, stored one after the other from 0x0300
    // (each run: 8-byte header, 3-byte samples, one closing byte, so that a run of n
    // samples starting at S ends with its last byte at S + 8 + 3n and the next run
    // starts at S + 9 + 3n), with the run table and run count, ID code (0..65535), logger interval
    // (tenths of a second), threshold 80 dB, all banks unused and their time copies erased (0xFF),
    // and the memory-full flag when `full`. Levels are stored as BCD tenths of a dB,
    // clamped to 0..199.9. What does not fit is left out: samples beyond the end of
    // logger memory (0x7A00), runs without room for their header, runs beyond the
    // 127th (the run table holds 128 entries).
    static QByteArray memoryWithRuns(const QList<Run> &runs, int idCode, int intervalTenths,
                                     bool full = false);
    // An erased logger: memoryWithRuns({}, 0, 10).
    static QByteArray erasedMemory();

    quint8 statusByte() const { return status_; }
    void setStatusByte(quint8 status) { status_ = status; }
    int threshold() const { return reg(0x3B); }
    void setThreshold(int db) { setReg(0x3B, quint8(db)); }
    DisplayMode displayMode() const { return mode_; }
    void setDisplayMode(DisplayMode mode) { mode_ = mode; }
    // A fixed level in dB (shown as is), or nullopt for the default varying level.
    // Levels below 0 show as under range, levels above 199.9 as overload.
    void setFixedLevel(std::optional<double> db) { fixedLevel_ = db; }
    std::optional<double> fixedLevel() const { return fixedLevel_; }
    bool locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }
    int battery() const { return battery_; }
    void setBattery(int level) { battery_ = level & 7; }
    bool running() const { return running_; }
    bool paused() const { return paused_; }
    int eventBank() const { return eventBank_; }
    // Dose of the current (or last) run in percent, as the %DOSE display shows it.
    double dosePercent(double now);
    const Faults &faults() const { return faults_; }
    void setFaults(const Faults &faults) { faults_ = faults; }
    // A vanished meter receives nothing and sends nothing (cable pulled); what it had
    // queued is lost.
    void setVanished(bool vanished);
    bool vanished() const { return vanished_; }

    // Every byte the meter has received, for tests.
    const QByteArray &received() const { return received_; }
    void clearReceived() { received_.clear(); }

private:
    struct QueuedByte {
        double ready; // monotonic seconds
        char byte;
        bool dump; // part of the memory dump stream
    };
    // Where the setup menu stands. Only Closed is served so far: the menu keys
    // (128, 3, 5) are ignored until the menu screens are built.
    enum class SetupScreen { Closed };

    void parse(double now);
    void execute(const QByteArray &command, double now);
    void pressKey(int code, double now);
    void setupMenuKey(int code, double now);
    void startRun(double now);
    void stopRun(double now);
    void fillBank(int bank, double now);
    void startDump(double now);
    void stopDump(double now);
    void erase();
    void send(const QByteArray &reply, double now, bool dump = false);
    QByteArray displayFrame(double now);
    // Advances the level walk and the dose to `now`.
    void advance(double now);
    void stepLevel(double seconds);
    // The level now shown: nullopt under range; +infinity for overload.
    std::optional<double> currentLevel() const;
    double runSeconds(double now) const;

    QByteArray memory_;
    quint8 status_ = 0x15;
    DisplayMode mode_ = DisplayMode::Dba;
    std::optional<double> fixedLevel_;
    bool locked_ = false;
    int battery_ = 5;
    bool running_ = false;
    bool paused_ = false;
    int eventBank_ = 0;
    Faults faults_;
    bool vanished_ = false;
    QByteArray received_;
    QRandomGenerator random_; // faults
    QDateTime wallAtZero_;

    QRandomGenerator levelRandom_;
    QByteArray input_; // bytes of a command not yet complete
    std::deque<QueuedByte> queue_;
    double lineFreeAt_ = -std::numeric_limits<double>::infinity(); // last byte's wire end
    double dumpEndsAt_ = -std::numeric_limits<double>::infinity();
    qint64 sentBytes_ = 0; // reply bytes put on the line, for stallAfter
    SetupScreen setup_ = SetupScreen::Closed;

    // Level walk, one step per display update (0.25 s).
    double levelTime_ = std::numeric_limits<double>::quiet_NaN();
    double walkDb_ = 84.0;
    int underRangeSteps_ = 0;
    int overloadSteps_ = 0;

    // Run bookkeeping.
    QDateTime runStart_;
    double runStartMonotonic_ = 0.0;
    double pausedSeconds_ = 0.0; // pauses so far, not counted as exposure
    double pauseStart_ = 0.0;
    double dose_ = 0.0;            // percent
    std::optional<double> peakAt_; // run seconds of the first overload
    double peakSeconds_ = 0.0;     // time spent in overload
};
