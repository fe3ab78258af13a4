#include "analysis/Iso9612.h"

#include "analysis/NumberText.h"
#include "link/Decibels.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kU3Db = 1.0;
constexpr double kCoverage = 1.65;
// A task's samples this far apart (dB) leave its level uncertain.
constexpr double kTaskSpreadDb = 3.0;
// Above this c1u1 (dB) the sampling of a job or a day does not pin its level down.
constexpr double kMaxSamplingUncertaintyDb = 3.5;
// c1,b of a task: dLEX/dTm in dB per hour, 10 / ln 10 rounded as the standard prints it.
constexpr double kDbPerRelativeChange = 4.34;

// Table C.4: c1u1 (dB) by the number of samples (rows) and u1 (columns 0.5 .. 6.0 dB).
constexpr int kTableSamples[] = {3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 25, 30};
constexpr double kTableStepDb = 0.5;
constexpr int kTableColumns = 12;
constexpr double kTableLastU1Db = kTableStepDb * kTableColumns;
constexpr double kTable[][kTableColumns] = {
    {0.6, 1.6, 3.1, 5.2, 8.0, 11.5, 15.7, 20.6, 26.1, 32.2, 39.0, 46.5},
    {0.4, 0.9, 1.6, 2.5, 3.6, 5.0, 6.7, 8.6, 10.9, 13.4, 16.1, 19.2},
    {0.3, 0.7, 1.2, 1.7, 2.4, 3.3, 4.4, 5.6, 6.9, 8.5, 10.2, 12.1},
    {0.3, 0.6, 0.9, 1.4, 1.9, 2.6, 3.3, 4.2, 5.2, 6.3, 7.6, 8.9},
    {0.2, 0.5, 0.8, 1.2, 1.6, 2.2, 2.8, 3.5, 4.3, 5.1, 6.1, 7.2},
    {0.2, 0.5, 0.7, 1.1, 1.4, 1.9, 2.4, 3.0, 3.6, 4.4, 5.2, 6.1},
    {0.2, 0.4, 0.7, 1.0, 1.3, 1.7, 2.1, 2.6, 3.2, 3.9, 4.6, 5.4},
    {0.2, 0.4, 0.6, 0.9, 1.2, 1.5, 1.9, 2.4, 2.9, 3.5, 4.1, 4.8},
    {0.2, 0.3, 0.5, 0.8, 1.0, 1.3, 1.7, 2.0, 2.5, 2.9, 3.5, 4.0},
    {0.1, 0.3, 0.5, 0.7, 0.9, 1.2, 1.5, 1.8, 2.2, 2.6, 3.0, 3.5},
    {0.1, 0.3, 0.5, 0.6, 0.8, 1.1, 1.3, 1.6, 2.0, 2.3, 2.7, 3.2},
    {0.1, 0.3, 0.4, 0.6, 0.8, 1.0, 1.2, 1.5, 1.8, 2.1, 2.5, 2.9},
    {0.1, 0.3, 0.4, 0.5, 0.7, 0.9, 1.1, 1.4, 1.7, 2.0, 2.3, 2.6},
    {0.1, 0.2, 0.3, 0.5, 0.6, 0.8, 1.0, 1.2, 1.4, 1.7, 2.0, 2.3},
    {0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.9, 1.1, 1.3, 1.5, 1.7, 2.0},
};
constexpr int kTableRows = int(std::size(kTableSamples));
static_assert(std::size(kTable) == std::size(kTableSamples));

// One row of the table at u1, linear between its columns. Outside the table the nearest
// column holds, so that a small spread is never reported as a smaller uncertainty than the
// table gives; only no spread at all (u1 = 0) leaves no sampling uncertainty.
double tableRow(int row, double u1Db)
{
    if (u1Db <= 0.0)
        return 0.0;
    const double position = std::clamp(u1Db / kTableStepDb, 1.0, double(kTableColumns));
    const int above = std::clamp(int(std::ceil(position)), 2, kTableColumns);
    const double upper = kTable[row][above - 1];
    const double lower = kTable[row][above - 2];
    return lower + (upper - lower) * (position - (above - 1));
}

double arithmeticMean(const QList<double> &levels)
{
    double sum = 0.0;
    for (double level : levels)
        sum += level;
    return sum / double(levels.size());
}

double squaredDeviations(const QList<double> &levels)
{
    const double mean = arithmeticMean(levels);
    double sum = 0.0;
    for (double level : levels)
        sum += (level - mean) * (level - mean);
    return sum;
}

QString sampleProblem(const QList<double> &levels)
{
    for (double level : levels) {
        if (!(level >= 0.0 && level <= Iso9612::kMaxLevelDb))
            return QCoreApplication::translate("Iso9612",
                                               "A sample of %1 dB is outside 0 to 140 dB.")
                .arg(trimmedNumberText(level, 3));
    }
    return QString();
}

bool isHours(double hours)
{
    return hours > 0.0 && hours <= Iso9612::kMaxHours;
}

QString strategyCaption(Iso9612::Strategy strategy)
{
    switch (strategy) {
    case Iso9612::Strategy::Task:
        return QCoreApplication::translate("Iso9612", "Task-based");
    case Iso9612::Strategy::Job:
        return QCoreApplication::translate("Iso9612", "Job-based");
    case Iso9612::Strategy::FullDay:
        break;
    }
    return QCoreApplication::translate("Iso9612", "Full-day");
}

// An advisory in English for the figures' lines (the command line, the shift report) and
// in the user's language for the window.
void advise(Iso9612::Result &result, const char *text, const QStringList &values)
{
    result.advisories << Iso9612::Result::Advisory{text, values};
}

void computeTasks(const Iso9612::Input &input, Iso9612::Result &result)
{
    if (input.tasks.isEmpty()) {
        result.message =
            QCoreApplication::translate("Iso9612", "Task-based needs at least one task.");
        return;
    }
    QSet<QString> names;
    double totalHours = 0.0;
    double energy = 0.0;
    for (const Iso9612::Task &task : input.tasks) {
        const QString problem = sampleProblem(task.samplesDb);
        if (task.samplesDb.isEmpty())
            result.message =
                QCoreApplication::translate("Iso9612", "Task %1 has no sample.").arg(task.name);
        else if (!problem.isEmpty())
            result.message =
                QCoreApplication::translate("Iso9612", "Task %1: %2").arg(task.name, problem);
        else if (!isHours(task.hours))
            result.message = QCoreApplication::translate(
                                 "Iso9612", "Task %1: its duration is more than 0 and at most "
                                            "24 hours.")
                                 .arg(task.name);
        else if (task.minHours.has_value() != task.maxHours.has_value() ||
                 (task.minHours && !(*task.minHours >= 0.0 && *task.minHours <= *task.maxHours &&
                                     *task.maxHours <= Iso9612::kMaxHours)))
            result.message = QCoreApplication::translate(
                                 "Iso9612", "Task %1: its duration range runs from a shortest to "
                                            "a longest duration, 0 to 24 hours.")
                                 .arg(task.name);
        else if (names.contains(task.name))
            result.message =
                QCoreApplication::translate("Iso9612", "Task %1 is given twice.").arg(task.name);
        if (!result.ok())
            return;
        names.insert(task.name);
        totalHours += task.hours;
        Iso9612::TaskFigures figures;
        figures.name = task.name;
        figures.samples = int(task.samplesDb.size());
        figures.laeqDb = Decibels::energyMean(task.samplesDb);
        figures.contributionDb = figures.laeqDb + Decibels::eightHourOffset(task.hours);
        const auto [lowest, highest] =
            std::minmax_element(task.samplesDb.begin(), task.samplesDb.end());
        figures.spreadDb = *highest - *lowest;
        energy += Decibels::energy(figures.contributionDb);
        result.samples += figures.samples;
        result.tasks.append(figures);
    }
    if (totalHours > Iso9612::kMaxHours) {
        result.message = QCoreApplication::translate(
                             "Iso9612", "The tasks last %1 hours together, more than a day.")
                             .arg(trimmedNumberText(totalHours, 2));
        return;
    }
    result.lex8hDb = Decibels::level(energy);

    double variance = 0.0;
    for (int m = 0; m < input.tasks.size(); ++m) {
        const Iso9612::Task &task = input.tasks.at(m);
        const Iso9612::TaskFigures &figures = result.tasks.at(m);
        const double c1a = Decibels::energy(figures.contributionDb - result.lex8hDb);
        const double c1b = kDbPerRelativeChange * c1a / task.hours;
        const int count = figures.samples;
        if (count >= Iso9612::kTaskSamples)
            result.tasks[m].u1aDb =
                std::sqrt(squaredDeviations(task.samplesDb) / (count * (count - 1.0)));
        const double u1a = result.tasks.at(m).u1aDb.value_or(0.0);
        const double u1b = task.minHours ? (*task.maxHours - *task.minHours) / 2.0 : 0.0;
        variance += c1a * c1a * (u1a * u1a + result.u2Db * result.u2Db + kU3Db * kU3Db) +
                    (c1b * u1b) * (c1b * u1b);
        if (count < Iso9612::kTaskSamples)
            advise(result,
                   QT_TRANSLATE_NOOP("Iso9612", "task %1: %2 of the 3 samples the standard asks "
                                                "for per task; its u1a is not estimated"),
                   {task.name, QString::number(count)});
        // Samples are typed to a tenth: a spread of 3.0 must not pass as 2.9999.
        if (figures.spreadDb >= kTaskSpreadDb - 1e-9)
            advise(result,
                   QT_TRANSLATE_NOOP("Iso9612", "task %1: its samples span %2 dB, 3 dB or more; "
                                                "take more samples or divide the task"),
                   {task.name, oneDecimalText(figures.spreadDb)});
    }
    result.uDb = std::sqrt(variance);
}

void computeSamples(const Iso9612::Input &input, Iso9612::Result &result)
{
    const QList<double> &samples = input.samplesDb;
    result.samples = int(samples.size());
    const int minimum = Iso9612::minimumSamples(input.strategy);
    if (samples.size() < minimum) {
        result.message =
            QCoreApplication::translate("Iso9612", "%1 needs at least %2 samples; %3 given.")
                .arg(strategyCaption(input.strategy))
                .arg(minimum)
                .arg(samples.size());
        return;
    }
    result.message = sampleProblem(samples);
    if (!result.ok())
        return;
    if (!isHours(input.effectiveHours)) {
        result.message = QCoreApplication::translate(
            "Iso9612", "The effective day Te is more than 0 and at most 24 hours.");
        return;
    }
    result.laeqDb = Decibels::energyMean(samples);
    result.lex8hDb = result.laeqDb + Decibels::eightHourOffset(input.effectiveHours);
    result.u1Db = std::sqrt(squaredDeviations(samples) / (samples.size() - 1.0));
    result.c1u1Db = Iso9612::samplingUncertainty(int(samples.size()), result.u1Db);
    result.uDb = std::sqrt(result.c1u1Db * result.c1u1Db + result.u2Db * result.u2Db +
                           result.u3Db * result.u3Db);
    if (result.c1u1Db > kMaxSamplingUncertaintyDb)
        advise(result,
               QT_TRANSLATE_NOOP("Iso9612", "c1u1 is %1 dB, above 3.5 dB: the measurement plan "
                                            "should be revised"),
               {trimmedNumberText(result.c1u1Db, 2)});
    // The table ends at u1 = 6 dB: beyond it the c1u1 of its last column stands in for a
    // larger one.
    if (result.u1Db > kTableLastU1Db)
        advise(result,
               QT_TRANSLATE_NOOP("Iso9612", "u1 is %1 dB, beyond table C.4 (6 dB at most): "
                                            "c1u1 is its value at 6 dB, %2 dB, and the true "
                                            "one is larger"),
               {trimmedNumberText(result.u1Db, 2), trimmedNumberText(result.c1u1Db, 2)});
}

} // namespace

double Iso9612::samplingUncertainty(int samples, double u1Db)
{
    if (!(u1Db > 0.0))
        return 0.0;
    const int n = std::clamp(samples, kTableSamples[0], kTableSamples[kTableRows - 1]);
    int above = 0;
    while (kTableSamples[above] < n)
        ++above;
    const double upper = tableRow(above, u1Db);
    if (kTableSamples[above] == n)
        return upper;
    const double lower = tableRow(above - 1, u1Db);
    const double share =
        double(n - kTableSamples[above - 1]) / (kTableSamples[above] - kTableSamples[above - 1]);
    return lower + (upper - lower) * share;
}

std::optional<QList<double>> Iso9612::levelList(const QString &text)
{
    QList<double> values;
    for (const QString &item : text.split(QLatin1Char(','))) {
        bool ok = false;
        const double value = item.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        values << value;
    }
    return values;
}

std::optional<std::pair<double, double>> Iso9612::durationRange(const QString &text)
{
    const QStringList ends = text.split(QLatin1Char('-'));
    if (ends.size() != 2)
        return std::nullopt;
    const std::optional<QList<double>> hours = levelList(ends.join(QLatin1Char(',')));
    if (!hours)
        return std::nullopt;
    return std::make_pair(hours->at(0), hours->at(1));
}

int Iso9612::minimumSamples(Strategy strategy)
{
    switch (strategy) {
    case Strategy::Task:
        return 1;
    case Strategy::Job:
        return 5;
    case Strategy::FullDay:
        break;
    }
    return 3;
}

QString Iso9612::strategyName(Strategy strategy)
{
    switch (strategy) {
    case Strategy::Task:
        return QStringLiteral("task");
    case Strategy::Job:
        return QStringLiteral("job");
    case Strategy::FullDay:
        break;
    }
    return QStringLiteral("full-day");
}

std::optional<Iso9612::Strategy> Iso9612::strategyFromName(const QString &name)
{
    for (Strategy strategy : {Strategy::Task, Strategy::Job, Strategy::FullDay}) {
        if (strategyName(strategy) == name)
            return strategy;
    }
    return std::nullopt;
}

std::optional<Iso9612::Instrument> Iso9612::instrumentFromName(const QString &name)
{
    if (name == QLatin1String("class1"))
        return Instrument::Class1;
    if (name == QLatin1String("class2"))
        return Instrument::Class2;
    if (name == QLatin1String("meter"))
        return Instrument::Meter;
    return std::nullopt;
}

Iso9612::Result Iso9612::compute(const Input &input)
{
    Result result;
    result.strategy = input.strategy;
    result.instrument = input.instrument;
    result.u2Db = input.instrument == Instrument::Class1 ? 0.7 : 1.5;
    result.u3Db = kU3Db;
    if (input.strategy == Strategy::Task)
        computeTasks(input, result);
    else
        computeSamples(input, result);
    if (!result.ok())
        return result;
    result.expandedDb = kCoverage * result.uDb;
    result.upperDb = result.lex8hDb + result.expandedDb;
    return result;
}

QStringList Iso9612::Result::lines() const
{
    QStringList lines{QStringLiteral("strategy: ") + strategyName(strategy),
                      QStringLiteral("samples: ") + QString::number(samples)};
    if (!ok())
        return lines;
    const bool task = strategy == Strategy::Task;
    if (!task)
        lines << QStringLiteral("laeq: ") + oneDecimalText(laeqDb);
    lines << QStringLiteral("lex8h: ") + oneDecimalText(lex8hDb);
    if (task) {
        for (const TaskFigures &figures : tasks)
            lines << QStringLiteral("task %1: laeq %2 contribution %3 samples %4")
                         .arg(figures.name, oneDecimalText(figures.laeqDb),
                              oneDecimalText(figures.contributionDb))
                         .arg(figures.samples);
    } else {
        lines << QStringLiteral("u1: ") + oneDecimalText(u1Db)
              << QStringLiteral("c1u1: ") + oneDecimalText(c1u1Db);
    }
    lines << QStringLiteral("u2: ") + oneDecimalText(u2Db)
          << QStringLiteral("u3: ") + oneDecimalText(u3Db)
          << QStringLiteral("u: ") + oneDecimalText(uDb)
          << QStringLiteral("U: ") + oneDecimalText(expandedDb)
          << QStringLiteral("upper: ") + oneDecimalText(upperDb);
    for (const Advisory &advisory : advisories)
        lines << QStringLiteral("advisory: ") + advisory.text();
    return lines;
}

QString Iso9612::Result::Advisory::filled(const QString &pattern) const
{
    // All values at once, so that a task name holding "%2" stays as typed.
    return values.size() == 1 ? pattern.arg(values[0]) : pattern.arg(values[0], values[1]);
}

QString Iso9612::Result::text() const
{
    return lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
}
