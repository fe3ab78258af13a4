#include "cli/Grammars.h"

#include <utility>
#include <vector>

namespace cli {

namespace {

using Takes = Option::Takes;
using Repeats = Option::Repeats;

constexpr Option kSwitch(const char *name)
{
    return {name, Takes::Nothing, Repeats::Allowed};
}

// An option of one value whose last one counts.
constexpr Option kLatest(const char *name)
{
    return {name, Takes::Value, Repeats::Allowed};
}

const char *const kOverloadReason =
    "--exclude-overloads needs a reason, such as \"microphone knocked\"";

// The words of the commands that run on the meter and write a file: a wrong option is said
// with the usage, a missing value alone.
Grammar liveGrammar(const char *usage, QList<Option> options)
{
    Grammar grammar{QString::fromLatin1(usage), std::move(options)};
    grammar.usageAfter = Grammar::Unknown;
    return grammar;
}

// Commands whose every wrong shape is said by the usage alone.
Grammar terseGrammar(const char *usage, QList<Option> options, int operands = 0)
{
    Grammar grammar{QString::fromLatin1(usage), std::move(options), operands};
    grammar.usageOnly = true;
    return grammar;
}

// FILE.dat and options of one value each: histogram and stats.
Grammar fileGrammar(const char *usage, QList<Option> options)
{
    Grammar grammar{QString::fromLatin1(usage), std::move(options), 1,
                    QStringLiteral("only one file, please ('%1' is a second)")};
    grammar.usageAfter =
        Grammar::Unknown | Grammar::NoValue | Grammar::Twice | Grammar::ExtraOperand;
    grammar.unknownOption = true;
    return grammar;
}

// The calculators: options of one value, each once, every problem said with the usage.
Grammar calculatorGrammar(const char *usage, QList<Option> options)
{
    Grammar grammar{QString::fromLatin1(usage), std::move(options)};
    grammar.usageAfter = Grammar::Unknown | Grammar::NoValue | Grammar::Twice;
    grammar.twiceBeforeValue = true;
    return grammar;
}

// assess, and report, which adds its own options to assess's.
Grammar assessGrammar(const char *usage, const QList<Option> &more)
{
    Grammar grammar{QString::fromLatin1(usage),
                    {kSwitch("--suggest"),
                     {"--exclude-overloads", Takes::Value, Repeats::Refused, kOverloadReason},
                     {"--criteria"},
                     {"--shift"},
                     kLatest("--exclude")},
                    -1};
    grammar.options << more;
    grammar.usageAfter = Grammar::Unknown | Grammar::NoValue;
    grammar.unknownOption = true;
    return grammar;
}

Grammar setupGrammar()
{
    Grammar grammar{QString(),
                    {kLatest("--criterion"), kLatest("--threshold"), kLatest("--exchange-rate"),
                     kLatest("--response"), kLatest("--clock")}};
    grammar.unknownOption = true;
    return grammar;
}

Grammar iso9612Grammar()
{
    Grammar grammar{
        QStringLiteral("iso9612 takes job|full-day --samples L1,L2,... [--files "
                       "FILE...] --te HOURS [--instrument class1|class2|meter], or "
                       "task --task NAME:HOURS:L1,L2,...[:TMIN-TMAX] ... "
                       "[--instrument class1|class2|meter]"),
        {kLatest("--task"), {"--samples"}, {"--files", Takes::Words}, {"--te"}, {"--instrument"}}};
    grammar.usageAfter = Grammar::Unknown | Grammar::NoValue;
    grammar.twiceBeforeValue = true;
    return grammar;
}

Grammar protectGrammar()
{
    Grammar grammar{
        QStringLiteral("protect takes --la DB [--lc DB] and one or more of --snr N, --hml H,M,L, "
                       "--octave L63,...,L8000 --apv A63,...,A8000, --nrr N [--type "
                       "earmuff|formable|other], then [--real-world DB] [--dual] [--wear "
                       "PERCENT] [--action DB]"),
        {{"--dual", Takes::Nothing},
         {"--la"},
         {"--lc"},
         {"--snr"},
         {"--hml"},
         {"--octave"},
         {"--apv"},
         {"--nrr"},
         {"--type"},
         {"--real-world"},
         {"--wear"},
         {"--action"}}};
    grammar.usageAfter = Grammar::Unknown | Grammar::NoValue;
    grammar.twiceBeforeValue = true;
    return grammar;
}

const char *const kLibraryUsage =
    "library takes import [--keep-incomplete] FILE..., list [--worker TEXT] [--site TEXT] "
    "[--job TEXT] [--kind KIND] [--from YYYY-MM-DD] [--to YYYY-MM-DD], show ID, set ID "
    "[--worker TEXT] [--site TEXT] [--job TEXT], export ID --out FILE [--overwrite] or delete "
    "ID";

// A command, its words and its lines in the help.
struct Entry {
    QString name;
    Grammar grammar;
    const char *help;
};

const std::vector<Entry> &table()
{
    static const std::vector<Entry> grammars{
        {QStringLiteral("status"), terseGrammar("status takes no arguments", {}),
         "  status                   criterion, exchange rate, response and threshold\n"},
        {QStringLiteral("display"), terseGrammar("display takes no arguments", {}),
         "  display                  one display frame, decoded\n"},
        {QStringLiteral("read"), Grammar{},
         "  read ADDR                one register, printed in decimal\n"},
        {QStringLiteral("write"), Grammar{},
         "  write ADDR VALUE         one register (ADDR 0..65535, VALUE 0..255)\n"},
        {QStringLiteral("download"),
         terseGrammar(
             "download takes --out DIR [--overwrite] [--verify] [--retries N], N 0..100",
             {kSwitch("--verify"), kSwitch("--overwrite"), kLatest("--out"), kLatest("--retries")}),
         "  download --out DIR [--overwrite] [--verify] [--retries N]\n"
         "                           the logger memory, one set-K.dat per run; --verify streams\n"
         "                           it twice and compares; a download the line damaged is\n"
         "                           tried N more times (default 1); a folder holding an earlier\n"
         "                           download's set files needs --overwrite, which removes those\n"
         "                           the new download does not replace\n"},
        {QStringLiteral("erase"),
         terseGrammar("erase deletes every run in the logger memory; give --yes to go ahead",
                      {{"--yes", Takes::Nothing}}),
         "  erase --yes              erase the logger memory\n"},
        {QStringLiteral("set-id"), Grammar{},
         "  set-id CODE              the logger's ID code (0..65535)\n"},
        {QStringLiteral("set-interval"), Grammar{},
         "  set-interval SECONDS     the logging interval (0.1..6553.5)\n"},
        {QStringLiteral("average"),
         liveGrammar("average takes --interval HH:MM:SS --count N [--out FILE.avg "
                     "[--overwrite]] [--job TEXT] [--name TEXT] [--id TEXT]",
                     {kSwitch("--overwrite"), kLatest("--interval"), kLatest("--count"),
                      kLatest("--out"), kLatest("--job"), kLatest("--name"), kLatest("--id")}),
         "  average --interval HH:MM:SS --count N [--out FILE.avg [--overwrite]] [--job TEXT]\n"
         "          [--name TEXT] [--id TEXT]\n"
         "                           interval averages of the live level, one line per interval,\n"
         "                           until N intervals, the end of dBA mode, or Ctrl-C\n"},
        {QStringLiteral("setup"), setupGrammar(),
         "  setup [--criterion 80|84|85|90] [--threshold DB] [--exchange-rate 3|4|5|6]\n"
         "        [--response fast|slow] [--clock now|\"YYYY-MM-DD hh:mm\"]\n"
         "                           the meter's settings through its setup menu (minutes);\n"
         "                           options not given keep the meter's value, the threshold\n"
         "                           (70..90) is lowered to the criterion level\n"},
        {QStringLiteral("standard"), Grammar{},
         "  standard COUNTRY         a country's criterion level and exchange rate, as the\n"
         "                           exposure standards table spells the country (\"U.K\")\n"},
        {QStringLiteral("banks"),
         terseGrammar("banks takes [--bank N] [--out FILE.bnk [--overwrite]], N 1..5",
                      {kSwitch("--overwrite"), kLatest("--bank"), kLatest("--out")}),
         "  banks [--bank N] [--out FILE.bnk [--overwrite]]\n"
         "                           the dose event banks E1..E5 (or bank N), one line per\n"
         "                           row; --out also writes them as a bank file\n"},
        {QStringLiteral("record"),
         liveGrammar("record takes --out FILE.dat [--overwrite] [--period SECONDS] "
                     "[--count N | --duration SECONDS]",
                     {kSwitch("--overwrite"), kLatest("--out"), kLatest("--period"),
                      kLatest("--count"), kLatest("--duration")}),
         "  record --out FILE.dat [--overwrite] [--period SECONDS]\n"
         "         [--count N | --duration SECONDS]\n"
         "                           records the live level every period (0.2..60 s, default\n"
         "                           2) until N records, the duration, the end of dBA mode, or\n"
         "                           Ctrl-C; each record is on the disk as it is taken\n"},
        {QStringLiteral("convert"),
         terseGrammar("convert takes FILE.dat --csv", {kSwitch("--csv")}, 1),
         "  convert FILE.dat --csv   a data file as CSV on standard output\n"},
        {QStringLiteral("histogram"),
         fileGrammar("histogram takes FILE.dat --resolution 0.1|1 [--records FIRST-LAST]",
                     {{"--resolution"}, {"--records"}}),
         "  histogram FILE.dat --resolution 0.1|1 [--records FIRST-LAST]\n"
         "                           the levels counted in 0.1 dB or 1 dB bins, of all records or\n"
         "                           of records FIRST to LAST: \"low:\", \"high:\" and "
         "\"x-axis:\"\n"
         "                           as the histogram window sets them, then LEVEL<TAB>COUNT for\n"
         "                           every level counted\n"},
        {QStringLiteral("stats"),
         fileGrammar("stats takes FILE.dat [--criterion 80|84|85|90] [--exchange-rate 3|4|5|6] "
                     "[--threshold DB]",
                     {{"--criterion"}, {"--exchange-rate"}, {"--threshold"}}),
         "  stats FILE.dat [--criterion 80|84|85|90] [--exchange-rate 3|4|5|6] [--threshold DB]\n"
         "                           records, skipped, min, max, mean, laeq, l10, l50, l90 as\n"
         "                           \"name: value\" lines; with any of the three options (the\n"
         "                           others 90, 5 and 80) also period, duration, dose and twa\n"},
        {QStringLiteral("twa"),
         terseGrammar("twa takes --dose PERCENT --criterion 80|84|85|90 --exchange-rate 3|4|5|6",
                      {{"--dose"}, {"--criterion"}, {"--exchange-rate"}}),
         "  twa --dose PERCENT --criterion 80|84|85|90 --exchange-rate 3|4|5|6\n"
         "                           the eight-hour time-weighted average of a dose (0.01 to\n"
         "                           65535 %, as a meter's dose bank holds it)\n"},
        {QStringLiteral("assess"),
         assessGrammar("assess takes FILE... [--criteria LIST] [--shift HOURS] "
                       "[--exclude FILE:A-B:REASON]... [--exclude-overloads REASON] [--suggest]",
                       {}),
         "  assess FILE... [--criteria LIST] [--shift HOURS] [--exclude FILE:A-B:REASON]...\n"
         "                           the exposure assessment of the files' records pooled:\n"
         "                           LAeq, LEX,8h, time above 80/85/90 dB, the EU status and,\n"
         "                           for each criterion set of LIST (osha-pel, osha-hc, niosh,\n"
         "                           acgih or Lc:Q:Lt; default osha-pel,osha-hc,niosh), the dose\n"
         "                           and TWA, measured and projected to the shift (0.5..24 h,\n"
         "                           default 8); records A to B of FILE are left out\n"},
        {QStringLiteral("iso9612"), iso9612Grammar(),
         "  iso9612 job|full-day|task ...\n"
         "                           LEX,8h and its expanded uncertainty U from LAeq samples\n"
         "                           (typed, or each FILE's LAeq), by the strategy named\n"},
        {QStringLiteral("weekly"),
         calculatorGrammar("weekly takes --lex8h L1,L2,... (1 to 7 days)", {{"--lex8h"}}),
         "  weekly --lex8h L1,L2,... the weekly exposure LEX,w of 1 to 7 days' LEX,8h: \"days:\"\n"
         "                           and \"lexw:\"\n"},
        {QStringLiteral("group"),
         calculatorGrammar("group takes --lex8h L1,L2,... [--oel DB]", {{"--lex8h"}, {"--oel"}}),
         "  group --lex8h L1,L2,... [--oel DB]\n"
         "                           a similar exposure group's daily levels: n, lp, mean, sd,\n"
         "                           x95, utl95 (95 %/95 %), ef80, ef85, ef87 and ef-oel (the\n"
         "                           share of days above each limit, %) and the decision\n"
         "                           against the OEL (default 85 dB); fewer than 3 levels give\n"
         "                           n, lp and mean only\n"},
        {QStringLiteral("protect"), protectGrammar(),
         "  protect --la DB [--lc DB] METHOD... [--real-world DB] [--dual] [--wear PERCENT]\n"
         "          [--action DB]\n"
         "                           the level under a hearing protector, METHOD one or more of\n"
         "                           --snr N, --hml H,M,L, --octave L63,...,L8000 --apv\n"
         "                           A63,...,A8000, --nrr N [--type earmuff|formable|other]: per\n"
         "                           method (snr, hml, octave, osha, osha-field, niosh) its level\n"
         "                           and its adequacy against the action level (default 80); a\n"
         "                           method without LC or band levels says what it needs\n"},
        {QStringLiteral("report"),
         assessGrammar(
             "report takes --out FILE.pdf FILE.dat... [--bnk FILE.bnk] [--worker TEXT] "
             "[--site TEXT] [--job TEXT] [--criteria LIST] [--shift HOURS] "
             "[--exclude FILE:A-B:REASON]... [--overwrite] [--iso job|full-day|task and the "
             "options of iso9612]",
             {kSwitch("--overwrite"),
              {"--out"},
              {"--bnk"},
              {"--worker"},
              {"--site"},
              {"--job"},
              {"--iso"},
              kLatest("--task"),
              {"--samples"},
              {"--files", Takes::Words},
              {"--te"},
              {"--instrument"}}),
         "  report --out FILE.pdf FILE... [--bnk FILE.bnk] [--worker TEXT] [--site TEXT]\n"
         "         [--job TEXT] [--criteria LIST] [--shift HOURS] [--exclude FILE:A-B:REASON]...\n"
         "         [--iso job|full-day|task ...]\n"
         "                           the shift report as a PDF: the assess figures, the level\n"
         "                           over time, the distribution, notes, a bank file's results,\n"
         "                           with --iso and the options of iso9612 its ISO 9612\n"
         "                           section; prints the PDF's path\n"},
        {QStringLiteral("library import"), Grammar{},
         "  library import [--keep-incomplete] FILE...\n"
         "                           .dat, .bnk and .avg files into the library: \"imported: ID\n"
         "                           FILE\" or \"already: ID FILE\" each; a data file cut inside\n"
         "                           its last record only with --keep-incomplete\n"},
        {QStringLiteral("library list"),
         terseGrammar(kLibraryUsage,
                      {{"--worker"}, {"--site"}, {"--job"}, {"--kind"}, {"--from"}, {"--to"}}),
         "  library list [--worker TEXT] [--site TEXT] [--job TEXT] [--kind KIND]\n"
         "               [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
         "                           the measurements as TSV; KIND is run, recording, list,\n"
         "                           banks or average; texts are found anywhere in the field\n"},
        {QStringLiteral("library show"), Grammar{},
         "  library show ID          a measurement's fields as \"name: value\" lines\n"},
        {QStringLiteral("library set"),
         terseGrammar("library set takes ID and one or more of --worker TEXT, --site TEXT, "
                      "--job TEXT",
                      {{"--worker"}, {"--site"}, {"--job"}}),
         "  library set ID [--worker TEXT] [--site TEXT] [--job TEXT]\n"},
        {QStringLiteral("library export"),
         terseGrammar("library export takes ID --out FILE [--overwrite]",
                      {{"--overwrite", Takes::Nothing}, {"--out"}}),
         "  library export ID --out FILE [--overwrite]\n"
         "                           the file as it was imported, byte for byte\n"},
        {QStringLiteral("library delete"), Grammar{}, "  library delete ID\n"},
    };
    return grammars;
}

// What "library" alone, or with a word it does not know, is answered with.
const Grammar &libraryGrammar()
{
    static const Grammar grammar = terseGrammar(kLibraryUsage, {});
    return grammar;
}

} // namespace

const Grammar &grammarOf(const QString &command)
{
    if (command == QLatin1String("library"))
        return libraryGrammar();
    for (const Entry &entry : table()) {
        if (entry.name == command)
            return entry.grammar;
    }
    static const Grammar none;
    return none;
}

QStringList grammarCommands()
{
    QStringList names;
    for (const Entry &entry : table())
        names << entry.name;
    return names;
}

QString commandsHelp()
{
    QString text;
    for (const Entry &entry : table())
        text += QLatin1String(entry.help);
    return text;
}

} // namespace cli
