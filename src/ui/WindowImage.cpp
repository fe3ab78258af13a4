#include "ui/WindowImage.h"

#include "ui/Dialogs.h"
#include "ui/NewFilePermissions.h"
#include "ui/ReadablePreview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace WindowImage {

QPicture picture(QWidget *widget)
{
    // A control with the keyboard would draw its caret or its focus frame into the page.
    QPointer<QWidget> focused = QApplication::focusWidget();
    const bool inside = focused && (focused == widget || widget->isAncestorOf(focused));
    if (inside)
        focused->clearFocus();
    QPicture picture;
    QPainter painter(&picture);
    // The window's own panel background stays off the page: paper is white, and the
    // cards, grids and graphs keep the backgrounds they paint themselves.
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    if (inside && focused)
        focused->setFocus(Qt::OtherFocusReason);
    // What a picture records of text does not widen its bounds: the image is the widget.
    picture.setBoundingRect(QRect(QPoint(), widget->size()));
    return picture;
}

ReportPage::Header titleHeader(const QString &title)
{
    return {title.isEmpty() ? QStringLiteral("Dose Meter") : title, {ReportPage::printDateField()}};
}

void paint(QPainter &painter, QPrinter &printer, const QPicture &picture,
           const ReportPage::Header &header)
{
    const QRectF body = ReportPage::paintSinglePage(painter, printer, header);
    const QRect bounds = picture.boundingRect();
    if (bounds.isEmpty() || body.isEmpty())
        return;
    // The image as wide as the page, unless that would make it taller than the page.
    const double scale = std::min(body.width() / bounds.width(), body.height() / bounds.height());
    painter.save();
    painter.translate(body.topLeft());
    painter.scale(scale, scale);
    painter.drawPicture(-bounds.topLeft(), picture);
    painter.restore();
}

bool print(QPrinter &printer, const QPicture &picture, const ReportPage::Header &header, int copies,
           QString *error)
{
    copies = std::max(1, copies);
    // Each copy is a document of its own; the printer must not multiply them again.
    printer.setCopyCount(1);
    QPainter painter;
    // A PDF file holds one document: there the copies follow one another, a page each.
    const bool oneDocument = printer.outputFormat() == QPrinter::PdfFormat;
    for (int copy = 0; copy < copies; ++copy) {
        if (!painter.isActive() && !painter.begin(&printer)) {
            if (error)
                *error = QStringLiteral("The printer could not be started.");
            return false;
        }
        if (copy > 0 && oneDocument)
            printer.newPage();
        paint(painter, printer, picture, header);
        if (!oneDocument)
            painter.end();
    }
    if (painter.isActive())
        painter.end();
    return true;
}

bool printWithDialog(Dialogs &dialogs, QWidget *window, const QPicture &picture,
                     const ReportPage::Header &header)
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(header.title);
    if (!dialogs.print(window, printer))
        return false;
    QString error;
    if (print(printer, picture, header, printer.copyCount(), &error))
        return true;
    dialogs.inform(window, error, Dialogs::Icon::Critical);
    return false;
}

QString exportPdf(const QPicture &picture, const ReportPage::Header &header, const QString &path)
{
    const QFileInfo target(path);
    // Written beside the target first, so that a failure leaves an earlier file whole.
    QTemporaryFile temporary(target.absoluteDir().filePath(QStringLiteral(".XXXXXX.pdf")));
    if (!temporary.open())
        return temporary.errorString();
    temporary.close();
    {
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary.fileName());
        printer.setDocName(header.title);
        printer.setCreator(QStringLiteral("Dose Meter"));
        QString error;
        if (!print(printer, picture, header, 1, &error))
            return error;
    }
    if (QFileInfo(temporary.fileName()).size() == 0)
        return QStringLiteral("nothing could be written");
    // A temporary file is private to its owner: the export takes the permissions of the
    // file it replaces, or those a new file takes.
    const bool permitted =
        QFileInfo::exists(path)
            ? QFile::setPermissions(temporary.fileName(), QFile::permissions(path))
            : NewFilePermissions::apply(temporary.fileName());
    if (!permitted)
        return QStringLiteral("its permissions could not be set");
    // rename() replaces the earlier file in one step, so it is never lost on the way.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return QStringLiteral("the file could not be put in place");
    temporary.setAutoRemove(false);
    return QString();
}

bool exportPdfWithDialog(Dialogs &dialogs, QWidget *window, const QPicture &picture,
                         const ReportPage::Header &header)
{
    const QString path =
        dialogs.saveFileName(window, QStringLiteral("Export PDF"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    const QString error = exportPdf(picture, header, path);
    if (error.isEmpty())
        return true;
    dialogs.inform(
        window,
        QStringLiteral("%1 could not be written: %2.").arg(QFileInfo(path).fileName(), error),
        Dialogs::Icon::Critical);
    return false;
}

QPrintPreviewDialog *openPreview(QWidget *window, const QPicture &picture,
                                 const ReportPage::Header &header)
{
    // At screen resolution, as printing does, so the page looks the same in both.
    auto printer = std::make_shared<QPrinter>(QPrinter::ScreenResolution);
    printer->setDocName(header.title);
    auto *dialog = new QPrintPreviewDialog(printer.get(), window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("PrintPreview"));
    // The connection keeps the printer for as long as the dialog lives.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [printer, picture, header](QPrinter *target) {
                         QPainter painter(target);
                         paint(painter, *target, picture, header);
                     });
    ReadablePreview::apply(dialog);
    dialog->open();
    return dialog;
}

} // namespace WindowImage
