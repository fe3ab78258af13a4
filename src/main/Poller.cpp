#include "main/Poller.h"

#include "link/Meter.h"
#include "link/MeterProtocol.h"
#include "link/SerialLink.h"
#include "main/LiveDisplay.h"

namespace {
constexpr int kShortRepliesLimit = 6;
}

Poller::Poller(Meter &meter, QObject *parent) : QObject(parent), meter_(meter)
{
}

Poller::Result Poller::tick()
{
    Result result;
    if (busy_)
        return result;
    busy_ = true;
    struct Release {
        bool &flag;
        ~Release() { flag = false; }
    } release{busy_};

    MeterState &state = meter_.state();
    if (state.link.RefreshPending)
        meter_.refreshSettings();

    QByteArray frame;
    for (int unusable = 0;;) {
        if (meter_.aborted()) {
            result.outcome = Outcome::Stopped;
            return result;
        }
        meter_.link().write(QByteArray(1, Protocol::kDisplayRequest));
        meter_.expectReply();
        meter_.wait(0.02);
        const QByteArray received = meter_.link().readAll();
        if (received.size() >= Protocol::kDisplayFrameLength) {
            frame = received.right(Protocol::kDisplayFrameLength);
            if (quint8(frame.front()) != Protocol::kStx || quint8(frame.back()) != Protocol::kEtx) {
                meter_.refreshSettings();
                result.outcome = Outcome::BadFraming;
                return result;
            }
            // A framed frame that the meter cannot show had a byte damaged on the way:
            // it is asked for again, like a short one, and never read as a level.
            if (plausibleDisplayFrame(frame))
                break;
        }
        if (++unusable >= kShortRepliesLimit) {
            meter_.refreshSettings();
            result.outcome = Outcome::ShortReplies;
            return result;
        }
    }
    meter_.heard();
    result.changes = decoder_.decode(frame, state.display);
    result.valueText = displayValueText(state.display);
    result.outcome = Outcome::Decoded;
    return result;
}
