// dosemeter-cli calculators of a survey that need neither the meter nor the library:
// `weekly` (LEX,w from the days' LEX,8h) and `group` (the statistics of a similar exposure
// group's daily levels and the decision against an exposure limit).

#include "cli/Cli.h"

#include "cli/AssessArguments.h"

#include "analysis/GroupStatistics.h"
#include "analysis/Iso9612.h"

#include <QHash>
#include <QTextStream>

namespace cli {

namespace {

int wrongArguments(QTextStream &err, const QString &problem)
{
    err << "dosemeter-cli: " << problem << "\n";
    return Exit::kUsage;
}

// Option/value pairs of `options`; false (with the message in `problem`) for anything else,
// an option given twice or one without its value.
bool optionValues(const QStringList &args, const QStringList &options,
                  QHash<QString, QString> &values, QString &problem)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (!options.contains(a)) {
            problem = QStringLiteral("unknown argument '%1'").arg(a);
            return false;
        }
        if (values.contains(a)) {
            problem = a + QStringLiteral(" is given twice");
            return false;
        }
        if (i + 1 >= args.size()) {
            problem = a + QStringLiteral(" needs a value");
            return false;
        }
        values.insert(a, args.at(++i));
    }
    return true;
}

// The levels of --lex8h; a message in `problem` when it is missing or holds a non-number.
std::optional<QList<double>> dailyLevels(const QHash<QString, QString> &values, QString &problem)
{
    const QString option = QStringLiteral("--lex8h");
    if (!values.contains(option)) {
        problem = QStringLiteral("--lex8h is needed");
        return std::nullopt;
    }
    std::optional<QList<double>> levels = Iso9612::levelList(values.value(option));
    if (!levels)
        problem = QStringLiteral("--lex8h takes levels in dB separated by commas, such as "
                                 "86.2,88.0,84.9");
    return levels;
}

} // namespace

int weekly(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const QString usage = QStringLiteral("weekly takes --lex8h L1,L2,... (1 to 7 days)");
    QHash<QString, QString> values;
    QString problem;
    if (!optionValues(args, {QStringLiteral("--lex8h")}, values, problem))
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);
    const std::optional<QList<double>> levels = dailyLevels(values, problem);
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
    const QString usage = QStringLiteral("group takes --lex8h L1,L2,... [--oel DB]");
    const QString limitOption = QStringLiteral("--oel");
    QHash<QString, QString> values;
    QString problem;
    if (!optionValues(args, {QStringLiteral("--lex8h"), limitOption}, values, problem))
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);
    const std::optional<QList<double>> levels = dailyLevels(values, problem);
    if (!levels)
        return wrongArguments(err, problem + QStringLiteral("; ") + usage);
    std::optional<double> limit;
    if (values.contains(limitOption)) {
        limit = decimalArgument(values.value(limitOption));
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
