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
        meter_.RefreshSettings();

    QByteArray received;
    for (int shortReplies = 0;;) {
        if (meter_.aborted()) {
            result.outcome = Outcome::Stopped;
            return result;
        }
        meter_.link().write(QByteArray(1, Protocol::kDisplayRequest));
        meter_.Wait(0.02);
        received = meter_.link().readAll();
        if (received.size() >= Protocol::kDisplayFrameLength)
            break;
        if (++shortReplies >= kShortRepliesLimit) {
            meter_.RefreshSettings();
            result.outcome = Outcome::ShortReplies;
            return result;
        }
    }
    const QByteArray frame = received.right(Protocol::kDisplayFrameLength);
    if (quint8(frame.front()) != Protocol::kStx || quint8(frame.back()) != Protocol::kEtx) {
        meter_.RefreshSettings();
        result.outcome = Outcome::BadFraming;
        return result;
    }
    result.changes = decoder_.decode(frame, state.display);
    result.valueText = displayValueText(state.display);
    result.outcome = Outcome::Decoded;
    return result;
}
