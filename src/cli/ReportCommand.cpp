// dosemeter-cli report: the shift report of one or more data files as a PDF, with the
// figures `assess` prints for the same options.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"

#include "banks/BankFile.h"
#include "cli/AssessArguments.h"
#include "cli/OutputFiles.h"
#include "report/ShiftReport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

namespace {

} // namespace

int report(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const Grammar &grammar = grammarOf(QStringLiteral("report"));
    const QString &usage = grammar.usage;
    const Result<Arguments> parsed = parseArguments(grammar, args);
    if (!parsed)
        return failed(err, parsed.error());
    const bool overwrite = parsed->has("--overwrite");
    const QString pdf = parsed->value("--out");
    if (pdf.isEmpty())
        return wrongArguments(err, QStringLiteral("--out FILE.pdf is needed; ") + usage);

    AssessRequest request;
    if (const int code = readAssessRequest(err, *parsed, usage, request); code != Exit::kOk)
        return code;
    std::optional<Iso9612::Result> iso;
    if (parsed->has("--iso")) {
        const QString name = parsed->value("--iso");
        const std::optional<Iso9612::Strategy> strategy = Iso9612::strategyFromName(name);
        if (!strategy)
            return wrongArguments(err, QStringLiteral("'%1' is no strategy; ").arg(name) + usage);
        Iso9612::Input input;
        if (const int code = readIsoInput(err, *strategy, *parsed, usage, input); code != Exit::kOk)
            return code;
        iso = Iso9612::compute(input);
        if (!iso->ok())
            return wrongArguments(err, iso->message);
    } else {
        for (const Arguments::Given &given : parsed->given()) {
            if (isIsoOption(given.name))
                return wrongArguments(
                    err, QStringLiteral("%1 goes with --iso job|full-day|task; ").arg(given.name) +
                             usage);
        }
    }
    if (const int code = checkNewFile(err, pdf, overwrite); code != Exit::kOk)
        return code;

    std::optional<ShiftReport::Banks> banks;
    if (parsed->has("--bnk")) {
        const QString path = parsed->value("--bnk");
        const BankFile::Content content = BankFile::read(path);
        if (!content.ok()) {
            err << "dosemeter-cli: "
                << (content.error.isEmpty() ? path + QStringLiteral(" cannot be read")
                                            : content.error)
                << "\n";
            return Exit::kFailed;
        }
        banks = ShiftReport::Banks{path, BankGrid(), {}};
        BankFile::load(content, banks->grid, banks->texts);
    }

    QList<ShiftReport::Source> sources;
    for (qsizetype i = 0; i < request.paths.size(); ++i)
        sources << ShiftReport::Source{request.paths.at(i), request.files.at(i).table,
                                       request.files.at(i).notes};
    request.files.clear();
    ShiftReport::Particulars particulars;
    particulars.worker = parsed->value("--worker");
    particulars.site = parsed->value("--site");
    particulars.job = parsed->value("--job");
    particulars.printed = QDateTime::currentDateTime();
    ShiftReport shiftReport(std::move(sources), request.inputs, particulars);
    if (!shiftReport.result().ok()) {
        err << "dosemeter-cli: " << shiftReport.result().message << "\n";
        return Exit::kNoAnswer;
    }
    if (banks)
        shiftReport.setBanks(*banks);
    if (iso)
        shiftReport.setIso(*iso);
    if (const QString problem = shiftReport.writePdf(pdf); !problem.isEmpty()) {
        err << "dosemeter-cli: " << pdf << " cannot be written: " << problem << "\n";
        return Exit::kFailed;
    }
    out << pdf << "\n";
    return Exit::kOk;
}

} // namespace cli
