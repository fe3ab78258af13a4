#pragma once

// A window's image on paper or in a PDF, on the page template of our reports (title and
// particulars at the top, "Page 1 of 1" at the foot). The widgets are rendered into a
// QPicture (their drawing commands) and the picture is drawn on a printer at screen
// resolution, so the page shows the window as the screen does while its text stays text:
// a PDF can be searched and copied from. Rendering a widget straight onto a printer would
// rasterise it. The caller hides what must not be printed (a toolbar, cursor lines)
// while it takes the picture.

#include "ui/ReportPage.h"

#include <QPicture>
#include <QString>

class Dialogs;
class QPainter;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace WindowImage {

// The drawing commands of `widget` and its children as they show now, without the
// caret or the focus frame of a control that has the keyboard.
QPicture picture(QWidget *widget);

// A header of `title` and the print date, for an image that shows no measurement file.
ReportPage::Header titleHeader(const QString &title);

// Draws the picture under `header`, scaled to the page's width, or less where the page
// is not tall enough, keeping its proportions.
void paint(QPainter &painter, QPrinter &printer, const QPicture &picture,
           const ReportPage::Header &header);

// Prints the picture, one document per copy. False, with `error`, when the printer
// cannot start.
bool print(QPrinter &printer, const QPicture &picture, const ReportPage::Header &header, int copies,
           QString *error = nullptr);

// The print dialog (on `window`), then the picture; a failure is reported in a message.
// False when cancelled or failed.
bool printWithDialog(Dialogs &dialogs, QWidget *window, const QPicture &picture,
                     const ReportPage::Header &header);

// Writes the picture as a one-page PDF at `path`. Empty on success, else why not; an
// earlier file at `path` is replaced only on success.
QString exportPdf(const QPicture &picture, const ReportPage::Header &header, const QString &path);

// The save dialog for a PDF, then exportPdf; a failure is reported in a message. True
// when written.
bool exportPdfWithDialog(Dialogs &dialogs, QWidget *window, const QPicture &picture,
                         const ReportPage::Header &header);

// A print preview of the page, owned by `window`, not modal and deleted when closed; it
// can print the page too.
QPrintPreviewDialog *openPreview(QWidget *window, const QPicture &picture,
                                 const ReportPage::Header &header);

} // namespace WindowImage
