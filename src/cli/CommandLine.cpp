#include "cli/CommandLine.h"

#include "cli/Cli.h"

#include <QTextStream>

#include <algorithm>

namespace cli {

namespace {

const Option *findOption(const Grammar &grammar, const QString &word)
{
    for (const Option &option : grammar.options) {
        if (word == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

bool isOptionWord(const QString &word)
{
    return word.startsWith(QLatin1String("--"));
}

} // namespace

bool Arguments::has(const char *name) const
{
    return std::any_of(given_.begin(), given_.end(),
                       [name](const Given &g) { return g.name == QLatin1String(name); });
}

QString Arguments::value(const char *name) const
{
    for (auto g = given_.rbegin(); g != given_.rend(); ++g) {
        if (g->name == QLatin1String(name))
            return g->words.value(g->words.size() - 1);
    }
    return {};
}

std::optional<QString> Arguments::optional(const char *name) const
{
    if (!has(name))
        return std::nullopt;
    return value(name);
}

QStringList Arguments::values(const char *name) const
{
    QStringList words;
    for (const Given &g : given_) {
        if (g.name == QLatin1String(name))
            words << g.words;
    }
    return words;
}

Result<Arguments> parseArguments(const Grammar &grammar, const QStringList &args)
{
    const auto problem = [&grammar](Grammar::Problem kind, const QString &text) {
        if (grammar.usageOnly)
            return Error(ErrorKind::Usage, grammar.usage);
        if (grammar.usageAfter & kind)
            return Error(ErrorKind::Usage, text + QStringLiteral("; ") + grammar.usage);
        return Error(ErrorKind::Usage, text);
    };
    Arguments parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &word = args.at(i);
        const Option *option = findOption(grammar, word);
        if (!option) {
            if (!isOptionWord(word) &&
                (grammar.operands < 0 || parsed.operands_.size() < grammar.operands)) {
                parsed.operands_ << word;
                continue;
            }
            if (!isOptionWord(word) && grammar.operands != 0)
                return problem(Grammar::ExtraOperand, grammar.extraOperandText.arg(word));
            const bool asOption = grammar.unknownOption && isOptionWord(word);
            return problem(Grammar::Unknown, (asOption ? QStringLiteral("unknown option '%1'")
                                                       : QStringLiteral("unknown argument '%1'"))
                                                 .arg(word));
        }
        const bool again = option->repeats == Option::Repeats::Refused && parsed.has(option->name);
        const auto twice = [&] {
            return problem(Grammar::Twice, word + QStringLiteral(" is given twice"));
        };
        if (again && (grammar.twiceBeforeValue || option->takes == Option::Takes::Nothing))
            return twice();
        const bool blank =
            option->noValueText && i + 1 < args.size() && args.at(i + 1).trimmed().isEmpty();
        if (option->takes != Option::Takes::Nothing && (i + 1 >= args.size() || blank)) {
            if (option->noValueText)
                return Error(ErrorKind::Usage, QString::fromLatin1(option->noValueText));
            return problem(Grammar::NoValue, word + QStringLiteral(" needs a value"));
        }
        if (again)
            return twice();
        Arguments::Given &given = parsed.given_.emplace_back(Arguments::Given{word, {}});
        switch (option->takes) {
        case Option::Takes::Nothing:
            break;
        case Option::Takes::Value:
            given.words << args.at(++i);
            break;
        case Option::Takes::Words:
            while (i + 1 < args.size() && !isOptionWord(args.at(i + 1)))
                given.words << args.at(++i);
            break;
        }
    }
    return parsed;
}

int wrongArguments(QTextStream &err, const QString &problem)
{
    err << "dosemeter-cli: " << problem << "\n";
    return Exit::kUsage;
}

} // namespace cli
