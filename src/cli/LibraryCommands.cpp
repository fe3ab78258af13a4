// dosemeter-cli commands on the measurement library: import, list, show, set, export and
// delete, and the storing of the files that download, record, banks and average write.

#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Grammars.h"
#include "cli/OutputFiles.h"

#include "library/Library.h"

#include <QDate>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

namespace {

int failed(QTextStream &err, const QString &reason)
{
    err << "dosemeter-cli: " << reason << "\n";
    return Exit::kFailed;
}

int unknownId(QTextStream &err, qint64 id)
{
    err << "dosemeter-cli: there is no measurement " << id << " in the library\n";
    return Exit::kUsage;
}

// The library named by --library, else the remembered one, else the default file.
// kOk once open; kUsage for a malformed address, kFailed when it cannot be opened.
int openLibrary(QTextStream &err, const QString &text, Library &library)
{
    LibraryLocation location = LibraryLocation::chosen();
    if (!text.isEmpty()) {
        QString error;
        location = LibraryLocation::parse(text, error);
        if (!error.isEmpty())
            return wrongArguments(err, error);
    }
    if (!library.open(location))
        return failed(err, library.errorString());
    return Exit::kOk;
}

std::optional<qint64> parseId(const QString &text)
{
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok || id <= 0)
        return std::nullopt;
    return id;
}

// A TSV cell: a TAB or a line end inside would split the row.
QString cell(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return text;
}

QString number(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QString();
}

int importFiles(QTextStream &out, QTextStream &err, Library &library, const QStringList &files,
                bool keepIncomplete)
{
    int exit = Exit::kOk;
    library.setKeepIncomplete(keepIncomplete);
    for (const QString &path : files) {
        const Library::Import result = library.importFile(path);
        switch (result.outcome) {
        case Library::Import::Outcome::Imported:
            out << "imported: " << result.id << " " << path << "\n";
            break;
        case Library::Import::Outcome::Already:
            out << "already: " << result.id << " " << path << "\n";
            break;
        case Library::Import::Outcome::Failed:
            out.flush();
            failed(err, result.error);
            exit = Exit::kFailed;
            break;
        }
    }
    return exit;
}

Result<LibraryFilter> parseFilter(const QStringList &args)
{
    const Result<Arguments> values =
        parseArguments(grammarOf(QStringLiteral("library list")), args.mid(1));
    if (!values)
        return values.error();
    LibraryFilter filter;
    filter.worker = values->value("--worker");
    filter.site = values->value("--site");
    filter.job = values->value("--job");
    if (values->has("--kind")) {
        filter.kind = Measurement::kindFromName(values->value("--kind"));
        if (!filter.kind)
            return usageError(QStringLiteral("--kind takes run, recording, list, banks or "
                                             "average"));
    }
    for (const auto &[name, date] :
         {std::pair{"--from", &filter.from}, std::pair{"--to", &filter.to}}) {
        if (!values->has(name))
            continue;
        *date = QDate::fromString(values->value(name), QStringLiteral("yyyy-MM-dd"));
        if (!date->isValid())
            return usageError(
                QStringLiteral("%1 takes a date as YYYY-MM-DD").arg(QLatin1String(name)));
    }
    return filter;
}

int list(QTextStream &out, QTextStream &err, Library &library, const LibraryFilter &filter)
{
    const std::optional<QList<Measurement>> found = library.list(filter);
    if (!found)
        return failed(err, library.errorString());
    out << "id\tkind\tstart\tend\trecords\tlaeq\tworker\tsite\tjob\tmeter\tfile\n";
    for (const Measurement &m : *found) {
        out << m.id << '\t' << Measurement::kindName(m.kind) << '\t' << m.start << '\t' << m.end
            << '\t' << m.records << '\t' << m.laeqText() << '\t' << cell(m.worker) << '\t'
            << cell(m.site) << '\t' << cell(m.job) << '\t' << cell(m.meter) << '\t'
            << cell(m.fileName) << '\n';
    }
    return Exit::kOk;
}

int show(QTextStream &out, QTextStream &err, Library &library, qint64 id)
{
    const std::optional<Measurement> found = library.measurement(id);
    if (!found)
        return library.errorString().isEmpty() ? unknownId(err, id)
                                               : failed(err, library.errorString());
    const std::optional<QList<MeasurementSpan>> spans = library.excludedSpans(id);
    if (!spans)
        return failed(err, library.errorString());
    const Measurement &m = *found;
    const std::pair<const char *, QString> fields[] = {
        {"id", QString::number(m.id)},
        {"kind", Measurement::kindName(m.kind)},
        {"start", m.start},
        {"end", m.end},
        {"duration", m.durationText()},
        {"records", QString::number(m.records)},
        {"laeq", m.laeqText()},
        {"meter", m.meter},
        {"criterion", number(m.criterionDb)},
        {"exchange-rate", number(m.exchangeRateDb)},
        {"threshold", number(m.thresholdDb)},
        {"response", m.response},
        {"worker", m.worker},
        {"site", m.site},
        {"job", m.job},
    };
    for (const auto &[name, value] : fields)
        out << name << ": " << value << "\n";
    for (const QString &note : m.notes.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out << "note: " << cell(note) << "\n";
    out << "file: " << m.fileName << "\n"
        << "bytes: " << m.fileBytes << "\n"
        << "hash: " << m.contentHash << "\n"
        << "stored: " << m.storedAt << "\n";
    for (const MeasurementSpan &span : *spans)
        out << "excluded: " << span.firstRecord << "-" << span.lastRecord << " "
            << cell(span.reason) << "\n";
    return Exit::kOk;
}

int change(QTextStream &err, Library &library, Library::Change result, qint64 id)
{
    switch (result) {
    case Library::Change::Done:
        return Exit::kOk;
    case Library::Change::NotFound:
        return unknownId(err, id);
    case Library::Change::Failed:
        break;
    }
    return failed(err, library.errorString());
}

} // namespace

int library(QTextStream &out, QTextStream &err, const QString &location, const QStringList &args)
{
    const QString command = args.value(0);
    const std::optional<qint64> id = parseId(args.value(1));
    const bool byId = command == QLatin1String("show") || command == QLatin1String("set") ||
                      command == QLatin1String("export") || command == QLatin1String("delete");
    if (byId && !id)
        return wrongArguments(
            err, QStringLiteral("library %1 needs a measurement ID (1 or more)").arg(command));

    // Every argument is checked before the library is opened.
    Library library;
    if (command == QLatin1String("import")) {
        QStringList files = args.mid(1);
        // A data file cut inside its last record (which stats and assess warn of) is kept
        // only when asked for.
        const bool keepIncomplete = files.removeAll(QStringLiteral("--keep-incomplete")) > 0;
        if (files.isEmpty())
            return wrongArguments(err, QStringLiteral("library import needs one FILE or more"));
        if (const int code = openLibrary(err, location, library); code != Exit::kOk)
            return code;
        return importFiles(out, err, library, files, keepIncomplete);
    }
    if (command == QLatin1String("list")) {
        const Result<LibraryFilter> filter = parseFilter(args);
        if (!filter)
            return failed(err, filter.error());
        if (const int code = openLibrary(err, location, library); code != Exit::kOk)
            return code;
        return list(out, err, library, *filter);
    }
    if (command == QLatin1String("show") || command == QLatin1String("delete")) {
        if (args.size() != 2)
            return wrongArguments(err, grammarOf(QStringLiteral("library")).usage);
        if (const int code = openLibrary(err, location, library); code != Exit::kOk)
            return code;
        if (command == QLatin1String("show"))
            return show(out, err, library, *id);
        return change(err, library, library.remove({*id}), *id);
    }
    if (command == QLatin1String("set")) {
        const Grammar &grammar = grammarOf(QStringLiteral("library set"));
        const Result<Arguments> values = parseArguments(grammar, args.mid(2));
        if (!values)
            return failed(err, values.error());
        if (values->given().isEmpty())
            return wrongArguments(err, grammar.usage);
        Library::Labels labels;
        labels.worker = values->optional("--worker");
        labels.site = values->optional("--site");
        labels.job = values->optional("--job");
        if (const int code = openLibrary(err, location, library); code != Exit::kOk)
            return code;
        return change(err, library, library.setLabels(*id, labels), *id);
    }
    if (command == QLatin1String("export")) {
        const Grammar &grammar = grammarOf(QStringLiteral("library export"));
        const Result<Arguments> values = parseArguments(grammar, args.mid(2));
        if (!values)
            return failed(err, values.error());
        const QString path = values->value("--out");
        if (path.isEmpty())
            return wrongArguments(err, grammar.usage);
        const bool overwrite = values->has("--overwrite");
        // The rule of every command that writes a file: an existing one only with
        // --overwrite, never a FIFO, a device or a folder.
        if (const int code = checkNewFile(err, path, overwrite); code != Exit::kOk)
            return code;
        if (const int code = openLibrary(err, location, library); code != Exit::kOk)
            return code;
        if (library.isOwnFile(path))
            return wrongArguments(
                err, QStringLiteral("cannot write %1: it is the library being read").arg(path));
        return change(err, library, library.exportFile(*id, path), *id);
    }
    return wrongArguments(err, grammarOf(QStringLiteral("library")).usage);
}

int checkLibrary(QTextStream &err, const QString &location)
{
    Library library;
    const int code = openLibrary(err, location, library);
    if (code != Exit::kOk)
        err << "dosemeter-cli: nothing was asked of the meter; --no-library writes the files "
               "without keeping them in the library\n";
    return code;
}

int storeKeptFiles(QTextStream &err, const QString &location, const QList<KeptFile> &files)
{
    Library library;
    if (const int code = openLibrary(err, location, library); code != Exit::kOk)
        return Exit::kFailed;
    int exit = Exit::kOk;
    // Quiet when it works: these commands' output stays what scripts already read.
    for (const KeptFile &file : files) {
        const Library::Import result = library.importFile(file.path, file.known);
        if (result.outcome == Library::Import::Outcome::Failed) {
            err << "dosemeter-cli: " << QFileInfo(file.path).fileName()
                << " was written but not stored in the library: " << result.error << "\n";
            exit = Exit::kFailed;
        }
    }
    return exit;
}

} // namespace cli
