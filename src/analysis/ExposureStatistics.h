#pragma once

// Exposure figures of a record list, as a hygienist judges a recording: energy average,
// statistical levels and, given the meter's criterion, exchange rate and threshold, the
// noise dose and its TWA. The statistics window and `dosemeter-cli stats` show the same
// `name: value` lines.
//
// Level of a record (its dBA cell), as RecordLevels reads it: a text containing "OL" is
// 140.0 (overload), one containing "-" is 67.9 (under range), any other its number. A
// record without a number, or with one the meter cannot show (outside 67.9..140.0 dB, or
// no plain decimal), has no level and is skipped.

#include "analysis/RecordLevels.h"
#include "data/RecordTable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct MeterState;

class ExposureStatistics {
public:
    struct Settings {
        int criterionDb = 90;      // 80, 84, 85, 90
        int exchangeRateDb = 5;    // 3, 4, 5, 6
        double thresholdDb = 80.0; // records below it add no dose

        // The meter's last known settings; 90 / 5 / 80 for what is not known yet.
        static Settings fromMeter(const MeterState &meter);

        // "criterion: 90", "exchange-rate: 5", "threshold: 80", named as the command
        // line's options, to state what the dose figures were computed with.
        QStringList lines() const;
    };
    static bool isCriterion(int db);
    static bool isExchangeRate(int db);

    // The message given instead of figures when no record has a level.
    static const char *const kNoLevels;

    // Without settings the dose figures (period, duration, dose, twa) are left out.
    static ExposureStatistics compute(const RecordTable &table,
                                      const std::optional<Settings> &settings = std::nullopt);

    QString message; // kNoLevels when there are no figures
    bool ok() const { return message.isEmpty(); }

    int records = 0; // records with a level (N)
    int skipped = 0; // records without one
    // Levels in tenths of a dB, rounded to nearest.
    qint64 minTenths = 0;
    qint64 maxTenths = 0;
    qint64 meanTenths = 0; // arithmetic mean of the levels in tenths
    qint64 laeqTenths = 0; // 10 · log10(mean of 10^(L/10))
    // Level exceeded by n % of the records: levels sorted descending as d[1..N],
    // Ln = d[ceil(n / 100 · N)].
    qint64 l10Tenths = 0;
    qint64 l50Tenths = 0;
    qint64 l90Tenths = 0;

    bool withDose = false; // settings were given
    // The median of the steps between consecutive records' date-and-time stamps, in
    // tenths of a second; nothing when fewer than two stamps can be read or the median is
    // not positive (then duration, dose and twa are empty too).
    std::optional<qint64> periodTenths;
    // The time of the records with a level, each standing for its own time
    // (RecordLevels::recordDurationsTenths), to the nearest second.
    std::optional<qint64> durationSeconds;
    std::optional<double> dosePercent; // rounded to two decimals
    std::optional<qint64> twaTenths;   // of that dose; nothing for a dose of 0

    // "records: 10", "skipped: 0", "min: 80.0", ... in the order above; an empty figure
    // is "name: " with nothing after it.
    QStringList lines() const;
    // The lines joined with line ends, for the clipboard.
    QString text() const;

private:
    // The dose figures of the levels, in the records' order, with the record of each.
    static void addDose(ExposureStatistics &s, const RecordTable &table,
                        const std::vector<RecordLevels::Level> &levels,
                        const std::vector<int> &recordOfLevel, const Settings &settings);
};
