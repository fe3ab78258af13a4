#pragma once

// A window's image on paper or in a PDF. The widgets are rendered into a QPicture (their
// drawing commands) and the picture is drawn on a printer at screen resolution, so the
// page shows the window as the screen does while its text stays text: a PDF can be
// searched and copied from. Rendering a widget straight onto a printer would rasterise
// it. The caller hides what must not be printed (a toolbar) before and shows it after.

#include <QPicture>
#include <QString>

class Dialogs;
class QPainter;
class QPrinter;
class QWidget;

namespace WindowImage {

// The drawing commands of `widget` and its children as they show now.
QPicture picture(QWidget *widget);

// Draws the picture on the report template (the printer's document name as the title,
// the print date, the page number), scaled to the page's width, or less where the page
// is not tall enough, keeping its proportions.
void paint(QPainter &painter, QPrinter &printer, const QPicture &picture);

// Prints the image of `widget`, one document per copy. False, with `error`, when the
// printer cannot start.
bool print(QPrinter &printer, QWidget *widget, int copies, QString *error = nullptr);

// The print dialog (on `window`), then the image of `widget`; a failure is reported in a
// message. False when cancelled or failed.
bool printWithDialog(Dialogs &dialogs, QWidget *window, QWidget *widget);

// Writes the image of `widget` as a one-page PDF at `path`. Empty on success, else why
// not; an earlier file at `path` is replaced only on success.
QString exportPdf(QWidget *widget, const QString &path);

// The save dialog for a PDF, then exportPdf; a failure is reported in a message. True
// when written.
bool exportPdfWithDialog(Dialogs &dialogs, QWidget *window, QWidget *widget);

} // namespace WindowImage
