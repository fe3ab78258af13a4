#include "analysis/ExposureAssessment.h"

#include "analysis/DoseRule.h"
#include "analysis/NumberText.h"
#include "analysis/RecordLevels.h"
#include "link/Twa.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

constexpr double kEightHours = 8.0;
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
                      QStringLiteral("excluded: ") + QString::number(excluded)};
    if (!ok())
        return lines;
    lines << QStringLiteral("measured: ") + clockText(nearestSeconds(measuredTenths))
          << QStringLiteral("shift: ") + clockText(std::llround(shiftHours * 3600.0))
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
    for (const Span &span : spans)
        lines << QStringLiteral("excluded-span: %1:%2-%3:%4")
                     .arg(span.list)
                     .arg(span.span.first)
                     .arg(span.span.last)
                     .arg(span.span.reason);
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
    const double energy = timed.sum(
        [](double db, qint64 tenths) { return double(tenths) * std::pow(10.0, db / 10.0); });
    result.laeqDb = 10.0 * std::log10(energy / double(timed.totalTenths));
    result.lex8hDb = result.laeqDb + 10.0 * std::log10(inputs.shiftHours / kEightHours);

    for (int db : kTimeAboveDb) {
        const double tenths = timed.sum(
            [db](double level, qint64 tenths) { return level >= db ? double(tenths) : 0.0; });
        result.timeAbove.append({db, qint64(tenths)});
    }

    // The status is judged on LEX,8h as it is printed, so the figure and the status never
    // disagree at a boundary (79.96 dB is shown as 80.0, a lower action value).
    const qint64 lexTenths = std::llround(result.lex8hDb * 10.0);
    result.euStatus = lexTenths < 800   ? EuStatus::BelowLowerAction
                      : lexTenths < 850 ? EuStatus::LowerAction
                      : lexTenths < 870 ? EuStatus::UpperAction
                                        : EuStatus::LimitExceeded;

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
    return result;
}
