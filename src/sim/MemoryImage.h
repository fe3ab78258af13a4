#pragma once

// Images of the meter's 64 KiB register space, laid out as its memory map: an erased
// logger, a logger holding given runs, a demonstration memory, and the records of the
// dose banks.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>

#include <optional>

namespace MemoryImage {

inline constexpr int kSize = 0x10000;

// One logger run: its start, its interval in tenths of a second and its samples as
// (level in dB, overload flag).
struct Run {
    QDateTime start;
    int intervalTenths = 10;
    QList<QPair<double, bool>> samples;
};

// A 64 KiB image holding exactly `runs`, stored one after the other from 0x0300
// (each run: 8-byte header, 3-byte samples, one closing byte, so that a run of n
// samples starting at S ends with its last byte at S + 8 + 3n and the next run starts
// at S + 9 + 3n), with the run table and run count, ID code (0..65535), logger interval
// (tenths of a second), threshold 80 dB, all banks unused and their time copies erased
// (0xFF), and the memory-full flag when `full`. Levels are stored as BCD tenths of a dB,
// clamped to 0..199.9. What does not fit is left out: samples beyond the end of logger
// memory (0x7A00), runs without room for their header, runs beyond the 127th (the run
// table holds 128 entries).
QByteArray withRuns(const QList<Run> &runs, int idCode, int intervalTenths, bool full = false);
// An erased logger: withRuns({}, 0, 10).
QByteArray erased();
// A logger memory with a few realistic runs ending before `end`: four runs (60 samples
// at 1 s, 480 at 60 s, 1200 at 0.5 s, 200 at 10 s), ID code 1234, interval 1 s,
// threshold 80 dB, banks E1 and E2 used with matching time copies. 64 KiB.
QByteArray demo(const QDateTime &end, quint32 seed = 7);

// The results of a measurement as a dose bank holds them.
struct BankRun {
    quint8 status = 0; // settings: criterion, exchange rate, time weighting
    int thresholdDb = 0;
    QDateTime start;
    QDateTime stop;
    double seconds = 0.0; // exposure time
    double dosePercent = 0.0;
    std::optional<double> peakAtSeconds; // run time of the first overload
    double peakSeconds = 0.0;            // overload duration
    bool loud = false;                   // 115 dB or more
};

// The 20 bytes of a used bank. The dose is stored with the finest divisor code (100,
// 10, 1) whose raw value fits 16 bits, and at most 655.35 %, 6553.5 % or 65535 %.
QByteArray bankRecord(const BankRun &run);
// The bank a new run records into after bank `last` (0 for none): the first unused bank
// after it, or the next one when all five are used.
int nextBank(const QByteArray &image, int last);
// The 6-byte time copy of a bank: start month, day, hour, minute, stop hour, minute.
QByteArray bankTimeCopy(const QDateTime &start, const QDateTime &stop);

} // namespace MemoryImage
