#include "library/MeasurementReader.h"

#include "analysis/ExposureStatistics.h"
#include "analysis/RecordLevels.h"
#include "averaging/AvgFile.h"
#include "banks/BankFile.h"
#include "banks/BankGrid.h"
#include "data/DatFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int kLevelColumn = 3;
const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Bank grid rows (BankGrid::captions()).
enum BankRow {
    UsedRow = 1,
    CriterionRow = 2,
    ThresholdRow = 3,
    ExchangeRow = 4,
    WeightingRow = 5,
    StartDateRow = 8,
    StartTimeRow = 9,
    StopTimeRow = 10,
};

QString label(const QString &name)
{
    return name.isEmpty()
               ? QCoreApplication::translate("MeasurementReader", "The file")
               : QCoreApplication::translate("MeasurementReader", "The file %1").arg(name);
}

std::optional<int> leadingInteger(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d{1,3})"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

std::optional<int> laeqOf(const RecordTable &records)
{
    const ExposureStatistics figures = ExposureStatistics::compute(records);
    if (!figures.ok())
        return std::nullopt;
    return int(figures.laeqTenths);
}

// "YYYY-MM-DD hh:mm:ss" of a stamp in tenths of a second from Julian day 0 (tenths dropped).
QString stampText(qint64 tenths)
{
    constexpr qint64 kTenthsPerDay = 24 * 3600 * 10;
    const QDate day = QDate::fromJulianDay(tenths / kTenthsPerDay);
    const QTime clock = QTime(0, 0).addSecs(int(tenths % kTenthsPerDay / 10));
    return QDateTime(day, clock, Qt::UTC).toString(kStampFormat);
}

// A measurement's span, the one definition for every file of records. Each record stands
// for one period (the median step of the stamps, as the assessment counts it) that ends at
// its stamp: the logger stamps its first sample one interval after the run's start, and
// an averaging run each interval at its end. So a measurement starts one period before its
// first record's stamp, ends at its last record's and lasts records x period: a logger run
// of 480 one-minute samples begun at 07:30 starts at 07:30 and lasts 08:00:00, as the
// logger and the assessment say. Without a period (one record) it starts where it ends.
void recordSpan(const RecordTable &records, Measurement &m)
{
    const std::vector<qint64> stamps = RecordLevels::stampsTenths(records);
    const auto first = std::find_if(stamps.begin(), stamps.end(),
                                    [](qint64 t) { return t != RecordLevels::kNoStamp; });
    if (first == stamps.end())
        return;
    const auto last = std::find_if(stamps.rbegin(), stamps.rend(),
                                   [](qint64 t) { return t != RecordLevels::kNoStamp; });
    const qint64 period = RecordLevels::medianStepTenths(records).value_or(0);
    m.start = stampText(std::max<qint64>(0, *first - period));
    m.end = stampText(*last);
}

// A level cell as the main window shows it rather than as the logger keeps it.
bool shownLevel(QByteArrayView cell)
{
    if (cell == "----" || cell == " OL ")
        return true;
    // "094.5": the display's three digits with a leading zero; the logger drops that zero.
    return cell.size() == 5 && cell[0] == '0' && cell[4] != '.' && cell[3] == '.';
}

Measurement::Kind gridKind(const RecordTable &records)
{
    for (int r = 0; r < records.recordCount(); ++r) {
        if (shownLevel(records.cellBytes(r, kLevelColumn)))
            return Measurement::Kind::List;
    }
    return Measurement::Kind::Run;
}

QString readData(const QByteArray &bytes, const QString &name, Measurement &m,
                 const MeasurementReader::Known &known, bool keepIncomplete)
{
    const DatFile::Content content = DatFile::parse(bytes, name);
    if (!content.ok())
        return content.error;
    if (content.incomplete && !keepIncomplete)
        return QCoreApplication::translate("MeasurementReader", "%1 was not stored: %2.")
            .arg(label(name),
                 DatFile::incompleteText(content.table.recordCount(), QStringLiteral("readable")));
    // The readers skip the heading line; a file of ours always has it.
    const QByteArray first = bytes.left(bytes.indexOf('\n')).trimmed();
    const QByteArray heading = RecordTable::recordHeadings().join(QLatin1Char('\t')).toLatin1();
    if (first != heading && first != '"' + heading + "\t\"")
        return QCoreApplication::translate(
                   "MeasurementReader", "%1 is not a data file: its first line is not the heading "
                                        "\"No.s, Date, Time, dBA\".")
            .arg(label(name));
    if (content.form == DatFile::Form::Recording)
        m.kind = Measurement::Kind::Recording;
    else
        m.kind = known.kind && *known.kind != Measurement::Kind::Recording
                     ? *known.kind
                     : gridKind(content.table);
    m.records = content.table.recordCount();
    recordSpan(content.table, m);
    m.laeqTenths = laeqOf(content.table);
    QStringList notes;
    for (const QString &note : content.notes) {
        if (!note.trimmed().isEmpty())
            notes << note;
    }
    m.notes = notes.join(QLatin1Char('\n'));
    return {};
}

// The date of a bank's "mm-dd" in the latest year that does not put it after `reference`.
QDate bankDate(const QString &monthDay, const QDate &reference)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2})-(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(monthDay);
    if (!match.hasMatch() || !reference.isValid())
        return {};
    const int month = match.captured(1).toInt();
    const int day = match.captured(2).toInt();
    // 29 February waits for a leap year.
    for (int year = reference.year(); year > reference.year() - 8; --year) {
        const QDate date(year, month, day);
        if (date.isValid() && date <= reference)
            return date;
    }
    return {};
}

QString readBanks(const QByteArray &bytes, const QString &name, Measurement &m,
                  const MeasurementReader::Known &known)
{
    // A bank file is text: a control byte other than TAB and the line ends makes it none.
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7f)
            return QCoreApplication::translate("MeasurementReader",
                                               "%1 is not a bank file: it holds binary data.")
                .arg(label(name));
    }
    const BankFile::Content content = BankFile::layoutOf(bytes) == BankFile::Layout::Toolbar
                                          ? BankFile::parseToolbar(bytes, name)
                                          : BankFile::parseMenu(bytes, name);
    if (!content.ok())
        return content.error.isEmpty()
                   ? QCoreApplication::translate("MeasurementReader",
                                                 "%1 could not be read as a bank file.")
                         .arg(label(name))
                   : content.error;
    BankGrid grid;
    BankFile::Texts texts;
    BankFile::load(content, grid, texts);
    m.kind = Measurement::Kind::Banks;
    m.worker = MeasurementReader::oneLine(texts.name);
    m.site = MeasurementReader::oneLine(texts.address);
    if (!texts.company.trimmed().isEmpty())
        m.notes = QStringLiteral("Company: ") + texts.company;

    const QDate reference =
        (known.reference.isValid() ? known.reference : QDateTime::currentDateTime()).date();
    QDateTime first;
    QDateTime last;
    QList<std::optional<int>> criteria, thresholds, exchanges;
    QStringList responses;
    for (int bank = 1; bank < BankGrid::kColumns; ++bank) {
        if (grid.cell(UsedRow, bank).trimmed() != QLatin1String("Used"))
            continue;
        ++m.records;
        criteria << leadingInteger(grid.cell(CriterionRow, bank));
        thresholds << leadingInteger(grid.cell(ThresholdRow, bank));
        exchanges << leadingInteger(grid.cell(ExchangeRow, bank));
        responses << grid.cell(WeightingRow, bank).trimmed();
        const QDate date = bankDate(grid.cell(StartDateRow, bank), reference);
        const QTime start =
            QTime::fromString(grid.cell(StartTimeRow, bank).trimmed(), QStringLiteral("HH:mm"));
        const QTime stop =
            QTime::fromString(grid.cell(StopTimeRow, bank).trimmed(), QStringLiteral("HH:mm"));
        if (!date.isValid() || !start.isValid())
            continue;
        const QDateTime begin(date, start, Qt::UTC);
        if (!first.isValid() || begin < first)
            first = begin;
        if (stop.isValid()) {
            // A stop earlier than the start is on the next day.
            const QDateTime finish(stop < start ? date.addDays(1) : date, stop, Qt::UTC);
            if (!last.isValid() || finish > last)
                last = finish;
        }
    }
    m.start = first.isValid() ? first.toString(kStampFormat) : QString();
    m.end = last.isValid() ? last.toString(kStampFormat) : QString();
    // The banks' settings stand for the measurement only where every bank in use agrees.
    const auto agreed = [](const QList<std::optional<int>> &values) -> std::optional<int> {
        if (values.isEmpty() || values.count(values.first()) != values.size())
            return std::nullopt;
        return values.first();
    };
    m.criterionDb = agreed(criteria);
    m.thresholdDb = agreed(thresholds);
    m.exchangeRateDb = agreed(exchanges);
    if (!responses.isEmpty() && responses.count(responses.first()) == responses.size() &&
        (responses.first() == QLatin1String("Fast") || responses.first() == QLatin1String("Slow")))
        m.response = responses.first();
    return {};
}

QString readAverage(const QByteArray &bytes, const QString &name, Measurement &m)
{
    const AvgFile::Content content = AvgFile::parse(bytes, name);
    if (!content.read || !content.ok())
        return content.error.isEmpty()
                   ? QCoreApplication::translate("MeasurementReader",
                                                 "%1 could not be read as an average file.")
                         .arg(label(name))
                   : content.error;
    const auto header = [&content](AvgFile::Field field) {
        return content.header[size_t(field)].value_or(QString());
    };
    m.kind = Measurement::Kind::Average;
    m.job = MeasurementReader::oneLine(header(AvgFile::Job));
    m.worker = MeasurementReader::oneLine(header(AvgFile::Name));
    if (!header(AvgFile::Id).trimmed().isEmpty())
        m.notes = QStringLiteral("ID: ") + header(AvgFile::Id);
    m.criterionDb = leadingInteger(header(AvgFile::Criterion));
    m.exchangeRateDb = leadingInteger(header(AvgFile::Exchange));
    m.records = content.records.recordCount();
    // The run starts as its header says; it ends with its last interval.
    Measurement span;
    recordSpan(content.records, span);
    m.start = MeasurementReader::stamp(header(AvgFile::StartDate), header(AvgFile::StartTime));
    if (m.start.isEmpty())
        m.start = span.start;
    m.end = span.end.isEmpty() ? m.start : span.end;
    m.laeqTenths = laeqOf(content.records);
    return {};
}

} // namespace

MeasurementReader::Format MeasurementReader::formatOf(const QString &fileName,
                                                      const QByteArray &bytes)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("dat"))
        return Format::Data;
    if (suffix == QLatin1String("bnk"))
        return Format::Banks;
    if (suffix == QLatin1String("avg"))
        return Format::Average;
    if (bytes.startsWith("\"JOB:"))
        return Format::Average;
    // Both bank layouts begin their lines with a TAB; data files never do.
    if (bytes.startsWith('\t'))
        return Format::Banks;
    return Format::Data;
}

MeasurementReader::Reading MeasurementReader::read(const QByteArray &bytes, const QString &fileName,
                                                   const Known &known, bool keepIncomplete)
{
    Reading reading;
    Measurement &m = reading.measurement;
    const QString name = QFileInfo(fileName).fileName();
    if (bytes.isEmpty()) {
        reading.error =
            QCoreApplication::translate("MeasurementReader", "%1 is empty.").arg(label(name));
        return reading;
    }
    m.meter = known.meter;
    m.criterionDb = known.criterionDb;
    m.exchangeRateDb = known.exchangeRateDb;
    m.thresholdDb = known.thresholdDb;
    m.response = known.response;
    switch (formatOf(fileName, bytes)) {
    case Format::Data:
        reading.error = readData(bytes, name, m, known, keepIncomplete);
        break;
    case Format::Banks: {
        reading.error = readBanks(bytes, name, m, known);
        break;
    }
    case Format::Average:
        reading.error = readAverage(bytes, name, m);
        if (!m.criterionDb)
            m.criterionDb = known.criterionDb;
        if (!m.exchangeRateDb)
            m.exchangeRateDb = known.exchangeRateDb;
        break;
    }
    if (!reading.ok())
        return reading;
    m.fileName = name;
    m.fileBytes = bytes.size();
    m.contentHash =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    return reading;
}

QString MeasurementReader::stamp(const QString &date, const QString &time)
{
    static const QRegularExpression datePattern(
        QStringLiteral("^\\s*(\\d{4})/(\\d{1,2})/(\\d{1,2})\\s*$"));
    static const QRegularExpression timePattern(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2}):(\\d{1,2})(\\.\\d*)?\\s*$"));
    const QRegularExpressionMatch d = datePattern.match(date);
    const QRegularExpressionMatch t = timePattern.match(time);
    if (!d.hasMatch() || !t.hasMatch())
        return QString();
    const QDate day(d.captured(1).toInt(), d.captured(2).toInt(), d.captured(3).toInt());
    const QTime clock(t.captured(1).toInt(), t.captured(2).toInt(), t.captured(3).toInt());
    if (!day.isValid() || !clock.isValid())
        return QString();
    // Clock readings: no time zone moves them (a local time in a summer-time gap would).
    return QDateTime(day, clock, Qt::UTC).toString(kStampFormat);
}

QString MeasurementReader::oneLine(const QString &text)
{
    QString line = text;
    for (QChar &c : line) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return line;
}
