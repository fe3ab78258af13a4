#pragma once

// The main window's poll of the meter's display (one tick every 250 ms): the display
// request, up to 6 short or damaged replies (plausibleDisplayFrame) before the settings
// refresh, the framing check and the decoding with the change memory.

#include "link/Decoders.h"

#include <QObject>

class Meter;

class Poller : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Skipped,      // the previous tick is still inside a wait
        Decoded,      // a frame was decoded; valueText is new
        ShortReplies, // 6 short or damaged replies: the settings refresh ran
        BadFraming,   // the settings refresh ran
        Stopped,      // the meter link was aborted
    };
    struct Result {
        Outcome outcome = Outcome::Skipped;
        DisplayDecoder::Changes changes;
        QString valueText; // the main window's value text for this frame
    };

    explicit Poller(Meter &meter, QObject *parent = nullptr);

    // One poll. Never runs inside itself: a tick during a tick's wait is skipped.
    Result tick();
    // The next frame is decoded in full (the port window's OK does this).
    void resetChangeMemory() { decoder_.reset(); }
    bool busy() const { return busy_; }

private:
    Meter &meter_;
    DisplayDecoder decoder_;
    bool busy_ = false;
};
