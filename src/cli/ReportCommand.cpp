// dosemeter-cli report: the shift report of one or more data files as a PDF, with the
// figures `assess` prints for the same options.

#include "cli/Cli.h"

#include "banks/BankFile.h"
#include "cli/AssessArguments.h"
#include "cli/OutputFiles.h"
#include "report/ShiftReport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

namespace {

int wrongArguments(QTextStream &err, const QString &problem)
{
    err << "dosemeter-cli: " << problem << "\n";
    return Exit::kUsage;
}

} // namespace

int report(QTextStream &out, QTextStream &err, const QStringList &args)
{
    const QString usage =
        QStringLiteral("report takes --out FILE.pdf FILE.dat... [--bnk FILE.bnk] [--worker TEXT] "
                       "[--site TEXT] [--job TEXT] [--criteria LIST] [--shift HOURS] "
                       "[--exclude FILE:A-B:REASON]... [--overwrite]");
    // The report's own options; the rest are the assessment's.
    const QStringList own{QStringLiteral("--out"), QStringLiteral("--bnk"),
                          QStringLiteral("--worker"), QStringLiteral("--site"),
                          QStringLiteral("--job")};
    QHash<QString, QString> values;
    bool overwrite = false;
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--overwrite")) {
            overwrite = true;
        } else if (own.contains(a)) {
            if (i + 1 >= args.size())
                return wrongArguments(err, a + QStringLiteral(" needs a value; ") + usage);
            if (values.contains(a))
                return wrongArguments(err, a + QStringLiteral(" is given twice"));
            values.insert(a, args.at(++i));
        } else {
            rest << a;
            // A value of the assessment's options is never taken for one of ours.
            if ((a == QLatin1String("--criteria") || a == QLatin1String("--shift") ||
                 a == QLatin1String("--exclude")) &&
                i + 1 < args.size())
                rest << args.at(++i);
        }
    }
    const QString pdf = values.value(QStringLiteral("--out"));
    if (pdf.isEmpty())
        return wrongArguments(err, QStringLiteral("--out FILE.pdf is needed; ") + usage);

    AssessRequest request;
    if (const int code = readAssessRequest(err, rest, usage, request); code != Exit::kOk)
        return code;
    if (const int code = checkNewFile(err, pdf, overwrite); code != Exit::kOk)
        return code;

    std::optional<ShiftReport::Banks> banks;
    if (values.contains(QStringLiteral("--bnk"))) {
        const QString path = values.value(QStringLiteral("--bnk"));
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
    particulars.worker = values.value(QStringLiteral("--worker"));
    particulars.site = values.value(QStringLiteral("--site"));
    particulars.job = values.value(QStringLiteral("--job"));
    particulars.printed = QDateTime::currentDateTime();
    ShiftReport shiftReport(std::move(sources), request.inputs, particulars);
    if (!shiftReport.result().ok()) {
        err << "dosemeter-cli: " << shiftReport.result().message << "\n";
        return Exit::kNoAnswer;
    }
    if (banks)
        shiftReport.setBanks(*banks);
    if (const QString problem = shiftReport.writePdf(pdf); !problem.isEmpty()) {
        err << "dosemeter-cli: " << pdf << " cannot be written: " << problem << "\n";
        return Exit::kFailed;
    }
    out << pdf << "\n";
    return Exit::kOk;
}

} // namespace cli
