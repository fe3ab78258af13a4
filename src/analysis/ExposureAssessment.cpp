#include "analysis/ExposureAssessment.h"

#include "analysis/DoseRule.h"
#include "analysis/NumberText.h"
#include "analysis/RecordLevels.h"
#include "link/Decibels.h"
#include "link/Twa.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kTimeAboveDb[] = {80, 85, 90};

// Levels of the records used, weighted by the time each stands for: whole tenths of a
// dB in bins, any other level on its own.
struct TimedLevels {
    std::vector<qint64> binTenths = std::vector<qint64>(size_t(RecordLevels::kTenthsCount), 0);
    struct Other {
        double value;
        qint64 tenths; // of a second
    };
    std::vector<Other> others;
    qint64 totalTenths = 0;

    // f(level, tenths of a second) summed over every level and its time.
    template <typename F> double sum(F f) const
    {
        double total = 0.0;
        for (size_t bin = 0; bin < binTenths.size(); ++bin) {
            if (binTenths[bin] != 0)
                total += f(double(bin) / 10.0, binTenths[bin]);
        }
        for (const Other &other : others)
            total += f(other.value, other.tenths);
        return total;
    }
};

QString doseText(double percent)
{
    return QString::number(percent, 'f', 2);
}

QString twaText(const std::optional<int> &tenths)
{
    return tenths ? tenthsText(*tenths) : QString();
}

qint64 nearestSeconds(qint64 tenths)
{
    return (tenths + 5) / 10;
}

// The status is judged on LEX,8h as it is printed, so the figure and the status never
// disagree at a boundary (79.96 dB is shown as 80.0, a lower action value).
EuStatus statusOf(double lex8hDb)
{
    const qint64 lexTenths = std::llround(lex8hDb * 10.0);
    return lexTenths < 800   ? EuStatus::BelowLowerAction
           : lexTenths < 850 ? EuStatus::LowerAction
           : lexTenths < 870 ? EuStatus::UpperAction
                             : EuStatus::LimitExceeded;
}

constexpr qint64 kTenthsPerDay = 864000;
constexpr double kOverloadEnergy = 1e14; // 10^(140 / 10)

QString stampText(qint64 tenths)
{
    const QDate day = QDate::fromJulianDay(tenths / kTenthsPerDay);
    const QTime time = QTime(0, 0).addSecs(int((tenths % kTenthsPerDay) / 10));
    return day.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("hh:mm:ss"));
}

double median(std::vector<double> &values)
{
    const size_t upper = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + qsizetype(upper), values.end());
    if (values.size() % 2 != 0)
        return values[upper];
    return (values[upper] + *std::max_element(values.begin(), values.begin() + qsizetype(upper))) /
           2.0;
}

} // namespace

const char *const ExposureAssessment::kNoLevels =
    "There are no levels to assess: no record of the files holds a level.";

QList<CriterionSet> CriterionSet::named()
{
    return {{QStringLiteral("osha-pel"), 90, 5, 90.0},
            {QStringLiteral("osha-hc"), 90, 5, 80.0},
            {QStringLiteral("niosh"), 85, 3, 80.0},
            {QStringLiteral("acgih"), 85, 3, 80.0}};
}

std::optional<CriterionSet> CriterionSet::parse(const QString &text, QString *problem)
{
    for (const CriterionSet &set : named()) {
        if (set.name == text)
            return set;
    }
    static const QRegularExpression custom(
        QStringLiteral("^(\\d{1,3}):(\\d{1,2}):(\\d{1,3}(?:\\.\\d+)?)$"));
    const QRegularExpressionMatch m = custom.match(text);
    CriterionSet set{text, m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toDouble()};
    if (!m.hasMatch() || set.criterionDb < 70 || set.criterionDb > 100 ||
        !Twa::exchangeFactor(set.exchangeRateDb) || set.thresholdDb > 140.0) {
        if (problem)
            *problem = QCoreApplication::translate(
                           "ExposureAssessment",
                           "'%1' is no criterion set: give osha-pel, osha-hc, niosh, "
                           "acgih, or Lc:Q:Lt with the criterion level Lc 70 to 100 "
                           "(whole dB), the exchange rate Q 3 to 6 and the threshold "
                           "Lt 0 to 140 dB, such as 85:3:80")
                           .arg(text);
        return std::nullopt;
    }
    return set;
}

QString AssessmentResult::euStatusText(EuStatus status)
{
    switch (status) {
    case EuStatus::BelowLowerAction:
        return QStringLiteral("below the lower action value");
    case EuStatus::LowerAction:
        return QStringLiteral("lower action value");
    case EuStatus::UpperAction:
        return QStringLiteral("upper action value");
    case EuStatus::LimitExceeded:
        break;
    }
    return QStringLiteral("limit value exceeded");
}

QStringList AssessmentResult::lines() const
{
    QStringList lines{QStringLiteral("files: ") + QString::number(lists),
                      QStringLiteral("records: ") + QString::number(records),
                      QStringLiteral("skipped: ") + QString::number(skipped),
                      QStringLiteral("excluded: ") + QString::number(excluded),
                      QStringLiteral("overloads: ") + QString::number(overloads),
                      QStringLiteral("under-range: ") + QString::number(underRange)};
    if (!ok())
        return lines;
    lines << QStringLiteral("measured: ") + clockText(nearestSeconds(measuredTenths))
          << QStringLiteral("shift: ") + clockText(std::llround(shiftHours * 3600.0))
          << QStringLiteral("coverage: %1 %").arg(coveragePercent)
          << QStringLiteral("laeq: ") + oneDecimalText(laeqDb)
          << QStringLiteral("lex8h: ") + oneDecimalText(lex8hDb)
          << QStringLiteral("max: ") + tenthsText(maxTenths);
    for (const TimeAbove &above : timeAbove)
        lines << QStringLiteral("time-above-%1: %2")
                     .arg(above.levelDb)
                     .arg(clockText(nearestSeconds(above.tenths)));
    lines << QStringLiteral("eu-status: ") + euStatusText(euStatus);
    for (const Dose &dose : doses) {
        const QString &name = dose.set.name;
        lines << name + QStringLiteral(".dose: ") + doseText(dose.percent)
              << name + QStringLiteral(".twa: ") + twaText(dose.twaTenths)
              << name + QStringLiteral(".projected-dose: ") + doseText(dose.projectedPercent)
              << name + QStringLiteral(".projected-twa: ") + twaText(dose.projectedTwaTenths);
    }
    for (qsizetype n = 0; n < shifts.size(); ++n) {
        const Shift &shift = shifts.at(n);
        lines << QStringLiteral("shift %1: start %2 measured %3 laeq %4 lex8h %5 eu-status %6")
                     .arg(n + 1)
                     .arg(stampText(shift.startTenths),
                          clockText(nearestSeconds(shift.measuredTenths)),
                          oneDecimalText(shift.laeqDb), oneDecimalText(shift.lex8hDb),
                          euStatusText(shift.euStatus));
    }
    for (const Span &span : spans)
        lines << QStringLiteral("excluded-span: %1:%2-%3:%4")
                     .arg(span.list)
                     .arg(span.span.first)
                     .arg(span.span.last)
                     .arg(span.span.reason);
    for (const Suggestion &suggestion : suggestions)
        lines << QStringLiteral("suggested: %1:%2-%3: %4")
                     .arg(suggestion.list)
                     .arg(suggestion.first)
                     .arg(suggestion.last)
                     .arg(suggestion.reason);
    if (overloads > 0) {
        QString advisory =
            (overloads == 1 ? QStringLiteral("advisory: 1 overload record")
                            : QStringLiteral("advisory: %1 overload records").arg(overloads)) +
            QStringLiteral(" (above the meter's 140 dB range) among those used: LAeq, LEX,8h, "
                           "the doses and the TWAs are lower bounds");
        if (overloadsAddTenths)
            advisory += QStringLiteral("; overloads add %1 dB to LAeq")
                            .arg(tenthsText(*overloadsAddTenths));
        lines << advisory;
    }
    if (coveragePercent < ExposureAssessment::kLowCoveragePercent)
        lines << QStringLiteral("advisory: the measurement covers %1 % of the shift: the "
                                "projection to the shift assumes the unmeasured part is like "
                                "the measured part")
                     .arg(coveragePercent);
    if (shifts.size() > 1)
        lines << QStringLiteral("advisory: the records fall in %1 shifts, more than %2 hours "
                                "apart: the pooled figures mix days; each shift's own are on "
                                "its shift line")
                     .arg(shifts.size())
                     .arg(ExposureAssessment::kShiftGapHours);
    return lines;
}

QString AssessmentResult::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int ExposureAssessment::addRecords(const QString &name, const RecordTable &table)
{
    List list;
    list.name = name;
    list.stamps = RecordLevels::stampsTenths(table);
    list.durations = RecordLevels::recordDurationsTenths(list.stamps);
    const int records = table.recordCount();
    list.values.resize(size_t(records), std::numeric_limits<double>::quiet_NaN());
    list.tenths.resize(size_t(records), 0);
    list.readings.resize(size_t(records), RecordLevels::Reading::Number);
    for (int r = 0; r < records; ++r) {
        if (const auto level =
                RecordLevels::recordLevel(table.cellBytes(r, RecordLevels::kLevelColumn))) {
            list.values[size_t(r)] = level->value;
            list.tenths[size_t(r)] = qint32(level->tenths);
            list.readings[size_t(r)] = level->reading;
        }
    }
    // Runs of records no more than kShiftGapHours apart, each with its first and last
    // stamp (kNoStamp when it has none).
    const qint64 gap = std::llround(kShiftGapHours * 36000.0);
    std::optional<qint64> previous;
    std::pair<qint64, qint64> stamps{RecordLevels::kNoStamp, RecordLevels::kNoStamp};
    for (int r = 0; r < records; ++r) {
        const qint64 stamp = list.stamps[size_t(r)];
        if (stamp == RecordLevels::kNoStamp)
            continue;
        if (previous && std::abs(stamp - *previous) > gap) {
            list.runEnds.push_back(r - 1);
            list.runStamps.push_back(stamps);
            stamps = {RecordLevels::kNoStamp, RecordLevels::kNoStamp};
        }
        if (stamps.first == RecordLevels::kNoStamp)
            stamps = {stamp, stamp};
        stamps = {std::min(stamps.first, stamp), std::max(stamps.second, stamp)};
        previous = stamp;
    }
    if (records > 0) {
        list.runEnds.push_back(records - 1);
        list.runStamps.push_back(stamps);
    }
    lists_.push_back(std::move(list));
    return int(lists_.size()) - 1;
}

QString ExposureAssessment::listName(int list) const
{
    return list >= 0 && list < listCount() ? lists_[size_t(list)].name : QString();
}

int ExposureAssessment::recordCount(int list) const
{
    return list >= 0 && list < listCount() ? int(lists_[size_t(list)].values.size()) : 0;
}

std::vector<double> ExposureAssessment::levels(int list) const
{
    return list >= 0 && list < listCount() ? lists_[size_t(list)].values : std::vector<double>();
}

QString ExposureAssessment::spanProblem(const ExcludedSpan &span) const
{
    if (span.list < 0 || span.list >= listCount())
        return QCoreApplication::translate("ExposureAssessment",
                                           "There is no list %1 to exclude records from.")
            .arg(span.list + 1);
    const QString range = QStringLiteral("%1-%2").arg(span.first).arg(span.last);
    const QString &name = lists_[size_t(span.list)].name;
    if (span.first < 1)
        return QCoreApplication::translate("ExposureAssessment",
                                           "Records %1 of %2: records are numbered from 1.")
            .arg(range, name);
    if (span.first > span.last)
        return QCoreApplication::translate("ExposureAssessment",
                                           "Records %1 of %2: the first record is after the last.")
            .arg(range, name);
    if (span.last > recordCount(span.list))
        return QCoreApplication::translate("ExposureAssessment",
                                           "Records %1 are outside %2: it has %3 records.")
            .arg(range, name)
            .arg(recordCount(span.list));
    if (span.reason.trimmed().isEmpty())
        return QCoreApplication::translate("ExposureAssessment",
                                           "Give a reason for excluding records %1 of %2.")
            .arg(range, name);
    return QString();
}

AssessmentResult ExposureAssessment::assess(const Inputs &inputs) const
{
    AssessmentResult result;
    result.lists = listCount();
    result.shiftHours = inputs.shiftHours;

    std::vector<std::vector<bool>> excluded(lists_.size());
    for (size_t l = 0; l < lists_.size(); ++l)
        excluded[l].resize(lists_[l].values.size(), false);
    for (const ExcludedSpan &span : inputs.excluded) {
        if (!spanProblem(span).isEmpty())
            continue;
        result.spans.append({lists_[size_t(span.list)].name, span});
        std::vector<bool> &marks = excluded[size_t(span.list)];
        std::fill(marks.begin() + (span.first - 1), marks.begin() + span.last, true);
    }

    TimedLevels timed;
    qint64 overloadTenths = 0;
    bool anyLevel = false;
    double maxValue = -std::numeric_limits<double>::infinity();
    for (size_t l = 0; l < lists_.size(); ++l) {
        const List &list = lists_[l];
        result.records += int(list.values.size());
        bool used = false;
        for (size_t r = 0; r < list.values.size(); ++r) {
            const double value = list.values[r];
            if (excluded[l][r]) {
                ++result.excluded;
                anyLevel = anyLevel || !std::isnan(value);
                continue;
            }
            if (std::isnan(value)) {
                ++result.skipped;
                continue;
            }
            used = true;
            const qint64 period = list.durations ? (*list.durations)[r] : 0;
            if (list.readings[r] == RecordLevels::Reading::Overload) {
                ++result.overloads;
                overloadTenths += period;
            } else if (list.readings[r] == RecordLevels::Reading::UnderRange) {
                ++result.underRange;
            }
            const RecordLevels::Level level{value, list.tenths[r]};
            if (const std::optional<int> bin = RecordLevels::exactTenths(level))
                timed.binTenths[size_t(*bin)] += period;
            else
                timed.others.push_back({value, period});
            timed.totalTenths += period;
            if (value > maxValue) {
                maxValue = value;
                result.maxTenths = level.tenths;
            }
        }
        if (used && !list.durations) {
            result.message =
                QCoreApplication::translate("ExposureAssessment",
                                            "%1: its time stamps give no period (fewer than two "
                                            "can be read), so its records have no duration.")
                    .arg(list.name);
            return result;
        }
    }
    if (timed.totalTenths == 0) {
        result.message =
            anyLevel ? QCoreApplication::translate("ExposureAssessment",
                                                   "There are no levels to assess: every record "
                                                   "with a level is excluded.")
                     : QString::fromLatin1(kNoLevels);
        return result;
    }

    const double measuredSeconds = double(timed.totalTenths) / 10.0;
    result.measuredTenths = timed.totalTenths;
    const double energy =
        timed.sum([](double db, qint64 tenths) { return double(tenths) * Decibels::energy(db); });
    result.laeqDb = Decibels::level(energy / double(timed.totalTenths));
    result.lex8hDb = result.laeqDb + Decibels::eightHourOffset(inputs.shiftHours);
    if (overloadTenths > 0 && overloadTenths < timed.totalTenths) {
        const double without = Decibels::level((energy - double(overloadTenths) * kOverloadEnergy) /
                                               double(timed.totalTenths - overloadTenths));
        // As both are printed, so that the advisory's figure can be checked from them.
        result.overloadsAddTenths =
            std::llround(result.laeqDb * 10.0) - std::llround(without * 10.0);
    }
    result.coveragePercent =
        int(std::llround(100.0 * double(timed.totalTenths) / (inputs.shiftHours * 36000.0)));

    for (int db : kTimeAboveDb) {
        const double tenths = timed.sum(
            [db](double level, qint64 tenths) { return level >= db ? double(tenths) : 0.0; });
        result.timeAbove.append({db, qint64(tenths)});
    }

    result.euStatus = statusOf(result.lex8hDb);

    const double shiftSeconds = inputs.shiftHours * 3600.0;
    for (const CriterionSet &set : inputs.criteria) {
        const double weightedSeconds = timed.sum([&set](double db, qint64 tenths) {
            return db >= set.thresholdDb
                       ? double(tenths) / 10.0 *
                             DoseRule::weight(db, set.criterionDb, set.exchangeRateDb)
                       : 0.0;
        });
        AssessmentResult::Dose dose;
        dose.set = set;
        dose.percent = DoseRule::percent(weightedSeconds);
        dose.twaTenths = Twa::tenthsDb(dose.percent, set.criterionDb, set.exchangeRateDb);
        // The measured dose rate lasts the whole shift; from the dose before rounding, so
        // a short measurement does not multiply a rounding step.
        dose.projectedPercent = DoseRule::percent(weightedSeconds * shiftSeconds / measuredSeconds);
        dose.projectedTwaTenths =
            Twa::tenthsDb(dose.projectedPercent, set.criterionDb, set.exchangeRateDb);
        result.doses.append(dose);
    }

    // The runs of every list in the order of their starts; a run that starts more than
    // kShiftGapHours after every earlier one has ended starts a shift.
    struct RunStart {
        qint64 first;
        qint64 last;
        size_t list;
        size_t run;
    };
    std::vector<RunStart> starts;
    std::vector<std::vector<int>> runShift(lists_.size());
    for (size_t l = 0; l < lists_.size(); ++l) {
        runShift[l].assign(lists_[l].runEnds.size(), 0);
        for (size_t run = 0; run < lists_[l].runStamps.size(); ++run) {
            const auto [first, last] = lists_[l].runStamps[run];
            if (first != RecordLevels::kNoStamp)
                starts.push_back({first, last, l, run});
        }
    }
    std::sort(starts.begin(), starts.end(),
              [](const RunStart &a, const RunStart &b) { return a.first < b.first; });
    const qint64 gap = std::llround(kShiftGapHours * 36000.0);
    int shiftCount = 0;
    qint64 shiftEnd = 0;
    for (const RunStart &start : starts) {
        if (shiftCount == 0 || start.first - shiftEnd > gap) {
            ++shiftCount;
            shiftEnd = start.last;
        }
        shiftEnd = std::max(shiftEnd, start.last);
        runShift[start.list][start.run] = shiftCount - 1;
    }
    if (shiftCount > 1)
        addShifts(result, excluded, runShift, shiftCount);
    if (inputs.suggest)
        addSuggestions(result, excluded);
    return result;
}

void ExposureAssessment::addShifts(AssessmentResult &result,
                                   const std::vector<std::vector<bool>> &excluded,
                                   const std::vector<std::vector<int>> &runShift,
                                   int shiftCount) const
{
    struct Sum {
        qint64 start = RecordLevels::kNoStamp;
        qint64 tenths = 0;
        double energy = 0.0;
    };
    std::vector<Sum> sums(static_cast<size_t>(shiftCount));
    std::vector<double> energyOfTenths(size_t(RecordLevels::kTenthsCount), -1.0);
    for (size_t l = 0; l < lists_.size(); ++l) {
        const List &list = lists_[l];
        size_t run = 0;
        for (size_t r = 0; r < list.values.size(); ++r) {
            while (run + 1 < list.runEnds.size() && int(r) > list.runEnds[run])
                ++run;
            const double value = list.values[r];
            if (excluded[l][r] || std::isnan(value) || !list.durations)
                continue;
            Sum &sum = sums[size_t(runShift[l][run])];
            const qint64 tenths = (*list.durations)[r];
            const std::optional<int> bin = RecordLevels::exactTenths({value, list.tenths[r]});
            double energy = bin ? energyOfTenths[size_t(*bin)] : -1.0;
            if (energy < 0.0) {
                energy = Decibels::energy(value);
                if (bin)
                    energyOfTenths[size_t(*bin)] = energy;
            }
            sum.energy += double(tenths) * energy;
            sum.tenths += tenths;
            const qint64 stamp = list.stamps[r];
            if (stamp != RecordLevels::kNoStamp &&
                (sum.start == RecordLevels::kNoStamp || stamp < sum.start))
                sum.start = stamp;
        }
    }
    std::sort(sums.begin(), sums.end(),
              [](const Sum &a, const Sum &b) { return a.start < b.start; });
    const double lexOffset = Decibels::eightHourOffset(result.shiftHours);
    for (const Sum &sum : sums) {
        if (sum.tenths == 0)
            continue;
        AssessmentResult::Shift shift;
        shift.startTenths = sum.start;
        shift.measuredTenths = sum.tenths;
        shift.laeqDb = Decibels::level(sum.energy / double(sum.tenths));
        shift.lex8hDb = shift.laeqDb + lexOffset;
        shift.euStatus = statusOf(shift.lex8hDb);
        result.shifts.append(shift);
    }
    // Shifts of excluded records only are not shifts of the assessment.
    if (result.shifts.size() < 2)
        result.shifts.clear();
}

QList<ExcludedSpan> ExposureAssessment::overloadSpans(const QString &reason) const
{
    QList<ExcludedSpan> spans;
    for (size_t l = 0; l < lists_.size(); ++l) {
        const std::vector<RecordLevels::Reading> &readings = lists_[l].readings;
        for (size_t r = 0; r < readings.size(); ++r) {
            if (readings[r] != RecordLevels::Reading::Overload)
                continue;
            size_t last = r;
            while (last + 1 < readings.size() &&
                   readings[last + 1] == RecordLevels::Reading::Overload)
                ++last;
            spans.append({int(l), int(r) + 1, int(last) + 1, reason});
            r = last;
        }
    }
    return spans;
}

void ExposureAssessment::addSuggestions(AssessmentResult &result,
                                        const std::vector<std::vector<bool>> &excluded) const
{
    for (size_t l = 0; l < lists_.size(); ++l) {
        const List &list = lists_[l];
        // The records used, by index: spikes and their neighbours are among them.
        std::vector<int> used;
        for (size_t r = 0; r < list.values.size(); ++r) {
            if (!excluded[l][r] && !std::isnan(list.values[r]))
                used.push_back(int(r));
        }
        const auto overload = [&list](int r) {
            return list.readings[size_t(r)] == RecordLevels::Reading::Overload;
        };
        const auto level = [&list, &used](size_t i) { return list.values[size_t(used[i])]; };
        std::vector<double> around;
        size_t i = 0;
        while (i < used.size()) {
            if (overload(used[i])) {
                size_t last = i;
                while (last + 1 < used.size() && used[last + 1] == used[last] + 1 &&
                       overload(used[last + 1]))
                    ++last;
                result.suggestions.append(
                    {list.name, used[i] + 1, used[last] + 1, QStringLiteral("overload")});
                i = last + 1;
                continue;
            }
            // Up to kSpikeRecords records one after another, each at least kSpikeDb above
            // the median of the kSpikeNeighbours records used on each side, with no such
            // record right before or after them.
            size_t end = 0;
            double aboveDb = 0.0;
            for (size_t k = 1; k <= size_t(kSpikeRecords) && i + k <= used.size(); ++k) {
                const size_t last = i + k - 1;
                if (used[last] != used[i] + int(k) - 1 || overload(used[last]))
                    break;
                around.clear();
                for (size_t b = i >= size_t(kSpikeNeighbours) ? i - kSpikeNeighbours : 0; b < i;
                     ++b)
                    around.push_back(level(b));
                for (size_t a = last + 1; a < std::min(used.size(), last + 1 + kSpikeNeighbours);
                     ++a)
                    around.push_back(level(a));
                if (around.size() < size_t(kSpikeNeighbours))
                    break;
                const double high = median(around) + kSpikeDb;
                if (level(i) < high)
                    break;
                double lowest = level(i);
                for (size_t j = i; j <= last; ++j)
                    lowest = std::min(lowest, level(j));
                if (lowest < high)
                    continue;
                if ((i == 0 || level(i - 1) < high) &&
                    (last + 1 == used.size() || level(last + 1) < high)) {
                    end = last + 1;
                    double highest = level(i);
                    for (size_t j = i; j <= last; ++j)
                        highest = std::max(highest, level(j));
                    aboveDb = highest - (high - kSpikeDb);
                    break;
                }
            }
            if (end == 0) {
                ++i;
                continue;
            }
            result.suggestions.append({list.name, used[i] + 1, used[end - 1] + 1,
                                       QStringLiteral("spike %1 dB above the records around it")
                                           .arg(oneDecimalText(aboveDb))});
            i = end;
        }
    }
}
