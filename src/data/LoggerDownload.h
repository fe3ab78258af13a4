#pragma once

// The logger memory download: reads the run count and the run table's end, streams the
// used logger memory with the memory dump command, and cuts it into runs. Results go
// to LoggerResults (RunCount, LoggerIdCode, LoggerInterval, RunData) and, as texts for
// the logger window and dosemeter-cli, into the returned Result.
//
// The stream is read as it arrives (short waits, no per-chunk sleeps), so a download
// takes about as long as its bytes need on the wire (1/960 s each at 9600 baud). A
// stream that brings no byte for stallSeconds ends the download.

#include "data/LoggerRun.h"

#include <QList>
#include <QString>

#include <functional>

class Meter;
struct LoggerResults;

class LoggerDownload {
public:
    enum class Outcome {
        Done,        // everything listed
        Busy,        // another logger command runs; nothing was done
        Cancelled,   // cancelled() said so, or the meter link was aborted
        NoAnswer,    // a register read went unanswered
        BadRunTable, // the run table's end lies before the run data area
        Stalled,     // the stream stopped before all bytes arrived
        BadRun,      // a run lies outside the memory; the runs before it are listed
    };

    struct Result {
        Outcome outcome = Outcome::Done;
        QString message; // for the user; empty for Done, Busy and Cancelled
        int runCount = 0;
        int endAddress = 0;  // first free address of the logger
        qint64 expected = 0; // bytes asked for: endAddress + 1
        qint64 received = 0; // bytes that arrived (surplus included)
        // Filled once the stream is complete:
        QString idCodeText;             // TxtIDCode
        QString intervalText;           // TxtInterval, seconds
        QString memoryText;             // LblMemory
        QString remainingText;          // LblRemaining
        QList<LoggerRun::SetLine> sets; // one line per listed run

        bool streamComplete() const
        {
            return outcome == Outcome::Done || outcome == Outcome::BadRun;
        }
    };

    LoggerDownload(Meter &meter, LoggerResults &results);

    // Percentage of the stream received, after every pass of the stream loop.
    std::function<void(double percent)> streamProgress;
    // Percentage of the runs cut out and listed.
    std::function<void(double percent)> listProgress;
    // Asked after every wait: true ends the download (the logger window was closed).
    std::function<bool()> cancelled;

    double stallSeconds = 5.0;
    // Length of one pass of the stream loop: short, so the end of the stream is seen
    // within this time; the bytes themselves wait in the receive buffer meanwhile.
    double passSeconds = 0.02;

    Result run();

private:
    bool stopRequested() const;
    Result fail(Result result, Outcome outcome, const QString &message);

    Meter &meter_;
    LoggerResults &results_;
};
