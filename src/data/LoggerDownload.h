#pragma once

// The logger memory download: reads the run count and the run table's end, streams the
// used logger memory with the memory dump command, and cuts it into runs. Results go
// to LoggerResults (RunCount, LoggerIdCode, LoggerInterval, RunData) and, as texts for
// the logger window and dosemeter-cli, into the returned Result.
//
// The stream is read as it arrives (short waits, no per-chunk sleeps), so a download
// takes about as long as its bytes need on the wire (1/960 s each at 9600 baud). A
// stream that brings no byte for stallSeconds ends the download.
//
// The line has no checksum and the meter streams on past the end of its runs, so a
// lost byte would shift every later run without the stream coming up short. Before
// anything is listed the download checks the image (LoggerImage::check(): run table,
// run headers, samples), compares the logger's figures (ID code, interval, memory-full
// flag) and the last bytes of the used memory with the registers, read one by one: a
// lost or added byte anywhere before them shows there. Damaged sample bytes can still
// look real; `verify` streams the memory twice and compares, and on a mismatch a third
// pass decides byte by byte by majority. A download that fails any of this lists
// nothing, and its message says which set is damaged and whether the line or the
// meter's own memory damaged it: the memory only when the damaged bytes, read one by one
// twice, agree with the stream and the line is otherwise clean (the figures and the last
// bytes read back alike).

#include "data/LoggerRun.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class Meter;
class LoggerImage;
struct LoggerResults;

class LoggerDownload {
public:
    enum class Outcome {
        Done,          // everything listed
        Busy,          // another logger command runs; nothing was done
        Cancelled,     // cancelled() said so, or the meter link was aborted
        NoAnswer,      // a register read went unanswered
        Stalled,       // the stream stopped before all bytes arrived
        LineDamaged,   // the line lost or changed bytes; downloading again may succeed
        MemoryDamaged, // the meter's memory itself holds what no logger can; downloading
                       // again brings the same
    };

    struct Result {
        Outcome outcome = Outcome::Done;
        QString message; // for the user; empty for Done, Busy and Cancelled
        int runCount = 0;
        int endAddress = 0;  // first free address of the logger
        qint64 expected = 0; // bytes asked for per pass: endAddress + 1
        qint64 received = 0; // bytes that arrived in the last pass (surplus included)
        int passes = 0;      // streams of the memory made
        // Filled only when everything was listed (Done):
        QString idCodeText;             // idCodeEdit_
        QString intervalText;           // intervalEdit_, seconds
        QString memoryText;             // memoryValue_
        QString remainingText;          // remainingValue_
        QList<LoggerRun::SetLine> sets; // one line per listed run

        bool listed() const { return outcome == Outcome::Done; }
    };

    // The end of every message of a download the line damaged.
    static inline const QString kLineDamagedEnd = QStringLiteral(QT_TRANSLATE_NOOP(
        "LoggerDownload",
        " The serial line lost or changed bytes on the way; nothing was listed."));
    // The end of every message of a download the meter's memory damaged.
    static inline const QString kMemoryDamagedEnd = QStringLiteral(
        QT_TRANSLATE_NOOP("LoggerDownload", " The meter's memory itself holds it, so downloading "
                                            "again brings the same; nothing was listed."));
    // Bytes at the end of the used memory that are read back one by one.
    static constexpr int kEndCheckBytes = 6;

    LoggerDownload(Meter &meter, LoggerResults &results);

    // Percentage of the stream received, after every pass of the stream loop (each
    // stream of a verified download counts from 0 again).
    std::function<void(double percent)> streamProgress;
    // Percentage of the runs cut out and listed.
    std::function<void(double percent)> listProgress;
    // Asked after every wait: true ends the download (the logger window was closed).
    std::function<bool()> cancelled;

    double stallSeconds = 5.0;
    // Length of one pass of the stream loop: short, so the end of the stream is seen
    // within this time; the bytes themselves wait in the receive buffer meanwhile.
    double passSeconds = 0.02;
    // Stream the memory twice and compare (a third stream decides a mismatch).
    bool verify = false;

    Result run();

private:
    bool stopRequested() const;
    Result fail(Result result, Outcome outcome, const QString &message);
    // One stream of registers 0 .. end - 1 (and whatever surplus comes) into `image`.
    Outcome stream(qint64 target, QByteArray &image, Result &result);
    // The streams of a verified download agreed on into `image`; false with `message`.
    Outcome verifiedImage(qint64 target, QByteArray &image, Result &result, QString &message);
    // Registers first..last read one by one equal the image's; nullopt when a read
    // went unanswered.
    std::optional<bool> registersMatch(const LoggerImage &image, int first, int last);
    // The first of sets 1..upTo whose last bytes differ from the registers (0: none);
    // nullopt when a read went unanswered.
    std::optional<int> firstMovedSet(const LoggerImage &image, int upTo);
    // Set `set` was moved by a lost or added byte.
    Result moved(Result result, int set);
    // Damage the image checks found, told as the line's or the memory's.
    Result damaged(Result result, const LoggerImage &image, int set, int first, int last,
                   const QString &reason, bool againstRegisters);
    // The logger's figures and the last bytes of the used memory, read one by one,
    // against the image: nullopt when they agree, else what the line damaged (or that the
    // meter did not answer).
    std::optional<Result> registersDisagree(Result result, const LoggerImage &memory);
    QString setText(int set, int runCount) const;

    Meter &meter_;
    LoggerResults &results_;
};
