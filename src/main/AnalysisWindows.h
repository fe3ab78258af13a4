#pragma once

// Opens the analysis windows of a saved record list for the saved-file view: the plot,
// the histograms and the exposure statistics. The view hands over its records as a
// function that returns nullptr once the view is gone; the plot and the statistics copy
// what they need at opening, the histograms read the records again at every recount.

#include "analysis/ExposureAssessment.h"
#include "data/RecordTable.h"
#include "report/ShiftReport.h"

#include <functional>

class Dialogs;
class HistogramWindow;
class MeterWindow;
class MainWindow;
class PlotWindow;
class QWidget;
class StatisticsWindow;
struct AppState;

class AssessmentWindow;
class ShiftReportPreview;

class AnalysisWindows {
public:
    using Records = std::function<const RecordTable *()>;

    AnalysisWindows(MainWindow &panel, AppState &state, Dialogs &dialogs);

    // The records `table` of `window`, for as long as the window is open: nullptr once it
    // closes or is deleted.
    static Records recordsOf(MeterWindow *window, const RecordTable &table);

    // "Plot": the levels plotted beside the main window; a plot already open is replaced.
    // nullptr when the records are gone.
    PlotWindow *openPlot(const Records &records);

    // "0.1 dB" (resolution 0) or "1 dB" (resolution 1): the histogram's opening step. The
    // open histogram window, of either resolution, is closed first, so at most one is
    // open; the new one stands at the top left of the screen. When the records hold no
    // level to count, a message says so and nothing is closed or opened. nullptr then,
    // when the records are gone, or for another resolution.
    HistogramWindow *openHistogram(int resolution, const Records &records);

    // "Statistics": the exposure statistics beside the main window, preset with the
    // meter's last known settings (90 / 5 / 80 for what is not known); an open one is
    // replaced. When no record holds a level, a message says so and nothing opens.
    StatisticsWindow *openStatistics(const Records &records);

    // "Assessment": the exposure assessment of the records beside the main window; `name`
    // names the file in the excluded spans. An open one of the same files comes forward
    // as the user left it, spans and samples kept, and nullptr is returned: nothing new
    // opened. An open one of other files is replaced. When the records cannot be assessed
    // (no level, no readable time stamps), a message says why and nothing opens.
    // "Report..." of the window opens the shift report's preview of its figures, with the
    // file's `notes`.
    AssessmentWindow *openAssessment(const Records &records, const QString &name,
                                     const QStringList &notes = {});
    // The same for records already gathered, from one file or several: `sources` are the
    // files as the report names them, in the order of the assessment's lists.
    AssessmentWindow *openAssessment(ExposureAssessment assessment,
                                     const QList<ShiftReport::Source> &sources);

    // The shift report's preview of what `window` shows for the records of `sources`.
    ShiftReportPreview *openShiftReport(AssessmentWindow *window,
                                        const QList<ShiftReport::Source> &sources);

private:
    QWidget *messageParent() const;

    MainWindow &panel_;
    AppState &state_;
    Dialogs &dialogs_;
};
