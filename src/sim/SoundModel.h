#pragma once

// The sound the virtual meter hears and what a run makes of it: a level that wanders
// around 84 dB (or stays where it is set), and the running measurement's exposure
// time, dose and peak. Times are the meter's monotonic seconds; the level changes in
// steps of 0.25 s, as the meter's display does.

#include <QRandomGenerator>
#include <QtGlobal>

#include <limits>
#include <optional>

class SoundModel {
public:
    // What a run measured, with the settings it measured with.
    struct RunResult {
        quint8 status = 0;    // status byte at the start: criterion, exchange rate, response
        int thresholdDb = 0;  // levels below it add no dose
        double seconds = 0.0; // exposure: start to stop without the pauses
        double dosePercent = 0.0;
        std::optional<double> peakAtSeconds; // run time of the first overload
        double peakSeconds = 0.0;            // time spent in overload
        bool loud = false;                   // a level of 115 dB or more was heard
    };

    static constexpr double kStepSeconds = 0.25;
    static constexpr double kLoudDb = 115.0;

    explicit SoundModel(quint32 seed);

    // A fixed level in dB, or nullopt for the wandering level. Levels below the measuring
    // range (MeasuringRange, 70 dB) are under range, levels above it (140 dB) overload.
    void setFixedLevel(std::optional<double> db) { fixedLevel_ = db; }
    std::optional<double> fixedLevel() const { return fixedLevel_; }

    // A level as the meter measures it: nullopt below the measuring range, +infinity
    // above it, else the level.
    static std::optional<double> inRange(double db);

    // Walks the level, and the dose of a running run, on to `now`.
    void advance(double now);
    // The level now: nullopt under range, +infinity for an overload.
    std::optional<double> level() const;

    // A run measures with the criterion, exchange rate and threshold it starts with.
    void startRun(double now, quint8 status, int thresholdDb);
    void pause(double now);
    void resume(double now);
    RunResult stopRun(double now);
    bool running() const { return running_; }
    bool paused() const { return paused_; }
    // Exposure of the current run so far, in seconds.
    double runSeconds(double now) const;
    // The current (or last) run's dose and overload.
    double dosePercent() const { return run_.dosePercent; }
    bool peak() const { return run_.peakAtSeconds.has_value(); }

    // A standard normal number (Box-Muller).
    static double gaussian(QRandomGenerator &random);

private:
    void step(double seconds);

    QRandomGenerator random_;
    std::optional<double> fixedLevel_;
    double time_ = std::numeric_limits<double>::quiet_NaN(); // where the walk stands
    double walkDb_ = 84.0;
    int underRangeSteps_ = 0;
    int overloadSteps_ = 0;

    bool running_ = false;
    bool paused_ = false;
    double startedAt_ = 0.0;
    double pausedSeconds_ = 0.0; // pauses so far, not counted as exposure
    double pauseStart_ = 0.0;
    RunResult run_;
};
