#pragma once

// The shift report's preview ("Noise Exposure Report"): the worker, site and job typed
// above the pages, the pages at a readable size fitted to the width, then "Print..." or
// "Export PDF...". The pages are the ones `dosemeter-cli report` writes for the same
// files and options.

#include "report/ShiftReport.h"

#include <QDialog>

#include <memory>

class Dialogs;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

class ShiftReportPreview : public QDialog {
    Q_OBJECT
public:
    ShiftReportPreview(Dialogs &dialogs, std::unique_ptr<ShiftReport> report,
                       QWidget *parent = nullptr);
    ~ShiftReportPreview() override;

    const ShiftReport &report() const { return *report_; }

    // Control events.
    void particularsEdited();
    void printReport();
    void exportPdf();

private:
    Dialogs &dialogs_;
    std::unique_ptr<ShiftReport> report_;
    std::unique_ptr<QPrinter> printer_;
    QLineEdit *workerEdit_ = nullptr;
    QLineEdit *siteEdit_ = nullptr;
    QLineEdit *jobEdit_ = nullptr;
    QPrintPreviewWidget *pages_ = nullptr;
    QPushButton *printButton_ = nullptr;
    QPushButton *exportButton_ = nullptr;
};
