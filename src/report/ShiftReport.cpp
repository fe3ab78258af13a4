#include "report/ShiftReport.h"

#include "analysis/RecordLevels.h"

#include <ProgramVersion.h>

#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

const char *const ShiftReport::kTitle = "Noise Exposure Report";

namespace {

constexpr qint64 kTenthsPerDay = 864000;

// "name: value" lines as a map; the value as the line has it.
QHash<QString, QString> figureMap(const QStringList &lines)
{
    QHash<QString, QString> map;
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon > 0)
            map.insert(line.left(colon), line.mid(colon + 2));
    }
    return map;
}

QString stampText(qint64 tenths)
{
    const QDate day = QDate::fromJulianDay(tenths / kTenthsPerDay);
    const QTime time = QTime(0, 0).addMSecs(int((tenths % kTenthsPerDay) * 100));
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss"));
}

// A figure with its unit; a figure the assessment has none of (no TWA of a zero dose)
// is a dash.
QString withUnit(const QString &value, const QString &unit)
{
    return value.isEmpty() ? QStringLiteral("-") : value + QLatin1Char(' ') + unit;
}

} // namespace

ShiftReport::ShiftReport(QList<Source> sources, const ExposureAssessment::Inputs &inputs,
                         const Particulars &particulars)
    : sources_(std::move(sources)), particulars_(particulars)
{
    for (const Source &source : std::as_const(sources_))
        assessment_.addRecords(source.name, source.table);
    result_ = assessment_.assess(inputs);
    figures_ = figureMap(result_.lines());

    // The distribution counts what the assessment used: excluded records are left out.
    RecordTable used;
    for (int list = 0; list < sources_.size(); ++list) {
        const RecordTable &table = sources_.at(list).table;
        history_.addList(table, assessment_.levels(list));
        std::vector<bool> excluded(size_t(table.recordCount()), false);
        for (const AssessmentResult::Span &span : std::as_const(result_.spans)) {
            if (span.span.list != list)
                continue;
            history_.addExcluded(list, span.span.first, span.span.last, span.span.reason);
            for (int r = span.span.first; r <= span.span.last && r <= table.recordCount(); ++r)
                excluded[size_t(r - 1)] = true;
        }
        for (int r = 0; r < table.recordCount(); ++r) {
            if (excluded[size_t(r)])
                continue;
            const QByteArrayView cell = table.cellBytes(r, RecordLevels::kLevelColumn);
            counts_.add(cell);
            used.appendRecordBytes({QByteArrayView(), QByteArrayView(), QByteArrayView(), cell});
        }
    }
    const ExposureStatistics statistics = ExposureStatistics::compute(used);
    if (statistics.ok())
        levels_ = figureMap(statistics.lines());
}

QString ShiftReport::figure(const QString &name) const
{
    return figures_.value(name);
}

ReportPage::Header ShiftReport::header() const
{
    QStringList files;
    for (const Source &source : sources_)
        files << QFileInfo(source.name).fileName();
    const QString unknown = QStringLiteral("not recorded in the files");
    ReportPage::Header header;
    header.title = QString::fromLatin1(kTitle);
    header.fields = {
        {QStringLiteral("Worker"), particulars_.worker},
        {QStringLiteral("Site"), particulars_.site},
        {QStringLiteral("Job or task"), particulars_.job},
        {QStringLiteral("Meter ID"),
         particulars_.meterId.isEmpty() ? unknown : particulars_.meterId},
        {QStringLiteral("Start"),
         history_.isEmpty() ? QString() : stampText(history_.firstTenths())},
        {QStringLiteral("End"), history_.isEmpty() ? QString() : stampText(history_.lastTenths())},
        {QStringLiteral("Files"), files.join(QStringLiteral(", "))},
        {QStringLiteral("Date printed"),
         particulars_.printed.toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
        {QStringLiteral("Program"), QStringLiteral("Dose Meter ") + QLatin1String(kProgramVersion)},
    };
    return header;
}

int ShiftReport::paint(QPagedPaintDevice &device) const
{
    return ReportPage::paint(device, header(), [this](ReportPage &page) { drawBody(page); });
}

void ShiftReport::drawBody(ReportPage &page) const
{
    drawResults(page);
    drawTimeHistory(page);
    drawDistribution(page);
    drawSpansAndNotes(page);
    drawIso(page);
    drawBanks(page);
    drawMethod(page);
    drawSignature(page);
}

QString ShiftReport::writePdf(const QString &path) const
{
    return ReportPage::writePdf(
        path, header(), [this](ReportPage &page) { drawBody(page); }, kPdfDpi);
}

void ShiftReport::drawResults(ReportPage &page) const
{
    page.heading(QStringLiteral("Results"));
    // Where overloads are among the records used, the level stood above the meter's range
    // for part of them: the energy figures are lower bounds, as the window shows them and
    // the advisory below says by how much.
    const auto bounded = [this](const QString &text) {
        return result_.overloads > 0 && text != QLatin1String("-")
                   ? QStringLiteral("\u2265 ") + text
                   : text;
    };
    QList<QStringList> rows;
    for (const AssessmentResult::Dose &dose : result_.doses) {
        const QString &name = dose.set.name;
        rows << QStringList{
            QStringLiteral("%1 (Lc %2 dB, Q %3 dB, Lt %4 dB)")
                .arg(name)
                .arg(dose.set.criterionDb)
                .arg(dose.set.exchangeRateDb)
                .arg(QLocale::c().toString(dose.set.thresholdDb, 'g', 4)),
            bounded(withUnit(figure(name + QStringLiteral(".dose")), QStringLiteral("%"))),
            bounded(withUnit(figure(name + QStringLiteral(".twa")), QStringLiteral("dB"))),
            bounded(
                withUnit(figure(name + QStringLiteral(".projected-dose")), QStringLiteral("%"))),
            bounded(
                withUnit(figure(name + QStringLiteral(".projected-twa")), QStringLiteral("dB")))};
    }
    page.table({QStringLiteral("Criterion set"), QStringLiteral("Dose"), QStringLiteral("TWA"),
                QStringLiteral("Projected dose"), QStringLiteral("Projected TWA")},
               rows, {3.2, 1, 1, 1.3, 1.3});
    page.skip(3.0);

    QList<QStringList> figures{
        {QStringLiteral("LAeq,T"),
         bounded(withUnit(figure(QStringLiteral("laeq")), QStringLiteral("dB")))},
        {QStringLiteral("LEX,8h"),
         bounded(withUnit(figure(QStringLiteral("lex8h")), QStringLiteral("dB")))},
        {QStringLiteral("EU status"), figure(QStringLiteral("eu-status"))},
        {QStringLiteral("Max"), withUnit(figure(QStringLiteral("max")), QStringLiteral("dB"))},
    };
    for (const AssessmentResult::TimeAbove &above : result_.timeAbove)
        figures << QStringList{QStringLiteral("Time at or above %1 dB").arg(above.levelDb),
                               withUnit(figure(QStringLiteral("time-above-%1").arg(above.levelDb)),
                                        QStringLiteral("h:min:s"))};
    figures << QStringList{QStringLiteral("Measured time T"),
                           withUnit(figure(QStringLiteral("measured")), QStringLiteral("h:min:s"))}
            << QStringList{QStringLiteral("Shift length Te"),
                           withUnit(figure(QStringLiteral("shift")), QStringLiteral("h:min:s"))}
            << QStringList{QStringLiteral("Coverage T / Te"), figure(QStringLiteral("coverage"))}
            << QStringList{QStringLiteral("Records (excluded, without a level)"),
                           QStringLiteral("%1 (%2, %3)")
                               .arg(figure(QStringLiteral("records")),
                                    figure(QStringLiteral("excluded")),
                                    figure(QStringLiteral("skipped")))}
            << QStringList{QStringLiteral("Overloads, under range"),
                           QStringLiteral("%1, %2").arg(figure(QStringLiteral("overloads")),
                                                        figure(QStringLiteral("under-range")))};
    page.table({QStringLiteral("Figure"), QStringLiteral("Value")}, figures, {3, 2});
    // The caveats assess prints (overloads, a low coverage, several shifts), beside the
    // figures they qualify.
    const QLatin1String advisory("advisory: ");
    for (const QString &line : result_.lines()) {
        if (line.startsWith(advisory))
            page.paragraph(QStringLiteral("Advisory: ") + line.mid(advisory.size()));
    }
}

void ShiftReport::drawTimeHistory(ReportPage &page) const
{
    if (history_.isEmpty())
        return;
    const double height = 80.0 * page.unitsPerMm();
    page.heading(QStringLiteral("Time history"), height);
    const QRectF area = page.reserve(height);
    if (QPainter *painter = page.painter()) {
        painter->setFont(page.font(ReportPage::kBodyPoints));
        history_.draw(*painter, area, page.unitsPerMm());
    }
}

void ShiftReport::drawDistribution(ReportPage &page) const
{
    int low = -1;
    int high = -1;
    for (int db = 0; db <= LevelCounts::kWholeDbTop; ++db) {
        if (counts_.WholeDbCounts[size_t(db)] == 0)
            continue;
        if (low < 0)
            low = db;
        high = db;
    }
    if (low < 0)
        return;
    const double mm = page.unitsPerMm();
    const double height = 60.0 * mm;
    page.heading(QStringLiteral("Distribution (1 dB classes)"), height);
    const QRectF area = page.reserve(height);
    if (QPainter *painter = page.painter()) {
        painter->save();
        QFont font = page.font(7.0);
        painter->setFont(font);
        const QFontMetricsF metrics(font, painter->device());
        const QRectF plot =
            area.adjusted(12.0 * mm, 2.0 * mm, -10.0 * mm, -metrics.height() - 2.0 * mm);
        qint64 total = 0;
        qint64 most = 1;
        for (int db = low; db <= high; ++db) {
            total += counts_.WholeDbCounts[size_t(db)];
            most = std::max(most, counts_.WholeDbCounts[size_t(db)]);
        }
        const double topPercent =
            std::max(5.0, std::ceil(100.0 * double(most) / double(total) / 5.0) * 5.0);
        const int classes = high - low + 1;
        const double barWidth = plot.width() / classes;
        for (int db = low; db <= high; ++db) {
            const double percent =
                100.0 * double(counts_.WholeDbCounts[size_t(db)]) / double(total);
            const double h = percent / topPercent * plot.height();
            painter->fillRect(QRectF(plot.left() + (db - low) * barWidth, plot.bottom() - h,
                                     std::max(barWidth * 0.85, 0.1 * mm), h),
                              QColor(20, 60, 150));
            if (db % 5 == 0 || classes <= 12)
                painter->drawText(QRectF(plot.left() + (db - low - 2) * barWidth,
                                         plot.bottom() + mm, barWidth * 5, metrics.height()),
                                  Qt::AlignHCenter | Qt::AlignTop, QString::number(db));
        }
        for (double p = 0.0; p <= topPercent + 0.01; p += topPercent / 5.0) {
            const double y = plot.bottom() - p / topPercent * plot.height();
            painter->setPen(QPen(QColor(190, 190, 190), 0.1 * mm));
            painter->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            painter->setPen(Qt::black);
            painter->drawText(
                QRectF(area.left(), y - metrics.height() / 2, 11.0 * mm, metrics.height()),
                Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 %").arg(p, 0, 'f', 0));
        }
        painter->setPen(QPen(Qt::black, 0.2 * mm));
        painter->drawRect(plot);
        painter->drawText(
            QRectF(plot.right() + mm, plot.bottom() - metrics.height(), 9.0 * mm, metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("dB"));
        painter->restore();
    }
    if (!levels_.isEmpty())
        page.paragraph(QStringLiteral("L10: %1 dB    L50: %2 dB    L90: %3 dB")
                           .arg(levels_.value(QStringLiteral("l10")),
                                levels_.value(QStringLiteral("l50")),
                                levels_.value(QStringLiteral("l90"))));
}

void ShiftReport::drawSpansAndNotes(ReportPage &page) const
{
    page.skip(3.0);
    page.heading(QStringLiteral("Excluded spans"));
    if (result_.spans.isEmpty()) {
        page.paragraph(QStringLiteral("None: every record was used."));
    } else {
        QList<QStringList> rows;
        for (const AssessmentResult::Span &span : result_.spans)
            rows << QStringList{QFileInfo(span.list).fileName(),
                                QStringLiteral("%1-%2").arg(span.span.first).arg(span.span.last),
                                span.span.reason};
        page.table({QStringLiteral("File"), QStringLiteral("Records"), QStringLiteral("Reason")},
                   rows, {2, 1, 3});
    }
    page.skip(3.0);
    page.heading(QStringLiteral("Notes"));
    bool any = false;
    for (const Source &source : sources_) {
        QStringList notes;
        for (const QString &note : source.notes) {
            if (!note.trimmed().isEmpty())
                notes << note;
        }
        if (notes.isEmpty())
            continue;
        any = true;
        page.paragraph(QFileInfo(source.name).fileName() + QLatin1Char(':'), true);
        for (const QString &note : std::as_const(notes))
            page.paragraph(note);
    }
    if (!any)
        page.paragraph(QStringLiteral("The files hold no notes."));
}

void ShiftReport::drawIso(ReportPage &page) const
{
    if (!iso_ || !iso_->ok())
        return;
    page.skip(3.0);
    page.heading(QStringLiteral("ISO 9612"));
    static const QHash<QString, std::pair<QString, QString>> labels{
        {QStringLiteral("strategy"), {QStringLiteral("Strategy"), QString()}},
        {QStringLiteral("samples"), {QStringLiteral("Samples"), QString()}},
        {QStringLiteral("laeq"), {QStringLiteral("LAeq,Te"), QStringLiteral("dB")}},
        {QStringLiteral("lex8h"), {QStringLiteral("LEX,8h"), QStringLiteral("dB")}},
        {QStringLiteral("u1"), {QStringLiteral("u1"), QStringLiteral("dB")}},
        {QStringLiteral("c1u1"), {QStringLiteral("c1u1"), QStringLiteral("dB")}},
        {QStringLiteral("u2"), {QStringLiteral("u2 (instrument)"), QStringLiteral("dB")}},
        {QStringLiteral("u3"), {QStringLiteral("u3 (microphone position)"), QStringLiteral("dB")}},
        {QStringLiteral("u"), {QStringLiteral("Combined uncertainty u"), QStringLiteral("dB")}},
        {QStringLiteral("U"), {QStringLiteral("Expanded uncertainty U"), QStringLiteral("dB")}},
        {QStringLiteral("upper"), {QStringLiteral("Upper value LEX,8h + U"), QStringLiteral("dB")}},
    };
    QList<QStringList> rows;
    QStringList advisories;
    for (const QString &line : iso_->lines()) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        const QString name = line.left(colon);
        const QString value = line.mid(colon + 2);
        if (name == QLatin1String("advisory")) {
            advisories << value;
        } else if (name.startsWith(QLatin1String("task "))) {
            rows << QStringList{QStringLiteral("Task ") + name.mid(5), value};
        } else {
            const auto label = labels.value(name, {name, QString()});
            rows << QStringList{label.first,
                                label.second.isEmpty() ? value : withUnit(value, label.second)};
        }
    }
    page.table({QStringLiteral("Figure"), QStringLiteral("Value")}, rows, {3, 2});
    for (const QString &advisory : std::as_const(advisories))
        page.paragraph(QStringLiteral("Advisory: ") + advisory);
}

void ShiftReport::drawBanks(ReportPage &page) const
{
    if (!banks_)
        return;
    page.skip(3.0);
    page.heading(QStringLiteral("Bank results (%1)").arg(QFileInfo(banks_->fileName).fileName()));
    QStringList headings{QString()};
    for (int bank = 1; bank < BankGrid::kColumns; ++bank)
        headings << BankGrid::heading(bank).trimmed();
    QList<QStringList> rows;
    for (int row = 1; row < banks_->grid.rowCount(); ++row) {
        QStringList cells{banks_->grid.cell(row, 0)};
        for (int bank = 1; bank < BankGrid::kColumns; ++bank)
            cells << banks_->grid.cell(row, bank);
        rows << cells;
    }
    page.table(headings, rows, {2.4, 1, 1, 1, 1, 1});
    const BankFile::Texts &texts = banks_->texts;
    if (!QString(texts.name + texts.address + texts.company).trimmed().isEmpty())
        page.paragraph(QStringLiteral("Name: %1    Address: %2    Company: %3")
                           .arg(texts.name, texts.address, texts.company));
}

void ShiftReport::drawMethod(ReportPage &page) const
{
    page.skip(3.0);
    page.heading(QStringLiteral("Method"));
    QStringList names;
    for (const AssessmentResult::Dose &dose : result_.doses)
        names << dose.set.name;
    QString text =
        QStringLiteral("Doses and TWAs by the criterion sets %1, each from its criterion level "
                       "Lc, exchange rate Q and threshold Lt, measured over T and projected to "
                       "the shift Te. LAeq,T is the energy mean of the records used; LEX,8h = "
                       "LAeq,T + 10 lg(Te / 8 h). The EU status compares LEX,8h with the lower "
                       "and upper exposure action values (80 and 85 dB) and the exposure limit "
                       "value (87 dB) of Directive 2003/10/EC, here on the level without "
                       "hearing protection.")
            .arg(names.join(QStringLiteral(", ")));
    if (iso_ && iso_->ok()) {
        const QString instrument =
            iso_->instrument == Iso9612::Instrument::Class1   ? QStringLiteral("a class 1 sound "
                                                                                 "level meter")
            : iso_->instrument == Iso9612::Instrument::Class2 ? QStringLiteral("a class 2 sound "
                                                                               "level meter")
                                                              : QStringLiteral("a personal sound "
                                                                               "exposure meter");
        const QString strategy =
            iso_->strategy == Iso9612::Strategy::Task  ? QStringLiteral("task-based")
            : iso_->strategy == Iso9612::Strategy::Job ? QStringLiteral("job-based")
                                                       : QStringLiteral("full-day");
        text += QStringLiteral(" The ISO 9612 section follows ISO 9612:2009, %1 measurement, "
                               "with %2 assumed (u2 %3 dB). U is the expanded uncertainty: the "
                               "true LEX,8h is below LEX,8h + U with 95 % confidence.")
                    .arg(strategy, instrument, QLocale::c().toString(iso_->u2Db, 'f', 1));
    }
    page.paragraph(text);
}

void ShiftReport::drawSignature(ReportPage &page) const
{
    const double mm = page.unitsPerMm();
    page.skip(8.0);
    const QRectF area = page.reserve(14.0 * mm);
    QPainter *painter = page.painter();
    if (!painter)
        return;
    painter->save();
    painter->setFont(page.font(ReportPage::kBodyPoints));
    painter->setPen(QPen(Qt::black, 0.2 * mm));
    const double lineY = area.top() + 9.0 * mm;
    const double split = area.width() * 0.65;
    painter->drawLine(QPointF(area.left(), lineY), QPointF(split - 6.0 * mm, lineY));
    painter->drawLine(QPointF(split, lineY), QPointF(area.right(), lineY));
    const double textTop = lineY + 0.5 * mm;
    painter->drawText(QRectF(area.left(), textTop, split, 5.0 * mm), Qt::AlignLeft,
                      QStringLiteral("Signature of the person responsible"));
    painter->drawText(QRectF(split, textTop, area.width() - split, 5.0 * mm), Qt::AlignLeft,
                      QStringLiteral("Date"));
    painter->restore();
}
