#pragma once

// The exposure statistics window ("Statistics", caption "Exposure Statistics"): the
// figures of ExposureStatistics for a record list, with the criterion level, exchange
// rate and threshold the dose is computed with; changing one computes the figures again.
// The figures can be copied as text (the lines `dosemeter-cli stats` prints, after the
// settings) and printed, previewed or saved as PDF as a short report.
//
// The window keeps its own copy of the records (it shares their text until either side
// changes), so its figures can be computed again after the saved-file window is gone.

#include "analysis/ExposureStatistics.h"
#include "analysis/FigureCards.h"
#include "data/RecordTable.h"
#include "ui/MeterWindow.h"
#include "ui/ReportPage.h"

#include <QStringList>

class NumberField;
class QComboBox;
class QPushButton;

class StatisticsWindow : public MeterWindow {
    Q_OBJECT
public:
    StatisticsWindow(Meter &meter, Dialogs &dialogs, const RecordTable &records,
                     const ExposureStatistics::Settings &settings, QWidget *parent = nullptr);

    ExposureStatistics::Settings settings() const;
    const ExposureStatistics &figures() const { return figures_; }
    // What "Copy" puts on the clipboard: the settings' lines, then the figures' lines.
    QString text() const;
    // The printed report on the report template: the settings and the figures' lines.
    ReportPage::Header reportHeader() const;
    ReportPage::Body reportBody() const;

    // Control events.
    void recompute();
    void copyFigures();
    void printReport();
    void previewReport();
    void exportPdf();

private:
    void buildControls();
    void showFigures();

    RecordTable records_;
    ExposureStatistics figures_;
    FigureCards cards_;

    QComboBox *criterionChoice_ = nullptr;
    QComboBox *exchangeRateChoice_ = nullptr;
    NumberField *thresholdField_ = nullptr;
    QPushButton *copyButton_ = nullptr;
    QPushButton *printButton_ = nullptr;
    QPushButton *previewButton_ = nullptr;
    QPushButton *pdfButton_ = nullptr;
};
