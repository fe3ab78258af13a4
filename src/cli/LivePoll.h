#pragma once

// The main window's poll of the meter's display, for the commands that sample the live
// level (average, record): the settings refresh, a first display frame in dBA mode, then
// a loop that polls four times a second and ticks the command at its own period until
// the command is done, a signal stops it, or the meter falls silent. Only confirmed
// frames count (Poller): a damaged one is no level and no change of mode, and frames
// that never agree age like no frame at all.

#include "main/Poller.h"

#include <QString>

#include <functional>
#include <optional>

class StopSignals;
struct DisplayFields;

namespace cli {

struct Context;

class LivePoll {
public:
    enum class Outcome {
        Done,    // begin(): the display shows dBA; run(): the command's tick ended it
        Stopped, // SIGINT or SIGTERM
        Silent,  // no display frame within the time-out
        NotDba,  // begin(): MODE did not bring the display to dBA (keys locked?)
    };

    LivePoll(Context &context, const StopSignals &stop);

    // The settings refresh, then display frames until one is decoded; outside dBA mode
    // MODE is pressed until the display shows dBA, as the main window does before the
    // windows that need the level.
    Outcome begin();
    // begin(), and when it did not bring the display to dBA, why on stderr and the exit
    // status: `stopped` for a signal, otherwise the meter's silence or mode, each message
    // followed by `ending`. Empty when the command may go on.
    std::optional<int> beginOrExit(const QString &stopped, const QString &ending = {});
    // Calls `tick` every `tickSeconds` (a tick that comes too late is not made up for,
    // as with a timer) and polls between the ticks, until `tick` returns false.
    Outcome run(double tickSeconds, const std::function<bool()> &tick);

    // The main window's value text of the last frame, and the display fields.
    const QString &valueText() const { return valueText_; }
    const DisplayFields &display() const;
    // Seconds since the last display frame was decoded.
    double frameAge() const;

private:
    bool pollFrame();
    bool pollOnce();

    Context &c_;
    const StopSignals &stop_;
    Poller poller_;
    QString valueText_;
    double lastFrame_ = 0.0;
};

} // namespace cli
