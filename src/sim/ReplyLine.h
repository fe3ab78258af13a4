#pragma once

// The serial line from the virtual meter to the PC: reply bytes queued with the time
// they become readable (9600 baud, one byte after the other, plus the meter's reaction
// time), with the line's faults applied as they go out.

#include <QByteArray>
#include <QRandomGenerator>

#include <deque>
#include <limits>

class ReplyLine {
public:
    // Fractions are 0..1 per byte (drop, corrupt) or per reply (shortReply: the last
    // byte of a reply is never sent).
    struct Faults {
        double drop = 0.0;
        double corrupt = 0.0;
        double shortReply = 0.0;
        qint64 stallAfter = -1; // stop sending for good after this many bytes
        bool silent = false;    // send nothing
    };

    static constexpr double kSecondsPerByte = 1.0 / 960.0; // 9600 baud, 10 bits a byte
    static constexpr double kLatency = 0.004;              // meter reaction time, seconds

    explicit ReplyLine(quint32 seed) : random_(seed) {}

    void setFaults(const Faults &faults) { faults_ = faults; }
    // Queues a reply whose command was complete at `now`; it starts when the line is
    // free. `dump` marks the bytes of the memory dump stream.
    void send(const QByteArray &reply, double now, bool dump = false);
    // Bytes readable by `now`; they leave the queue.
    QByteArray take(double now);
    // When the next queued byte becomes readable; infinity when nothing is queued.
    double nextReadyTime() const;
    // When the last byte put on the line has gone out (-infinity before the first).
    double freeAt() const { return freeAt_; }
    // Drops the dump bytes that have not started on the wire by `now`.
    void cutDump(double now);
    // Loses everything queued.
    void clear() { queue_.clear(); }

private:
    struct QueuedByte {
        double ready; // monotonic seconds
        char byte;
        bool dump;
    };

    QRandomGenerator random_;
    Faults faults_;
    std::deque<QueuedByte> queue_;
    double freeAt_ = -std::numeric_limits<double>::infinity();
    qint64 sentBytes_ = 0; // bytes put on the line, for stallAfter
};
