#pragma once

// The main window's poll of the meter's display (one tick every 250 ms): the display
// request, up to 6 short or damaged replies (plausibleDisplayFrame) before the settings
// refresh, the framing check and the decoding with the change memory.
//
// Only a confirmed frame is decoded (FrameConfirmer): a frame like the one shown is taken
// at once, so a steady meter costs one request a tick; a frame that differs is asked for
// again at once, and taken when the second reply decodes alike. A frame that stays
// unconfirmed changes nothing (the level, the maximum and minimum, the display mode, an
// overload or under range), and the meter does not count as heard for it.

#include "link/Decoders.h"
#include "link/FrameConfirmer.h"

#include <QObject>

#include <optional>

class Meter;

class Poller : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Skipped,      // the previous tick is still inside a wait
        Decoded,      // a confirmed frame was decoded; valueText is new
        ShortReplies, // 6 short or damaged replies: the settings refresh ran
        BadFraming,   // the settings refresh ran
        Stopped,      // the meter link was aborted
        Unconfirmed,  // the frames of this tick disagreed: nothing changed
    };
    struct Result {
        Outcome outcome = Outcome::Skipped;
        DisplayDecoder::Changes changes;
        QString valueText; // the main window's value text for this frame
        int requests = 0;  // display requests sent in this tick
    };

    explicit Poller(Meter &meter, QObject *parent = nullptr);

    // One poll. Never runs inside itself: a tick during a tick's wait is skipped.
    Result tick();
    // The next frame is decoded in full and must be confirmed (the port window's OK
    // does this).
    void resetChangeMemory();
    bool busy() const { return busy_; }

private:
    // One plausible frame; nullopt with the outcome in `result` when there is none.
    std::optional<QByteArray> requestFrame(Result &result);

    Meter &meter_;
    DisplayDecoder decoder_;
    FrameConfirmer confirmer_;
    bool busy_ = false;
};
