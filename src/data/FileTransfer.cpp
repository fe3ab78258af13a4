#include "data/FileTransfer.h"

#include "data/DatFile.h"
#include "data/FileState.h"
#include "data/ReportLayout.h"
#include "link/Decoders.h"
#include "ui/Dialogs.h"
#include "ui/ReadablePreview.h"
#include "ui/ReportPrinter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

namespace FileTransfer {

namespace {

// The title line of a record list's print: the list's window caption (its file name).
QString gridReportTitle(QWidget *window)
{
    const QString caption = window ? window->windowTitle() : QString();
    return caption.isEmpty() ? QStringLiteral("Record list")
                             : QStringLiteral("Record list: ") + caption;
}

// The wait cursor for the length of a file or print operation.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

QStringList printerNoteLines()
{
    return {
        QCoreApplication::translate("FileTransfer", "Note"),
        QCoreApplication::translate("FileTransfer",
                                    "The effect of the properties of the Printer settings"),
        QCoreApplication::translate("FileTransfer",
                                    "depends on the driver supplied by the printer manufacturer."),
        QCoreApplication::translate(
            "FileTransfer", "Some property settings may have no effect, or several different "
                            "property settings"),
        QCoreApplication::translate(
            "FileTransfer", "may all have the same effect. Settings outside the accepted range "
                            "may or may not produce an error."),
        QCoreApplication::translate(
            "FileTransfer", "For more information, see the manufacturer's documentation for the "
                            "specific driver.")};
}

bool chooseDataFile(Dialogs &dialogs, FileState &files, QWidget *parent)
{
    const QString name = dialogs.saveFileName(parent, QStringLiteral("Save As"), kDataFileFilter);
    files.FileChosen = !name.isEmpty();
    if (files.FileChosen)
        files.CurrentFileName = name;
    return files.FileChosen;
}

bool saveGrid(Dialogs &dialogs, QWidget *parent, const QString &path, const RecordTable &table,
              const QStringList &notes)
{
    QString error;
    {
        BusyCursor busy;
        error = DatFile::save(path, DatFile::gridBytes(table, notes));
    }
    if (error.isEmpty())
        return true;
    dialogs.message(
        parent, QString(),
        QCoreApplication::translate("FileTransfer",
                                    "%1 could not be saved: %2.\nAn earlier file of that name is "
                                    "unchanged.")
            .arg(QFileInfo(path).fileName(), error),
        Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return false;
}

std::optional<int> askRecordsPerLine(Dialogs &dialogs, QWidget *parent)
{
    for (;;) {
        const std::optional<QString> answer = dialogs.input(
            parent, QString(),
            QCoreApplication::translate("FileTransfer", kRecordsPerLinePrompt.toUtf8().constData()),
            QStringLiteral("1"));
        if (!answer || answer->trimmed().isEmpty())
            return std::nullopt;
        const double n = leadingNumber(*answer);
        if (n >= 1.0 && n <= 5.0)
            return int(n);
    }
}

bool printGrid(Dialogs &dialogs, QWidget *window, const RecordTable &table,
               const QStringList &notes)
{
    const QString caption = window ? window->windowTitle() : QString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(gridReportTitle(window));
    if (!dialogs.print(window, printer))
        return false;
    dialogs.message(window, QString(), printerNoteLines().join(QChar(13)), Dialogs::Icon::None,
                    Dialogs::Buttons::Ok);
    const int copies = printer.copyCount();
    const std::optional<int> perLine = askRecordsPerLine(dialogs, window);
    if (!perLine)
        return false;
    const QStringList lines = ReportLayout::gridReport(table, notes, *perLine);
    QString error;
    bool printed = false;
    {
        BusyCursor busy;
        printed = ReportPrinter::print(printer, lines, copies, &error);
    }
    if (window)
        window->setWindowTitle(caption);
    if (!printed)
        dialogs.message(window, QString(), error, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return printed;
}

QPrintPreviewDialog *previewGrid(Dialogs &dialogs, QWidget *window, const RecordTable &table,
                                 const QStringList &notes)
{
    const std::optional<int> perLine = askRecordsPerLine(dialogs, window);
    if (!perLine)
        return nullptr;
    const QStringList lines = ReportLayout::gridReport(table, notes, *perLine);
    auto *preview = new QPrintPreviewDialog(window);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setObjectName(QStringLiteral("PrintPreview"));
    preview->printer()->setDocName(gridReportTitle(window));
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [lines](QPrinter *printer) {
                         QPainter painter(printer);
                         ReportPrinter::paint(painter, *printer, lines);
                     });
    ReadablePreview::apply(preview);
    preview->open();
    return preview;
}

} // namespace FileTransfer
