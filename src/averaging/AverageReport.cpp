#include "averaging/AverageReport.h"

#include "data/FileTransfer.h"
#include "ui/Dialogs.h"
#include "ui/ReadablePreview.h"
#include "ui/ReportPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

namespace AverageReport {

namespace {

const QString kMargin = QStringLiteral("-") + QString(20, QLatin1Char(' '));
const QString kHeading = QStringLiteral("            Date      Time         dBA");
const QString kRule = QStringLiteral("        ----------  --------      -----");
const QString kFontFamily = QStringLiteral("Times New Roman");
constexpr int kFontPoints = 12;
// The title line at the top of every page; the report's own lines follow it unchanged.
const QString kTitle = QStringLiteral("Averaging report");

// The wait cursor for the length of a print or file operation.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString column(const QString &cell, int width)
{
    // A cell that fills its column keeps one blank before the next, so that two figures
    // never run into one.
    if (cell.size() >= width)
        return cell + QLatin1Char(' ');
    return cell.leftJustified(width, QLatin1Char(' '));
}

void paintReport(QPainter &painter, QPagedPaintDevice &device, const QStringList &lines,
                 const QString &title)
{
    ReportPrinter::paint(painter, device, lines, reportFont(), title);
}

} // namespace

QFont reportFont()
{
    QFont font;
    if (QFontDatabase::families().contains(kFontFamily)) {
        font = QFont(kFontFamily);
    } else {
        font = QFont(QStringLiteral("serif"));
        font.setStyleHint(QFont::Serif);
    }
    font.setPointSize(kFontPoints);
    return font;
}

QStringList lines(const AvgFile::Document &document)
{
    const auto &labels = AvgFile::labels();
    const auto header = [&](AvgFile::Field field) -> QString {
        return kMargin + labels[field] + QStringLiteral(": ") + document.header[field];
    };
    QStringList out(4, QStringLiteral(" "));
    out << header(AvgFile::Job) << header(AvgFile::Name) << header(AvgFile::Id) << QString()
        << header(AvgFile::StartDate) << header(AvgFile::StartTime) << header(AvgFile::Interval)
        << QString() << header(AvgFile::Criterion) << header(AvgFile::Exchange) << QString()
        << header(AvgFile::RunTime) << header(AvgFile::SplMax) << header(AvgFile::Peak);
    out << kMargin + kHeading << kMargin + kRule;
    const RecordTable &records = document.records;
    for (int r = 0; r < records.recordCount(); ++r) {
        QString line = kMargin;
        for (int c = 0; c < 4; ++c)
            line += column(records.cell(r, c), kColumnWidths[c]);
        out << line;
    }
    return out;
}

bool print(Dialogs &dialogs, QWidget *window, const AvgFile::Document &document)
{
    const QString caption = window ? window->windowTitle() : QString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kTitle);
    if (!dialogs.print(window, printer))
        return false;
    dialogs.message(window, QString(), FileTransfer::printerNoteLines().join(QChar(13)),
                    Dialogs::Icon::None, Dialogs::Buttons::Ok);
    const int copies = printer.copyCount();
    const QStringList text = lines(document);
    QString error;
    bool printed = false;
    {
        BusyCursor busy;
        printed =
            ReportPrinter::print(printer, text, copies, reportFont(), &error, [window](int line) {
                if (!window || line < kFirstRecordLine)
                    return;
                window->setWindowTitle(QString::number(line - kFirstRecordLine + 1) +
                                       QStringLiteral(" printed"));
                // Timers go on (the averaging run keeps sampling); clicks wait.
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
    }
    if (window)
        window->setWindowTitle(caption);
    if (!printed)
        dialogs.message(window, QString(), error, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return printed;
}

QPrintPreviewDialog *preview(QWidget *window, const AvgFile::Document &document)
{
    const QStringList text = lines(document);
    auto *dialog = new QPrintPreviewDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("PrintPreview"));
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [text](QPrinter *printer) {
                         QPainter painter(printer);
                         paintReport(painter, *printer, text, kTitle);
                     });
    ReadablePreview::apply(dialog);
    dialog->open();
    return dialog;
}

QString writePdf(const QString &path, const AvgFile::Document &document, const QString &title)
{
    return ReportPrinter::writePdf(path, title, lines(document), reportFont());
}

bool exportPdf(Dialogs &dialogs, QWidget *window, const AvgFile::Document &document)
{
    const QString path =
        dialogs.saveFileName(window, QStringLiteral("Save As PDF"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    QString error;
    {
        BusyCursor busy;
        error = writePdf(path, document, kTitle);
    }
    if (error.isEmpty())
        return true;
    dialogs.message(window, QString(),
                    QStringLiteral("%1 could not be saved: %2.\nAn earlier file of that name is "
                                   "unchanged.")
                        .arg(QFileInfo(path).fileName(), error),
                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return false;
}

} // namespace AverageReport
