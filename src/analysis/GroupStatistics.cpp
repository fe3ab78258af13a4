#include "analysis/GroupStatistics.h"

#include "analysis/NumberText.h"
#include "link/Decibels.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The week's energy is shared out over five days whatever the number of days worked.
constexpr double kDaysOfReference = 5.0;
// The limits every group is judged against, beside the one typed.
constexpr double kLowerActionDb = 80.0;
constexpr double kUpperActionDb = 85.0;
constexpr double kLimitValueDb = 87.0;
constexpr double kShare = 0.95;

// The chi density carries all but a negligible part of its mass this far (its own units,
// where its spread is about 0.7) either side of its mode; the integral over it is taken in
// this many Simpson steps, enough for 1e-10 even at two degrees of freedom where the
// normal factor rises steepest.
constexpr double kChiReach = 12.0;
constexpr int kSimpsonSteps = 4000;

QString levelProblem(const QList<double> &levels)
{
    for (double level : levels) {
        if (!(level >= 0.0 && level <= GroupStatistics::kMaxLevelDb))
            return QCoreApplication::translate("GroupStatistics",
                                               "A level of %1 dB is outside 0 to 140 dB.")
                .arg(trimmedNumberText(level, 3));
    }
    return QString();
}

// The density of the chi distribution (the square root of a chi-square variable) with
// `degrees` degrees of freedom at w >= 0.
double chiDensity(double w, int degrees, double logNorm)
{
    if (w <= 0.0)
        return degrees == 1 ? std::exp(logNorm) : 0.0;
    return std::exp((degrees - 1.0) * std::log(w) - 0.5 * w * w + logNorm);
}

// The value at which an increasing function of t reaches `p`, by bisection from a
// bracket grown outwards from `start`.
template <typename Function> double solveIncreasing(Function f, double p, double start)
{
    double low = start - 1.0;
    double high = start + 1.0;
    for (double step = 1.0; f(low) > p && step < 1e6; step *= 2.0)
        low -= step;
    for (double step = 1.0; f(high) < p && step < 1e6; step *= 2.0)
        high += step;
    for (int i = 0; i < 200 && high - low > 1e-12 * std::max(1.0, std::abs(high)); ++i) {
        const double middle = 0.5 * (low + high);
        (f(middle) < p ? low : high) = middle;
    }
    return 0.5 * (low + high);
}

QString optionalLine(const char *name, bool shown, double value)
{
    return QString::fromLatin1(name) + QStringLiteral(": ") +
           (shown ? oneDecimalText(value) : QString());
}

} // namespace

QStringList GroupStatistics::Week::lines() const
{
    return {QStringLiteral("days: ") + QString::number(days),
            QStringLiteral("lexw: ") + oneDecimalText(lexwDb)};
}

QString GroupStatistics::Week::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

GroupStatistics::Week GroupStatistics::week(const QList<double> &dailyLex8hDb)
{
    Week week;
    week.days = int(dailyLex8hDb.size());
    if (dailyLex8hDb.isEmpty())
        week.message =
            QCoreApplication::translate("GroupStatistics", "The week needs at least one day.");
    else if (dailyLex8hDb.size() > kMaxDaysInWeek)
        week.message = QCoreApplication::translate("GroupStatistics",
                                                   "A week has at most 7 working days; %1 given.")
                           .arg(dailyLex8hDb.size());
    else
        week.message = levelProblem(dailyLex8hDb);
    if (week.ok())
        week.lexwDb = Decibels::level(Decibels::energySum(dailyLex8hDb) / kDaysOfReference);
    return week;
}

GroupStatistics::Result GroupStatistics::compute(const QList<double> &levelsDb,
                                                 std::optional<double> limitDb)
{
    Result result;
    result.count = int(levelsDb.size());
    result.typedLimitDb = limitDb;
    result.limitDb = limitDb.value_or(kDefaultLimitDb);
    if (levelsDb.isEmpty()) {
        result.message =
            QCoreApplication::translate("GroupStatistics", "The group needs at least one level.");
        return result;
    }
    result.message = levelProblem(levelsDb);
    if (result.ok() && limitDb && !(*limitDb >= 0.0 && *limitDb <= kMaxLevelDb))
        result.message = QCoreApplication::translate(
            "GroupStatistics", "The exposure limit is a level in dB between 0 and 140.");
    if (!result.ok())
        return result;

    const double n = double(levelsDb.size());
    result.energyMeanDb = Decibels::energyMean(levelsDb);
    double sum = 0.0;
    for (double level : levelsDb)
        sum += level;
    result.meanDb = sum / n;
    if (result.count < kMinimumValues)
        return result;

    double squares = 0.0;
    for (double level : levelsDb)
        squares += (level - result.meanDb) * (level - result.meanDb);
    result.hasStatistics = true;
    result.sdDb = std::sqrt(squares / (n - 1.0));
    // The exact quantile (1.64485), so that X95 at the limit and an exceedance fraction of
    // 5 % are one and the same decision.
    result.x95Db = result.meanDb + normalQuantile(kShare) * result.sdDb;
    result.toleranceFactor = toleranceFactor(result.count, kShare, kShare);
    result.utl95Db = result.meanDb + result.toleranceFactor * result.sdDb;
    result.ef80Percent = exceedancePercent(result.meanDb, result.sdDb, kLowerActionDb);
    result.ef85Percent = exceedancePercent(result.meanDb, result.sdDb, kUpperActionDb);
    result.ef87Percent = exceedancePercent(result.meanDb, result.sdDb, kLimitValueDb);
    if (limitDb)
        result.efTypedPercent = exceedancePercent(result.meanDb, result.sdDb, *limitDb);
    if (result.utl95Db < result.limitDb)
        result.decision = Decision::Acceptable;
    else if (result.x95Db >= result.limitDb)
        result.decision = Decision::Unacceptable;
    else
        result.decision = Decision::Uncertain;
    return result;
}

QStringList GroupStatistics::Result::lines() const
{
    QStringList lines{QStringLiteral("n: ") + QString::number(count),
                      QStringLiteral("lp: ") + oneDecimalText(energyMeanDb),
                      QStringLiteral("mean: ") + oneDecimalText(meanDb),
                      optionalLine("sd", hasStatistics, sdDb),
                      optionalLine("x95", hasStatistics, x95Db),
                      optionalLine("utl95", hasStatistics, utl95Db),
                      optionalLine("ef80", hasStatistics, ef80Percent),
                      optionalLine("ef85", hasStatistics, ef85Percent),
                      optionalLine("ef87", hasStatistics, ef87Percent)};
    if (typedLimitDb)
        lines << optionalLine("ef-oel", hasStatistics, efTypedPercent);
    lines << QStringLiteral("decision: ") + decisionText(decision);
    return lines;
}

QString GroupStatistics::Result::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString GroupStatistics::decisionText(Decision decision)
{
    switch (decision) {
    case Decision::Acceptable:
        return QStringLiteral("acceptable");
    case Decision::Uncertain:
        return QStringLiteral("uncertain: measure more");
    case Decision::Unacceptable:
        return QStringLiteral("unacceptable");
    case Decision::TooFewValues:
        break;
    }
    return QStringLiteral("no statistics: they need at least 3 values");
}

double GroupStatistics::exceedancePercent(double meanDb, double sdDb, double limitDb)
{
    if (!(sdDb > 0.0))
        return limitDb > meanDb ? 0.0 : limitDb < meanDb ? 100.0 : 50.0;
    return 100.0 * (1.0 - normal((limitDb - meanDb) / sdDb));
}

double GroupStatistics::toleranceFactor(int n, double coverage, double confidence)
{
    if (n < 2 || !(coverage > 0.0 && coverage < 1.0) || !(confidence > 0.0 && confidence < 1.0))
        return std::numeric_limits<double>::quiet_NaN();
    const double root = std::sqrt(double(n));
    const double delta = normalQuantile(coverage) * root;
    const int degrees = n - 1;
    const double t = solveIncreasing([&](double x) { return noncentralT(x, degrees, delta); },
                                     confidence, delta);
    return t / root;
}

double GroupStatistics::noncentralT(double t, int degrees, double delta)
{
    // T = (Z + delta) / (W / sqrt(nu)) with W chi-distributed, so
    // P(T <= t) = integral over w of chi(w) Phi(t w / sqrt(nu) - delta).
    const double nu = double(degrees);
    const double logNorm = (1.0 - 0.5 * nu) * std::log(2.0) - std::lgamma(0.5 * nu);
    const double mode = std::sqrt(std::max(nu - 1.0, 0.0));
    const double from = std::max(0.0, mode - kChiReach);
    const double to = mode + kChiReach;
    const double h = (to - from) / kSimpsonSteps;
    const double scale = t / std::sqrt(nu);
    const auto integrand = [&](double w) {
        return chiDensity(w, degrees, logNorm) * normal(scale * w - delta);
    };
    double sum = integrand(from) + integrand(to);
    for (int i = 1; i < kSimpsonSteps; ++i)
        sum += (i % 2 == 1 ? 4.0 : 2.0) * integrand(from + i * h);
    return std::clamp(sum * h / 3.0, 0.0, 1.0);
}

double GroupStatistics::normal(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

double GroupStatistics::normalQuantile(double p)
{
    if (!(p > 0.0 && p < 1.0))
        return std::numeric_limits<double>::quiet_NaN();
    return solveIncreasing([](double x) { return normal(x); }, p, 0.0);
}

std::optional<double> GroupStatistics::minimumCumulativeHours(int workers)
{
    if (workers < 1)
        return std::nullopt;
    if (workers <= 5)
        return 5.0;
    if (workers <= 15)
        return 5.0 + 0.5 * (workers - 5);
    if (workers <= 40)
        return 10.0 + 0.25 * (workers - 15);
    return 17.0;
}
