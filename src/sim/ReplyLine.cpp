#include "sim/ReplyLine.h"

#include <algorithm>

void ReplyLine::send(const QByteArray &reply, double now, bool dump)
{
    if (faults_.silent || reply.isEmpty())
        return;
    qsizetype length = reply.size();
    if (faults_.shortReply > 0.0 && random_.generateDouble() < faults_.shortReply)
        --length;
    // A serial line: the reply starts when the command is complete or when the byte
    // before it has gone out, whichever is later.
    double wireEnd = std::max(now, freeAt_);
    for (qsizetype i = 0; i < length; ++i) {
        if (faults_.stallAfter >= 0 && sentBytes_ >= faults_.stallAfter)
            return;
        ++sentBytes_;
        wireEnd += kSecondsPerByte;
        freeAt_ = wireEnd;
        // A dropped byte takes its time on the line all the same.
        if (faults_.drop > 0.0 && random_.generateDouble() < faults_.drop)
            continue;
        char byte = reply.at(i);
        if (faults_.corrupt > 0.0 && random_.generateDouble() < faults_.corrupt)
            byte = char(quint8(byte) ^ quint8(1 + random_.bounded(255)));
        queue_.push_back({wireEnd + kLatency, byte, dump});
    }
}

QByteArray ReplyLine::take(double now)
{
    QByteArray ready;
    while (!queue_.empty() && queue_.front().ready <= now) {
        ready += queue_.front().byte;
        queue_.pop_front();
    }
    return ready;
}

double ReplyLine::nextReadyTime() const
{
    return queue_.empty() ? std::numeric_limits<double>::infinity() : queue_.front().ready;
}

void ReplyLine::cutDump(double now)
{
    // Bytes already on the line arrive; the rest is never sent.
    while (!queue_.empty() && queue_.back().dump &&
           queue_.back().ready - kLatency - kSecondsPerByte >= now)
        queue_.pop_back();
    freeAt_ = queue_.empty() ? now : std::max(now, queue_.back().ready - kLatency);
}
