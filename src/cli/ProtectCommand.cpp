// dosemeter-cli protect: the level under a hearing protector by every method its ratings
// allow, side by side, with the EN 458 adequacy of each.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "cli/AssessArguments.h"

#include "analysis/HearingProtection.h"

#include <QSet>
#include <QTextStream>

namespace cli {

namespace {

// Numbers separated by commas (blanks allowed around them); nothing when any is none.
std::optional<QList<double>> numberList(const QString &text)
{
    QList<double> values;
    for (const QString &item : text.split(QLatin1Char(','))) {
        const std::optional<double> value = decimalArgument(item);
        if (!value)
            return std::nullopt;
        values << *value;
    }
    return values;
}

// The options that take a value, and what each value is, for the messages.
struct ValueOption {
    const char *name;
    const char *form;
};

constexpr ValueOption kValueOptions[] = {
    {"--la", "--la takes the A-weighted level in dB (an LEX,8h, LAeq or TWA)"},
    {"--lc", "--lc takes the C-weighted level in dB"},
    {"--snr", "--snr takes the protector's SNR in dB"},
    {"--hml", "--hml takes the protector's H, M and L in dB, such as 30,24,22"},
    {"--octave", "--octave takes the 8 octave band levels in dB, 63 to 8000 Hz, commas between"},
    {"--apv", "--apv takes the protector's 8 assumed protection values in dB, 63 to 8000 Hz, "
              "commas between"},
    {"--nrr", "--nrr takes the protector's NRR in dB"},
    {"--type", "--type is earmuff, formable or other"},
    {"--real-world", "--real-world takes the allowance in dB added to the ISO 4869-2 levels"},
    {"--wear", "--wear takes the share of the exposure the protector is worn, in percent"},
    {"--action", "--action takes the action level in dB the protected level is judged against"},
};

const ValueOption *valueOption(const QString &name)
{
    for (const ValueOption &option : kValueOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

} // namespace

int protect(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("protect"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    HearingProtection::Input input;
    HearingProtection::Protector protector;
    std::optional<double> la;
    input.dual = parsed->has("--dual");
    for (const Arguments::Given &given : parsed->given()) {
        const QString &a = given.name;
        const ValueOption *option = valueOption(a);
        if (!option)
            continue;
        const QString &value = given.words.first();
        const QString form = QString::fromLatin1(option->form);
        if (a == QLatin1String("--type")) {
            // Canal caps and custom-moulded earplugs are other earplugs to NIOSH.
            if (value != QLatin1String("earmuff") && value != QLatin1String("formable") &&
                value != QLatin1String("other"))
                return wrongArguments(err, form);
            protector.type = HearingProtection::typeFromName(value);
            continue;
        }
        if (a == QLatin1String("--hml") || a == QLatin1String("--octave") ||
            a == QLatin1String("--apv")) {
            const std::optional<QList<double>> values = numberList(value);
            if (!values || (a == QLatin1String("--hml") && values->size() != 3))
                return wrongArguments(err, form);
            if (a == QLatin1String("--hml"))
                protector.hml = HearingProtection::Hml{values->at(0), values->at(1), values->at(2)};
            else if (a == QLatin1String("--octave"))
                input.bandLevelsDb = *values;
            else
                protector.apvDb = *values;
            continue;
        }
        const std::optional<double> number = decimalArgument(value);
        if (!number)
            return wrongArguments(err, form);
        if (a == QLatin1String("--la"))
            la = number;
        else if (a == QLatin1String("--lc"))
            input.lcDb = number;
        else if (a == QLatin1String("--snr"))
            protector.snrDb = number;
        else if (a == QLatin1String("--nrr"))
            protector.nrrDb = number;
        else if (a == QLatin1String("--real-world"))
            input.realWorldDb = *number;
        else if (a == QLatin1String("--wear"))
            input.wearPercent = *number;
        else
            input.actionLevelDb = *number;
    }
    if (!la)
        return wrongArguments(err, QStringLiteral("--la is needed: the A-weighted level in dB; ") +
                                       usage);
    input.laDb = *la;
    if (parsed->has("--octave") != parsed->has("--apv"))
        return wrongArguments(err, QStringLiteral("--octave and --apv go together: the band "
                                                  "levels and the protector's values in them"));
    if (protector.type && !protector.nrrDb)
        return wrongArguments(err, QStringLiteral("--type goes with --nrr"));
    if (!protector.snrDb && !protector.hml && protector.apvDb.isEmpty() && !protector.nrrDb)
        return wrongArguments(err, QStringLiteral("no protector rating given; ") + usage);
    input.protectors << protector;

    const HearingProtection::Result result = HearingProtection::compute(input);
    if (!result.ok())
        return wrongArguments(err, result.message);
    out << result.text();
    if (!result.anyComputed())
        return wrongArguments(err, QStringLiteral("no method could be computed: each lacks an "
                                                  "input its advisory line names"));
    return Exit::kOk;
}

} // namespace cli
