#pragma once

// The averaging report: the header values and every average record as lines of text
// in a serif font, printed once per copy, previewed, or written as a PDF file.

#include "averaging/AvgFile.h"

#include <QFont>
#include <QString>
#include <QStringList>

class Dialogs;
class QPrintPreviewDialog;
class QWidget;

namespace AverageReport {

// Index of the first record line in lines(): the records follow four blank lines, 11
// header lines in four groups with three empty lines between, and two heading lines.
inline constexpr int kFirstRecordLine = 20;
// Left-aligned widths of the record columns No.s, Date, Time and dBA, in characters.
inline constexpr int kColumnWidths[4] = {8, 12, 14, 12};

// "Times New Roman" at 12 points; where it is missing, the system's serif font.
QFont reportFont();

// The report's lines. Every line but the four blank ones at the top and the three empty
// ones between the header groups starts with "-" and 20 blanks. A cell as wide as its
// column or wider is printed whole and followed by one blank.
QStringList lines(const AvgFile::Document &document);

// The print command: the print dialog, the printer note, then one document per copy.
// While it prints, `window`'s caption shows "N printed" after record N; afterwards its
// own caption again. A printer that cannot start is reported in a message. True when
// printed.
bool print(Dialogs &dialogs, QWidget *window, const AvgFile::Document &document);

// A print preview window (not modal, deleted when closed) from which the report can also
// be printed.
QPrintPreviewDialog *preview(QWidget *window, const AvgFile::Document &document);

// Writes the report as a PDF file (one copy). Empty on success, else the reason; a
// failed write leaves an existing file untouched.
QString writePdf(const QString &path, const AvgFile::Document &document,
                 const QString &title = QString());
// Asks for a file name ("PDF (*.pdf)") and writes the PDF; a failure is reported in a
// message. True when written.
bool exportPdf(Dialogs &dialogs, QWidget *window, const AvgFile::Document &document);

} // namespace AverageReport
