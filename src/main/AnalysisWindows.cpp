#include "main/AnalysisWindows.h"

#include "analysis/AssessmentWindow.h"
#include "analysis/ExposureStatistics.h"
#include "analysis/HistogramWindow.h"
#include "analysis/LevelHistogram.h"
#include "analysis/PlotWindow.h"
#include "analysis/StatisticsWindow.h"
#include "main/AppState.h"
#include "main/MainWindow.h"
#include "report/ShiftReportPreview.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QPointer>

AnalysisWindows::AnalysisWindows(MainWindow &panel, AppState &state, Dialogs &dialogs)
    : panel_(panel), state_(state), dialogs_(dialogs)
{
}

AnalysisWindows::Records AnalysisWindows::recordsOf(MeterWindow *window, const RecordTable &table)
{
    return [window = QPointer<MeterWindow>(window), table = &table]() -> const RecordTable * {
        return window && !window->closing() ? table : nullptr;
    };
}

QWidget *AnalysisWindows::messageParent() const
{
    // The saved-file view, whose button asked, is the active window as a rule.
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return &panel_;
}

PlotWindow *AnalysisWindows::openPlot(const Records &records)
{
    const RecordTable *table = records ? records() : nullptr;
    if (!table)
        return nullptr;
    Meter &meter = panel_.meter();
    Dialogs &dialogs = dialogs_;
    return qobject_cast<PlotWindow *>(panel_.windows().open(
        {"PlotWindow", [&meter, &dialogs, table] { return new PlotWindow(meter, dialogs, *table); },
         WindowManager::Placement::BesideMain, WindowManager::Dba::Any, nullptr, true}));
}

HistogramWindow *AnalysisWindows::openHistogram(int resolution, const Records &records)
{
    if (resolution != 0 && resolution != 1)
        return nullptr;
    const RecordTable *table = records ? records() : nullptr;
    if (!table)
        return nullptr;
    const LevelHistogram::Resolution chosen =
        resolution == 0 ? LevelHistogram::Resolution::TenthDb : LevelHistogram::Resolution::WholeDb;
    const LevelHistogram::Opening opening = LevelHistogram::open(*table, chosen, state_.histogram);
    if (!opening.ok()) {
        dialogs_.inform(messageParent(), opening.message, Dialogs::Icon::Information);
        return nullptr;
    }
    WindowManager &windows = panel_.windows();
    for (const auto other :
         {LevelHistogram::Resolution::TenthDb, LevelHistogram::Resolution::WholeDb}) {
        if (QWidget *open = windows.window(QLatin1String(HistogramWindow::windowName(other))))
            open->close();
    }
    Meter &meter = panel_.meter();
    Dialogs &dialogs = dialogs_;
    HistogramState &state = state_.histogram;
    auto *histogram = qobject_cast<HistogramWindow *>(
        windows.open({HistogramWindow::windowName(chosen),
                      [&meter, &dialogs, &state, chosen, records] {
                          return new HistogramWindow(meter, dialogs, state, chosen, records);
                      },
                      WindowManager::Placement::TopLeft, WindowManager::Dba::Any, nullptr, true}));
    if (histogram)
        histogram->showOpening(opening);
    return histogram;
}

StatisticsWindow *AnalysisWindows::openStatistics(const Records &records)
{
    const RecordTable *table = records ? records() : nullptr;
    if (!table)
        return nullptr;
    const ExposureStatistics levels = ExposureStatistics::compute(*table);
    if (!levels.ok()) {
        dialogs_.inform(messageParent(), levels.message, Dialogs::Icon::Information);
        return nullptr;
    }
    Meter &meter = panel_.meter();
    Dialogs &dialogs = dialogs_;
    const ExposureStatistics::Settings settings =
        ExposureStatistics::Settings::fromMeter(meter.state());
    return qobject_cast<StatisticsWindow *>(panel_.windows().open(
        {"StatisticsWindow",
         [&meter, &dialogs, table, settings] {
             return new StatisticsWindow(meter, dialogs, *table, settings);
         },
         WindowManager::Placement::BesideMain, WindowManager::Dba::Any, nullptr, true}));
}

AssessmentWindow *AnalysisWindows::openAssessment(const Records &records, const QString &name,
                                                  const QStringList &notes)
{
    const RecordTable *table = records ? records() : nullptr;
    if (!table)
        return nullptr;
    ExposureAssessment assessment;
    assessment.addRecords(name, *table);
    return openAssessment(std::move(assessment), {{name, *table, notes}});
}

AssessmentWindow *AnalysisWindows::openAssessment(ExposureAssessment assessment,
                                                  const QList<ShiftReport::Source> &sources)
{
    if (auto *open = panel_.windows().window<AssessmentWindow>(QStringLiteral("AssessmentWindow"));
        open && open->assesses(assessment)) {
        open->show();
        open->raise();
        open->activateWindow();
        return nullptr;
    }
    const AssessmentResult levels = assessment.assess({});
    if (!levels.ok()) {
        dialogs_.inform(messageParent(), levels.message, Dialogs::Icon::Information);
        return nullptr;
    }
    Meter &meter = panel_.meter();
    Dialogs &dialogs = dialogs_;
    auto *window = qobject_cast<AssessmentWindow *>(panel_.windows().open(
        {"AssessmentWindow",
         [&meter, &dialogs, &assessment] {
             return new AssessmentWindow(meter, dialogs, std::move(assessment));
         },
         WindowManager::Placement::BesideMain, WindowManager::Dba::Any, nullptr, true}));
    if (!window)
        return nullptr;
    // The report draws what the window was opened with, even after the view is closed.
    QObject::connect(window, &AssessmentWindow::reportRequested, window,
                     [this, window, sources] { openShiftReport(window, sources); });
    return window;
}

ShiftReportPreview *AnalysisWindows::openShiftReport(AssessmentWindow *window,
                                                     const QList<ShiftReport::Source> &sources)
{
    ShiftReport::Particulars particulars;
    particulars.printed = QDateTime::currentDateTime();
    auto report = std::make_unique<ShiftReport>(sources, window->inputs(), particulars);
    if (!report->result().ok())
        return nullptr;
    report->setIso(window->isoResult());
    auto *preview = new ShiftReportPreview(dialogs_, std::move(report), window);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->open();
    return preview;
}
