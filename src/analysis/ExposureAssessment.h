#pragma once

// The exposure assessment of one or more record lists: does the worker's daily exposure
// reach the action values, under each criterion chosen, projected to the shift?
//
// Each record stands for its own time (RecordLevels::recordDurationsTenths: its step to
// the next record, pauses not counted), and the lists' records are pooled; a record's
// level follows the statistics' rule (RecordLevels). Records in an excluded span count for
// nothing, neither level nor time. Over the records used: LAeq,T, the maximum, the time at
// or above 80, 85 and 90 dB, and for each criterion set the dose, its TWA and both
// projected to the shift; LEX,8h and the EU status from it; the overloads and under-range
// records among them, the coverage of the shift and, where records lie more than
// kShiftGapHours apart, the figures of each shift.
//
// The records are read once, when added; assess() then takes a few milliseconds for a
// day of one-second records, so a window can assess again at every change of its inputs.

#include "analysis/RecordLevels.h"
#include "data/RecordTable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A dose criterion: criterion level Lc, exchange rate Q and threshold Lt.
struct CriterionSet {
    QString name; // "osha-pel", or a custom set as typed ("85:4:75")
    int criterionDb = 90;
    int exchangeRateDb = 5;
    double thresholdDb = 90.0;

    // The named sets in the order they are offered: osha-pel, osha-hc, niosh, acgih.
    static QList<CriterionSet> named();
    // A named set, or a custom one "Lc:Q:Lt" (Lc 70..100 whole dB, Q 3..6, Lt 0..140 dB).
    // nullopt for anything else, with the reason in `problem`.
    static std::optional<CriterionSet> parse(const QString &text, QString *problem = nullptr);
};

// Records of one list left out of the assessment, numbered from 1 as the list numbers
// them, first to last inclusive.
struct ExcludedSpan {
    int list = 0; // the list's index, in the order the lists were added
    int first = 1;
    int last = 1;
    QString reason;
};

// Where a daily exposure LEX,8h stands against the EU's action and limit values.
enum class EuStatus { BelowLowerAction, LowerAction, UpperAction, LimitExceeded };

// What an assessment found: a plain value, printed by the command line as `name: value`
// lines and shown by the window.
struct AssessmentResult {
    // Why there are no figures (no level in the lists, every level excluded, a list
    // without readable time stamps); empty when there are.
    QString message;
    bool ok() const { return message.isEmpty(); }

    int lists = 0;
    int records = 0;           // all records of the lists
    int skipped = 0;           // records outside the excluded spans that have no level
    int excluded = 0;          // records inside an excluded span
    int overloads = 0;         // records used that read OL: above the meter's range
    int underRange = 0;        // records used that read "----": below it
    qint64 measuredTenths = 0; // T: tenths of a second of the records used
    double shiftHours = 8.0;   // Te
    double laeqDb = 0.0;       // LAeq,T
    double lex8hDb = 0.0;      // LAeq,T + 10 lg(Te / 8 h)
    qint64 maxTenths = 0;
    struct TimeAbove {
        int levelDb;
        qint64 tenths; // tenths of a second at or above the level
    };
    QList<TimeAbove> timeAbove; // 80, 85, 90 dB
    EuStatus euStatus = EuStatus::BelowLowerAction;
    int coveragePercent = 0; // T over Te, whole percent
    // LAeq,T less the LAeq,T of the records used but the overloads, in tenths of a dB as
    // both are printed; nothing without overloads or without other records.
    std::optional<qint64> overloadsAddTenths;

    struct Dose {
        CriterionSet set;
        double percent = 0.0; // rounded to two decimals
        std::optional<int> twaTenths;
        double projectedPercent = 0.0; // to the shift, rounded to two decimals
        std::optional<int> projectedTwaTenths;
    };
    QList<Dose> doses; // in the order the sets were given

    struct Span {
        QString list; // the list's name
        ExcludedSpan span;
    };
    QList<Span> spans; // the excluded spans, as given

    // Records more than kShiftGapHours apart belong to different shifts; with more than
    // one, the figures of each, in the order of their starts.
    struct Shift {
        qint64 startTenths = 0; // its first record's stamp (RecordLevels::stampsTenths)
        qint64 measuredTenths = 0;
        double laeqDb = 0.0;
        double lex8hDb = 0.0; // from Te, as the pooled one
        EuStatus euStatus = EuStatus::BelowLowerAction;
    };
    QList<Shift> shifts;

    // Records worth a look before the figures are handed in (Inputs::suggest): isolated
    // spikes and runs of overloads, numbered as spans are.
    struct Suggestion {
        QString list;
        int first = 1;
        int last = 1;
        QString reason;
    };
    QList<Suggestion> suggestions;

    static QString euStatusText(EuStatus status);
    // The lines `dosemeter-cli assess` prints: files, records, skipped, excluded,
    // overloads, under-range, measured, shift, coverage, laeq, lex8h, max,
    // time-above-80/85/90, eu-status, four lines per criterion set, a "shift N: ..." line
    // per shift when there are several, one "excluded-span: LIST:FIRST-LAST:REASON" per
    // span, one "suggested: LIST:FIRST-LAST: REASON" per suggestion, and last an
    // "advisory: ..." line for each caveat (overloads, a low coverage, several shifts).
    // Nothing after under-range when there are no figures.
    QStringList lines() const;
    QString text() const;
};

class ExposureAssessment {
public:
    // Adds a list of records (as a data file holds them); `name` names it in spans and
    // messages. Returns the list's index.
    int addRecords(const QString &name, const RecordTable &table);

    int listCount() const { return int(lists_.size()); }
    QString listName(int list) const;
    int recordCount(int list) const;
    // The level of each record of a list (NaN for a record without one), to plot them.
    std::vector<double> levels(int list) const;

    struct Inputs {
        QList<CriterionSet> criteria;
        double shiftHours = 8.0; // 0.5 .. 24
        QList<ExcludedSpan> excluded;
        bool suggest = false; // look for spans worth excluding
    };
    static constexpr double kShiftGapHours = 4.0;
    // A record at least this far above the median of its neighbours is a spike.
    static constexpr double kSpikeDb = 15.0;
    static constexpr int kSpikeRecords = 3;     // at most, one after another
    static constexpr int kSpikeNeighbours = 10; // on each side
    static constexpr int kLowCoveragePercent = 50;

    // Every overload record of every list, each run of them one span with `reason`.
    QList<ExcludedSpan> overloadSpans(const QString &reason) const;
    static constexpr double kMinShiftHours = 0.5;
    static constexpr double kMaxShiftHours = 24.0;

    // Why a span cannot be excluded (no such list, records outside it, no reason);
    // empty when it can.
    QString spanProblem(const ExcludedSpan &span) const;

    // The figures; spans that spanProblem() refuses are left out.
    AssessmentResult assess(const Inputs &inputs) const;

    // The message when no list holds a level.
    static const char *const kNoLevels;

private:
    struct List {
        QString name;
        std::vector<qint64> stamps; // RecordLevels::stampsTenths
        // The time each record stands for; nothing when the list's stamps give none.
        std::optional<std::vector<qint64>> durations;
        std::vector<double> values; // NaN: no level
        std::vector<qint32> tenths; // the level to the nearest tenth of a dB
        std::vector<RecordLevels::Reading> readings;
        // Last record of each run of records no more than kShiftGapHours apart.
        std::vector<int> runEnds;
        std::vector<std::pair<qint64, qint64>> runStamps; // first and last stamp of each run
    };
    std::vector<List> lists_;

    void addShifts(AssessmentResult &result, const std::vector<std::vector<bool>> &excluded,
                   const std::vector<std::vector<int>> &runShift, int shiftCount) const;
    void addSuggestions(AssessmentResult &result,
                        const std::vector<std::vector<bool>> &excluded) const;
};
