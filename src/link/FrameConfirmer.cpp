#include "link/FrameConfirmer.h"

FrameConfirmer::Verdict FrameConfirmer::offer(const QByteArray &frame)
{
    if (frame == believed_) {
        pending_.clear();
        return Verdict::Same;
    }
    if (frame == pending_) {
        believed_ = frame;
        pending_.clear();
        return Verdict::Confirmed;
    }
    pending_ = frame;
    return Verdict::Unconfirmed;
}

void FrameConfirmer::reset()
{
    believed_.clear();
    pending_.clear();
}
