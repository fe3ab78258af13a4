#pragma once

// When a display frame may change what the program believes the meter's display shows.
// The line has no checksum, and a damaged byte can leave a frame the meter could show: a
// level of 140.0 for 94.5, an " OL ", the dose mode for dBA. So a frame counts only once
// it is confirmed: it has the bytes of the frame believed now (a steady display, taken at
// once), or the bytes of the frame offered just before it (the next frame, or a second
// request made at once, decodes alike). The meter's display changes far more slowly than
// frames come, so a real change is confirmed by the second request; a damaged frame is
// not, since the frame after it is whole again.

#include <QByteArray>

class FrameConfirmer {
public:
    enum class Verdict {
        Same,        // the frame believed: nothing changed
        Confirmed,   // a new frame, seen twice in a row: it is believed from now on
        Unconfirmed, // a frame seen once: ask again before believing it
    };

    // frame: the 7 bytes STX .. ETX, already checked for framing and plausibility.
    Verdict offer(const QByteArray &frame);
    // The frame believed; empty until the first frame is confirmed.
    const QByteArray &believed() const { return believed_; }
    // Forgets everything: the next frame must be seen twice (a new connection).
    void reset();

private:
    QByteArray believed_;
    QByteArray pending_; // the frame offered last, when it was not confirmed
};
