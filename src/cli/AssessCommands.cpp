// dosemeter-cli commands of the exposure assessment: `assess` (dose, TWA and projection
// under several criterion sets, time above levels and the EU status of one or more data
// files) and `iso9612` (LEX,8h with its expanded uncertainty).

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "cli/AssessArguments.h"

#include "analysis/ExposureAssessment.h"
#include "analysis/Iso9612.h"

#include <QSet>
#include <QTextStream>

#include <cmath>

namespace cli {

namespace {

int noLevels(QTextStream &err, const QString &message)
{
    err << "dosemeter-cli: " << message << "\n";
    return Exit::kNoAnswer;
}

// The LAeq,T of each file as the assessment gives it (all records with a level, each
// for the file's period). Exit status, or kOk with the levels appended.
int fileLevels(QTextStream &err, const QStringList &paths, QList<double> &levels)
{
    for (const QString &path : paths) {
        const std::optional<RecordTable> table = readRecords(err, path);
        if (!table)
            return Exit::kFailed;
        ExposureAssessment assessment;
        assessment.addRecords(path, *table);
        const AssessmentResult result = assessment.assess({});
        if (!result.ok())
            return noLevels(err, path + QStringLiteral(": ") + result.message);
        levels << result.laeqDb;
    }
    return Exit::kOk;
}

// NAME:HOURS:L1,L2,...[:TMIN-TMAX]
std::optional<Iso9612::Task> task(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 3 || parts.size() > 4 || parts.at(0).trimmed().isEmpty())
        return std::nullopt;
    Iso9612::Task task;
    task.name = parts.at(0).trimmed();
    const std::optional<double> hours = decimalArgument(parts.at(1));
    const std::optional<QList<double>> samples = Iso9612::levelList(parts.at(2));
    if (!hours || !samples)
        return std::nullopt;
    task.hours = *hours;
    task.samplesDb = *samples;
    if (parts.size() == 4) {
        const auto range = Iso9612::durationRange(parts.at(3));
        if (!range)
            return std::nullopt;
        task.minHours = range->first;
        task.maxHours = range->second;
    }
    return task;
}

} // namespace

bool isIsoOption(const QString &name)
{
    for (const char *option : {"--task", "--samples", "--files", "--te", "--instrument"}) {
        if (name == QLatin1String(option))
            return true;
    }
    return false;
}

int readIsoInput(QTextStream &err, Iso9612::Strategy strategy, const Arguments &parsed,
                 const QString &usage, Iso9612::Input &input)
{
    input.strategy = strategy;
    const bool taskBased = strategy == Iso9612::Strategy::Task;
    const QStringList files = parsed.values("--files");
    for (const Arguments::Given &given : parsed.given()) {
        const QString &a = given.name;
        if (!isIsoOption(a))
            continue;
        const bool forTasks = a == QLatin1String("--task");
        const bool forSamples = a == QLatin1String("--samples") || a == QLatin1String("--files") ||
                                a == QLatin1String("--te");
        if ((forTasks && !taskBased) || (forSamples && taskBased))
            return wrongArguments(
                err, QStringLiteral("%1 is not for %2; ").arg(a, Iso9612::strategyName(strategy)) +
                         usage);
        if (a == QLatin1String("--files")) {
            if (given.words.isEmpty())
                return wrongArguments(err, QStringLiteral("--files needs at least one file"));
            continue;
        }
        const QString &value = given.words.first();
        if (forTasks) {
            const std::optional<Iso9612::Task> t = task(value);
            if (!t)
                return wrongArguments(err, QStringLiteral("--task takes NAME:HOURS:L1,L2,... "
                                                          "with an optional :TMIN-TMAX, such as "
                                                          "press:3.5:88.1,87.6,89.0:3-4"));
            input.tasks << *t;
        } else if (a == QLatin1String("--samples")) {
            const std::optional<QList<double>> samples = Iso9612::levelList(value);
            if (!samples)
                return wrongArguments(err, QStringLiteral("--samples takes levels in dB "
                                                          "separated by commas, such as "
                                                          "88.1,87.6,89.0"));
            input.samplesDb = *samples;
        } else if (a == QLatin1String("--te")) {
            const std::optional<double> hours = decimalArgument(value);
            if (!hours)
                return wrongArguments(err, QStringLiteral("--te is the effective day in hours"));
            input.effectiveHours = *hours;
        } else {
            const std::optional<Iso9612::Instrument> instrument =
                Iso9612::instrumentFromName(value);
            if (!instrument)
                return wrongArguments(err,
                                      QStringLiteral("--instrument is class1, class2 or meter"));
            input.instrument = *instrument;
        }
    }
    if (!taskBased && !parsed.has("--te"))
        return wrongArguments(err, QStringLiteral("--te is needed: the effective day in hours"));
    if (!taskBased && !parsed.has("--samples") && files.isEmpty())
        return wrongArguments(err, QStringLiteral("--samples or --files is needed; ") + usage);

    return fileLevels(err, files, input.samplesDb);
}

int assess(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("assess"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    AssessRequest request;
    if (const int code = readAssessRequest(err, *parsed, usage, request); code != Exit::kOk)
        return code;
    const AssessmentResult result = request.assessment.assess(request.inputs);
    if (!result.ok())
        return noLevels(err, result.message);
    out << result.text();
    return Exit::kOk;
}

int iso9612(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("iso9612"));
    const QString &usage = grammar.usage;
    if (args.isEmpty())
        return wrongArguments(err, usage);
    const std::optional<Iso9612::Strategy> strategy = Iso9612::strategyFromName(args.first());
    if (!strategy)
        return wrongArguments(err,
                              QStringLiteral("'%1' is no strategy; ").arg(args.first()) + usage);
    const Result<Arguments> parsed = parseArguments(grammar, args.mid(1));
    if (!parsed)
        return failed(err, parsed.error());

    Iso9612::Input input;
    if (const int code = readIsoInput(err, *strategy, *parsed, usage, input); code != Exit::kOk)
        return code;
    const Iso9612::Result result = Iso9612::compute(input);
    if (!result.ok())
        return wrongArguments(err, result.message);
    out << result.text();
    return Exit::kOk;
}

} // namespace cli
