#include "sim/SoundModel.h"

#include "link/MeterProtocol.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Steps walked one by one after a long silence; older time is jumped in one step.
constexpr long kMaxSteps = 400000;
// The level wanders around 84 dB with a spread of about 5 dB.
constexpr double kWalkMean = 84.0;
constexpr double kWalkPull = 0.05;  // per second
constexpr double kWalkSpread = 4.7; // dB, the walk's standard deviation
constexpr double kOverloadDb = 140.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

SoundModel::SoundModel(quint32 seed) : random_(seed ^ 0x5EEDu)
{
}

double SoundModel::gaussian(QRandomGenerator &random)
{
    const double u = 1.0 - random.generateDouble(); // (0, 1]
    const double v = random.generateDouble();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

void SoundModel::advance(double now)
{
    if (std::isnan(time_)) {
        time_ = now;
        return;
    }
    long steps = long(std::floor((now - time_) / kStepSeconds));
    if (steps <= 0)
        return;
    if (steps > kMaxSteps) {
        step((steps - kMaxSteps) * kStepSeconds);
        steps = kMaxSteps;
    }
    for (long i = 0; i < steps; ++i)
        step(kStepSeconds);
}

void SoundModel::step(double seconds)
{
    time_ += seconds;
    if (overloadSteps_ > 0) {
        --overloadSteps_;
    } else if (underRangeSteps_ > 0) {
        --underRangeSteps_;
    } else {
        // Now and then a bang (overload) or a quiet spell (under range).
        const double u = random_.generateDouble();
        if (u < 0.001)
            overloadSteps_ = 1 + int(random_.bounded(4));
        else if (u < 0.004)
            underRangeSteps_ = 4 + int(random_.bounded(16));
    }
    // A mean-reverting walk, exact for any step length.
    const double keep = std::exp(-kWalkPull * seconds);
    walkDb_ = kWalkMean + (walkDb_ - kWalkMean) * keep +
              kWalkSpread * std::sqrt(1.0 - keep * keep) * gaussian(random_);
    walkDb_ = std::clamp(walkDb_, 60.0, 125.0);

    if (!running_ || paused_)
        return;
    const std::optional<double> now = level();
    if (!now)
        return; // under range: no dose
    if (std::isinf(*now)) {
        if (!run_.peakAtSeconds)
            run_.peakAtSeconds = runSeconds(time_);
        run_.peakSeconds += seconds;
    }
    const double db = std::min(*now, kOverloadDb);
    run_.loud = run_.loud || db >= kLoudDb;
    // Dose: 100 % for eight hours at the criterion level; each exchange rate above
    // doubles it. Levels below the threshold do not count.
    using namespace Protocol::StatusBits;
    if (db >= run_.thresholdDb)
        run_.dosePercent += 100.0 / (8.0 * 3600.0) * seconds *
                            std::exp2((db - criterionDb(run_.status)) / exchangeDb(run_.status));
}

std::optional<double> SoundModel::inRange(double db)
{
    // As the display would show it, to the tenth: 69.96 shows 70.0 and is in range.
    const long tenths = std::lround(db * 10.0);
    if (tenths < Protocol::MeasuringRange::kLowDb * 10)
        return std::nullopt;
    if (tenths > Protocol::MeasuringRange::kHighDb * 10)
        return kInfinity;
    return db;
}

std::optional<double> SoundModel::level() const
{
    if (fixedLevel_)
        return inRange(*fixedLevel_);
    if (overloadSteps_ > 0)
        return kInfinity;
    if (underRangeSteps_ > 0)
        return std::nullopt;
    return inRange(walkDb_);
}

void SoundModel::startRun(double now, quint8 status, int thresholdDb)
{
    advance(now);
    running_ = true;
    paused_ = false;
    startedAt_ = now;
    pausedSeconds_ = 0.0;
    run_ = {};
    run_.status = status;
    run_.thresholdDb = thresholdDb;
}

void SoundModel::pause(double now)
{
    advance(now);
    if (running_ && !paused_) {
        paused_ = true;
        pauseStart_ = now;
    }
}

void SoundModel::resume(double now)
{
    advance(now);
    if (running_ && paused_) {
        pausedSeconds_ += now - pauseStart_;
        paused_ = false;
    }
}

SoundModel::RunResult SoundModel::stopRun(double now)
{
    resume(now);
    run_.seconds = runSeconds(now);
    running_ = false;
    return run_;
}

double SoundModel::runSeconds(double now) const
{
    const double paused = pausedSeconds_ + (paused_ ? now - pauseStart_ : 0.0);
    return std::max(0.0, now - startedAt_ - paused);
}
