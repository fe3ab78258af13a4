#include "ui/WindowImage.h"

#include "ui/Dialogs.h"
#include "ui/NewFilePermissions.h"
#include "ui/ReportPage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace WindowImage {

QPicture picture(QWidget *widget)
{
    QPicture picture;
    QPainter painter(&picture);
    // The window's own panel background stays off the page: paper is white, and the
    // cards, grids and graphs keep the backgrounds they paint themselves.
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    // What a picture records of text does not widen its bounds: the image is the widget.
    picture.setBoundingRect(QRect(QPoint(), widget->size()));
    return picture;
}

void paint(QPainter &painter, QPrinter &printer, const QPicture &picture)
{
    // The page template of our reports: the window's title and the print date at the top,
    // the page number at the foot, margins of at least 18 mm.
    ReportPage::Header header;
    header.title = printer.docName().isEmpty() ? QStringLiteral("Dose Meter") : printer.docName();
    header.fields = {{QStringLiteral("Date printed"),
                      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))}};
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

bool print(QPrinter &printer, QWidget *widget, int copies, QString *error)
{
    const QPicture image = picture(widget);
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
        paint(painter, printer, image);
        if (!oneDocument)
            painter.end();
    }
    if (painter.isActive())
        painter.end();
    return true;
}

bool printWithDialog(Dialogs &dialogs, QWidget *window, QWidget *widget)
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(window ? window->windowTitle() : QString());
    if (!dialogs.print(window, printer))
        return false;
    QString error;
    if (print(printer, widget, printer.copyCount(), &error))
        return true;
    dialogs.inform(window, error, Dialogs::Icon::Critical);
    return false;
}

QString exportPdf(QWidget *widget, const QString &path)
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
        printer.setDocName(widget->window()->windowTitle());
        QString error;
        if (!print(printer, widget, 1, &error))
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

bool exportPdfWithDialog(Dialogs &dialogs, QWidget *window, QWidget *widget)
{
    const QString path =
        dialogs.saveFileName(window, QStringLiteral("Export PDF"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    const QString error = exportPdf(widget, path);
    if (error.isEmpty())
        return true;
    dialogs.inform(
        window,
        QStringLiteral("%1 could not be written: %2.").arg(QFileInfo(path).fileName(), error),
        Dialogs::Icon::Critical);
    return false;
}

} // namespace WindowImage
