#include "cli/LivePoll.h"

#include "cli/Cli.h"
#include "cli/StopSignals.h"
#include "link/Clock.h"
#include "link/Meter.h"

#include <algorithm>

namespace cli {

namespace {

// The main window polls the display four times a second.
constexpr double kPollSeconds = 0.25;

} // namespace

LivePoll::LivePoll(Context &context, const StopSignals &stop)
    : c_(context), stop_(stop), poller_(context.meter),
      lastFrame_(context.meter.clock().monotonicSeconds())
{
}

const DisplayFields &LivePoll::display() const
{
    return c_.meter.state().display;
}

double LivePoll::frameAge() const
{
    return c_.meter.clock().monotonicSeconds() - lastFrame_;
}

bool LivePoll::pollOnce()
{
    const Poller::Result result = poller_.tick();
    if (result.outcome != Poller::Outcome::Decoded)
        return false;
    valueText_ = result.valueText;
    lastFrame_ = c_.meter.clock().monotonicSeconds();
    return true;
}

// Polls until a display frame is decoded; false when the meter stays silent for the
// time-out or the command is stopped.
bool LivePoll::pollFrame()
{
    Clock &clock = c_.meter.clock();
    const double giveUpAt = clock.monotonicSeconds() + c_.timeoutSeconds;
    while (!stop_.requested() && !c_.meter.aborted() && clock.monotonicSeconds() < giveUpAt) {
        if (pollOnce())
            return true;
    }
    return false;
}

LivePoll::Outcome LivePoll::begin()
{
    const auto failed = [this] { return stop_.requested() ? Outcome::Stopped : Outcome::Silent; };
    // The meter's settings as the main window shows them, then the display as it polls it.
    if (!c_.meter.refreshSettings())
        return failed();
    if (!pollFrame())
        return failed();
    if (!display().DbaMode) {
        c_.meter.selectDbaDisplay();
        if (!pollFrame())
            return failed();
        if (!display().DbaMode)
            return Outcome::NotDba;
    }
    return Outcome::Done;
}

std::optional<int> LivePoll::beginOrExit(const QString &stopped, const QString &ending)
{
    switch (begin()) {
    case Outcome::Done:
        return std::nullopt;
    case Outcome::Stopped:
        c_.err << "dosemeter-cli: " << stopped << "\n";
        return Exit::kFailed;
    case Outcome::Silent:
        c_.err << "dosemeter-cli: the meter does not answer (no reply within " << c_.timeoutSeconds
               << " s)" << ending << "\n";
        return Exit::kNoAnswer;
    case Outcome::NotDba:
        c_.err << "dosemeter-cli: the meter's display is not in dBA mode and MODE did not "
                  "bring it there (are its keys locked?)"
               << ending << "\n";
        return Exit::kFailed;
    }
    return Exit::kFailed;
}

LivePoll::Outcome LivePoll::run(double tickSeconds, const std::function<bool()> &tick)
{
    Clock &clock = c_.meter.clock();
    double nextTick = clock.monotonicSeconds() + tickSeconds;
    double nextPoll = clock.monotonicSeconds() + kPollSeconds;
    for (;;) {
        if (stop_.requested() || c_.meter.aborted())
            // The meter's silence ends every exchange at once too.
            return !stop_.requested() && c_.meter.silenceExceeded() ? Outcome::Silent
                                                                    : Outcome::Stopped;
        double now = clock.monotonicSeconds();
        if (frameAge() > c_.timeoutSeconds)
            return Outcome::Silent;
        if (now >= nextTick) {
            while (nextTick <= now)
                nextTick += tickSeconds;
            if (!tick())
                return Outcome::Done;
        }
        if (now >= nextPoll) {
            pollOnce();
            now = clock.monotonicSeconds();
            while (nextPoll <= now)
                nextPoll += kPollSeconds;
            continue;
        }
        c_.meter.wait(std::min(nextTick, nextPoll) - now);
    }
}

} // namespace cli
