#pragma once

// A link for protocol tests: each write takes the next scripted reply, which the next
// read returns (after any bytes still unread). Records every write.

#include "link/SerialLink.h"

#include <QList>
#include <QQueue>

#include <utility>

class ScriptedLink final : public SerialLink {
    Q_OBJECT
public:
    bool open() override { return open_ = !openFails; }
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    bool write(const QByteArray &bytes) override
    {
        writes << bytes;
        if (!replies.isEmpty())
            pending_ += replies.dequeue();
        else
            pending_ += whenEmpty;
        return true;
    }
    QByteArray readAll() override
    {
        ++reads;
        return std::exchange(pending_, QByteArray());
    }
    QString errorString() const override { return QStringLiteral("no such port"); }
    QString portLabel() const override { return QStringLiteral("COM2"); }

    // Bytes waiting to be read before any reply (stale bytes from an earlier exchange).
    void preload(const QByteArray &bytes) { pending_ += bytes; }
    QByteArray allWritten() const
    {
        QByteArray all;
        for (const QByteArray &w : writes)
            all += w;
        return all;
    }

    QQueue<QByteArray> replies;
    QByteArray whenEmpty; // reply to a write when the queue is empty
    QList<QByteArray> writes;
    int reads = 0;
    bool openFails = false;

private:
    bool open_ = false;
    QByteArray pending_;
};
