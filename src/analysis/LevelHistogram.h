#pragma once

// Everything the two histogram windows compute: `TenthDbHistogram` counts in 0.1 dB steps,
// `WholeDbHistogram` in 1 dB steps; both read the dBA column of the saved-file grid. The
// windows show what this returns and hold the fields, the graph and their counts.
//
// The X positions: the count of index i is drawn at X = i + 1, as a step that spans
// X = i .. i + 1; in 1 dB steps that is exactly the bin's levels (85 counts 85.0 .. 85.9).
// In 0.1 dB steps the X axis is in index units (X = level × 10), its labels showing X × 0.1.

#include "analysis/AxisRange.h"
#include "analysis/GraphRange.h"
#include "analysis/HistogramState.h"
#include "analysis/LevelCounts.h"
#include "data/RecordTable.h"

#include <QString>
#include <QStringList>
#include <QVector>

class LevelHistogram {
public:
    enum class Resolution { TenthDb, WholeDb };

    static constexpr int kLevelColumn = 3; // the grid's "dBA" column

    // The message shown instead of a histogram when nothing can be counted.
    static const char *const kNoLevels;

    // The opening step (the saved-file view's "0.1 dB" / "1 dB"). Counts every record;
    // low and high are the first non-zero index searching up from index 1 and down from
    // the index below the top, so index 0 and the overload index are never an end.
    struct Opening {
        QString message; // kNoLevels when there is no low or high: open no window
        LevelCounts counts;
        int lowIndex = 0; // in the chosen resolution's array
        int highIndex = 0;
        GraphRange fields; // record range 1..N, then the dB fields of the resolution
        AxisRange xAxis;
        bool ok() const { return message.isEmpty(); }
    };
    // Sets HistFirstRecord and HistLastRecord to 1 and N. The window sets HistLoading
    // while it fills its fields from the result.
    static Opening open(const RecordTable &table, Resolution resolution, HistogramState &state);

    // The limit change ("OK" of the limit panel, or a field changed).
    enum class LimitOutcome {
        Recounted,      // counts, HistFirstRecord/HistLastRecord and xAxis are new: redraw
        Loading,        // HistLoading is set: the window is being set up
        NotBelow,       // a minimum is not below its maximum
        NoRecords,      // the saved-file window (table == nullptr) is gone
        OutsideRecords, // the record range starts before record 1 or ends past the last
    };
    struct LimitChange {
        LimitOutcome outcome = LimitOutcome::NotBelow;
        AxisRange xAxis; // when Recounted
    };
    // Recounts records minimum[1] .. maximum[1] (whole numbers; the fields are rounded)
    // into `counts`. Unless the outcome is Recounted nothing is changed, so the graph
    // keeps what it shows.
    static LimitChange changeLimits(const RecordTable *table, const GraphRange &fields,
                                    Resolution resolution, HistogramState &state,
                                    LevelCounts &counts);
    // The two steps of a limit change without its checks of the fields. recount() counts
    // records first .. last (from 1) into `counts` and sets HistFirstRecord and
    // HistLastRecord; it changes nothing and returns false when the range starts before
    // record 1 or ends past the last.
    static bool recount(const RecordTable &table, int first, int last, HistogramState &state,
                        LevelCounts &counts);
    // The X axis from the dB fields: minimum 2 × 10 - 5 .. maximum 2 × 10 + 5 in 0.1 dB
    // steps, minimum 2 .. maximum 2 in 1 dB steps.
    static AxisRange limitXAxis(const GraphRange &fields, Resolution resolution);

    // The graph's points: every index from 0, X = index + 1, Y = its count.
    struct Points {
        QVector<double> x;
        QVector<double> y;
    };
    static Points points(const LevelCounts &counts, Resolution resolution);

    // The Y axis (counts) for the X axis shown: 0 up to a little above the largest count
    // drawn inside it, so the tallest bin never touches the top; 0..1 when none is.
    static AxisRange countAxis(const LevelCounts &counts, Resolution resolution,
                               const AxisRange &xAxis);

    // The dB fields: up to three decimals in `TenthDbHistogram` (".###": 68 -> "68",
    // 85.3 -> "85.3"), whole numbers in `WholeDbHistogram`.
    static int dbFieldDecimals(Resolution resolution);
    static QString dbFieldText(double value, Resolution resolution);
    // An axis end as text, up to three decimals.
    static QString axisText(double value);
    // "<level>TAB<count>" for every non-zero bin, ascending: "85.3\t1" in 0.1 dB steps,
    // "85\t3" in 1 dB steps.
    static QStringList binLines(const LevelCounts &counts, Resolution resolution);
};
