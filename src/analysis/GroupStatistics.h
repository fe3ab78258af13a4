#pragma once

// The figures of a noise survey beyond one shift: a worker's weekly noise exposure LEX,w
// from the LEX,8h of the days worked in the week, and the statistics of a similar exposure
// group from its daily levels, taken as normally distributed in dB (the exposures
// lognormal): the 95th percentile, the upper tolerance limit UTL95,95, the exceedance
// fraction of an exposure limit and the decision against it. Also the least cumulative
// duration ISO 9612's job-based strategy asks of a group of N workers.
//
// Levels are in dB, 0 to 140. `dosemeter-cli weekly` and `group` print the same lines.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class GroupStatistics {
public:
    // The week: LEX,w = 10 lg((1/5) sum of 10^(0.1 LEX,8h,i)) over the m days worked, so
    // that five days at one level give that level; 1 to 7 days.
    struct Week {
        QString message; // why there is no figure; empty when there is
        bool ok() const { return message.isEmpty(); }

        int days = 0;
        double lexwDb = 0.0;

        // "days: 5", "lexw: 86.0" (0.1 dB).
        QStringList lines() const;
        QString text() const;
    };
    static Week week(const QList<double> &dailyLex8hDb);

    enum class Decision {
        TooFewValues, // fewer than kMinimumValues: no statistics
        Acceptable,   // UTL95,95 below the limit
        Uncertain,    // X95 below the limit, UTL95,95 not
        Unacceptable, // X95 at or above the limit: 5 % of the days or more exceed it
    };

    struct Result {
        QString message; // why there are no figures (no value, one outside 0..140 dB)
        bool ok() const { return message.isEmpty(); }

        int count = 0;             // n
        double energyMeanDb = 0.0; // Lp = 10 lg(mean of 10^(0.1 Li))
        double meanDb = 0.0;       // arithmetic mean of the Li
        // The rest only with at least kMinimumValues values.
        bool hasStatistics = false;
        double sdDb = 0.0;            // standard deviation, n - 1 in the denominator
        double x95Db = 0.0;           // mean + z(0.95) sd
        double toleranceFactor = 0.0; // K of UTL95,95 for n
        double utl95Db = 0.0;         // mean + K sd
        double ef80Percent = 0.0;     // share of days above 80 dB
        double ef85Percent = 0.0;
        double ef87Percent = 0.0;
        std::optional<double> typedLimitDb; // the limit the user typed
        double efTypedPercent = 0.0;        // with typedLimitDb
        double limitDb = kDefaultLimitDb;   // what the decision is taken against
        Decision decision = Decision::TooFewValues;

        // "n: 5", "lp: 88.3", "mean: 87.9", "sd: 1.6", "x95: 90.5", "utl95: 94.6",
        // "ef80: 100.0", "ef85: 96.2", "ef87: 71.5", "ef-oel: 50.0" (with a typed limit
        // only), "decision: unacceptable"; levels to 0.1 dB, exceedance fractions in percent
        // to 0.1. Without statistics "sd: " to "ef-oel: " stand empty.
        QStringList lines() const;
        QString text() const;
    };
    // The decision is taken against `limitDb` when given (0 to 140 dB), else 85 dB.
    static Result compute(const QList<double> &levelsDb,
                          std::optional<double> limitDb = std::nullopt);

    // "acceptable", "uncertain: measure more", "unacceptable", or why there is none.
    static QString decisionText(Decision decision);

    // EF = 1 - Phi((limit - mean) / sd) in percent. With no spread at all every day is at
    // the mean: 0 % below it, 100 % above it, 50 % at it (the limit of a vanishing spread).
    static double exceedancePercent(double meanDb, double sdDb, double limitDb);

    // The one-sided normal tolerance factor K: with confidence `confidence`, at least the
    // share `coverage` of the population lies below mean + K s of a sample of n (at least
    // 2). K = t'(confidence; n - 1, z(coverage) sqrt n) / sqrt n, the noncentral t quantile
    // worked out numerically; NaN for fewer than 2 values or shares outside (0, 1).
    static double toleranceFactor(int n, double coverage = 0.95, double confidence = 0.95);

    // P(T <= t) of the noncentral t distribution with `degrees` (at least 1) degrees of
    // freedom and noncentrality `delta`, to about 1e-10.
    static double noncentralT(double t, int degrees, double delta);

    // The standard normal distribution Phi and its inverse (p in (0, 1)).
    static double normal(double x);
    static double normalQuantile(double p);

    // ISO 9612 table 1: the least cumulative duration (hours) of the job-based samples of a
    // group of `workers`: 5 h up to 5 workers, then 0.5 h more per worker to 15, 0.25 h more
    // per worker to 40, and 17 h above 40 (where the standard rather has the group split).
    // Nothing for fewer than one worker.
    static std::optional<double> minimumCumulativeHours(int workers);

    static constexpr double kMaxLevelDb = 140.0;
    static constexpr int kMaxDaysInWeek = 7;
    static constexpr int kMinimumValues = 3;
    static constexpr double kDefaultLimitDb = 85.0;
};
