// dosemeter-cli calculators of a survey that need neither the meter nor the library:
// `weekly` (LEX,w from the days' LEX,8h) and `group` (the statistics of a similar exposure
// group's daily levels and the decision against an exposure limit).

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "cli/AssessArguments.h"

#include "analysis/GroupStatistics.h"
#include "analysis/Iso9612.h"

#include <QHash>
#include <QTextStream>

namespace cli {

namespace {

// The levels of --lex8h; a message in `problem` when it is missing or holds a non-number.
std::optional<QList<double>> dailyLevels(const Arguments &arguments, QString &problem)
{
    if (!arguments.has("--lex8h")) {
        problem = QStringLiteral("--lex8h is needed");
        return std::nullopt;
    }
    std::optional<QList<double>> levels = Iso9612::levelList(arguments.value("--lex8h"));
    if (!levels)
        problem = QStringLiteral("--lex8h takes levels in dB separated by commas, such as "
                                 "86.2,88.0,84.9");
    return levels;
}

} // namespace

int weekly(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("weekly"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    QString problem;
    const std::optional<QList<double>> levels = dailyLevels(*parsed, problem);
    if (!levels)
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);
    const GroupStatistics::Week week = GroupStatistics::week(*levels);
    if (!week.ok())
        return wrongArguments(err, week.message);
    out << week.text();
    return Exit::kOk;
}

int group(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("group"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    QString problem;
    const std::optional<QList<double>> levels = dailyLevels(*parsed, problem);
    if (!levels)
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);
    std::optional<double> limit;
    if (parsed->has("--oel")) {
        limit = decimalArgument(parsed->value("--oel"));
        if (!limit || !(*limit >= 0.0 && *limit <= GroupStatistics::kMaxLevelDb))
            return wrongArguments(
                err, QStringLiteral("--oel is the exposure limit in dB, between 0 and 140"));
    }
    const GroupStatistics::Result result = GroupStatistics::compute(*levels, limit);
    if (!result.ok())
        return wrongArguments(err, result.message);
    out << result.text();
    return Exit::kOk;
}

} // namespace cli
