// The arguments assess and report share, checked, and the files they name.

#include "cli/AssessArguments.h"

#include "cli/Cli.h"
#include "cli/CommandLine.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <cmath>

namespace cli {

namespace {

// The same file, however it was named.
QString fileKey(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

struct Exclusion {
    QString file;
    int first = 0;
    int last = 0;
    QString reason;
};

// FILE:A-B:REASON. The first ":A-B:" ends the file name, so a name may hold colons
// (C:\shift.dat) and so may the reason.
std::optional<Exclusion> exclusion(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(.+?):(\\d{1,9})-(\\d{1,9}):(.*)$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return Exclusion{m.captured(1), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4)};
}

} // namespace

std::optional<double> decimalArgument(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int readAssessRequest(QTextStream &err, const Arguments &arguments, const QString &usage,
                      AssessRequest &request)
{
    QStringList &paths = request.paths;
    paths = arguments.operands();
    request.inputs.suggest = arguments.has("--suggest");
    const std::optional<QString> overloadReason = arguments.optional("--exclude-overloads");
    const bool criteriaGiven = arguments.has("--criteria");
    const QString criteriaText =
        criteriaGiven ? arguments.value("--criteria") : QStringLiteral("osha-pel,osha-hc,niosh");
    const std::optional<QString> shiftText = arguments.optional("--shift");
    QList<Exclusion> exclusions;
    for (const QString &value : arguments.values("--exclude")) {
        const std::optional<Exclusion> e = exclusion(value);
        if (!e)
            return wrongArguments(err, QStringLiteral("--exclude takes FILE:A-B:REASON, "
                                                      "such as shift.dat:120-240:lunch break"));
        exclusions << *e;
    }
    if (paths.isEmpty())
        return wrongArguments(err, QStringLiteral("no data file given; ") + usage);

    ExposureAssessment::Inputs &inputs = request.inputs;
    QSet<QString> names;
    for (const QString &name : criteriaText.split(QLatin1Char(','))) {
        QString problem;
        const std::optional<CriterionSet> set = CriterionSet::parse(name, &problem);
        if (!set)
            return wrongArguments(err, problem);
        if (names.contains(name))
            return wrongArguments(err, QStringLiteral("--criteria names %1 twice").arg(name));
        names.insert(name);
        inputs.criteria << *set;
    }
    if (shiftText) {
        const std::optional<double> hours = decimalArgument(*shiftText);
        if (!hours || !(*hours >= ExposureAssessment::kMinShiftHours &&
                        *hours <= ExposureAssessment::kMaxShiftHours))
            return wrongArguments(err, QStringLiteral("--shift is the shift length in hours, "
                                                      "0.5 to 24"));
        inputs.shiftHours = *hours;
    }
    for (const Exclusion &e : std::as_const(exclusions)) {
        if (e.reason.trimmed().isEmpty())
            return wrongArguments(err, QStringLiteral("--exclude %1:%2-%3 needs a reason after "
                                                      "the records")
                                           .arg(e.file)
                                           .arg(e.first)
                                           .arg(e.last));
    }

    ExposureAssessment &assessment = request.assessment;
    QStringList keys;
    for (const QString &path : std::as_const(paths)) {
        std::optional<DatFile::Content> content = readDataFile(err, path);
        if (!content)
            return Exit::kFailed;
        const QString key = fileKey(path);
        if (keys.contains(key))
            return wrongArguments(err, QStringLiteral("%1 is given twice: its records would "
                                                      "count twice")
                                           .arg(path));
        keys << key;
        assessment.addRecords(path, content->table);
        request.files << std::move(*content);
    }
    for (const Exclusion &e : std::as_const(exclusions)) {
        int list = int(paths.indexOf(e.file));
        if (list < 0)
            list = int(keys.indexOf(fileKey(e.file)));
        if (list < 0)
            return wrongArguments(
                err,
                QStringLiteral("--exclude names %1, which is not among the files").arg(e.file));
        const ExcludedSpan span{list, e.first, e.last, e.reason};
        const QString problem = assessment.spanProblem(span);
        if (!problem.isEmpty())
            return wrongArguments(err, QStringLiteral("--exclude: ") + problem);
        inputs.excluded << span;
    }
    if (overloadReason)
        inputs.excluded << assessment.overloadSpans(*overloadReason);
    return Exit::kOk;
}

} // namespace cli
