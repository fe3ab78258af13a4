// bench-analysis: how long the histogram counting and the exposure statistics take for
// a day of one-second records (86,400), the largest recording a shift produces, how long
// the plot takes to draw itself again after a zoom and during a pan, and how long each
// analysis window takes to open. The records are read from a generated ".dat" file as
// "View File" reads them; the figures are the median of the runs. The windows are drawn
// offscreen unless QT_QPA_PLATFORM says otherwise.
//
//   bench-analysis [--repeat N]   (default 21)

#include "BenchRecords.h"

#include "analysis/ExposureStatistics.h"
#include "analysis/HistogramState.h"
#include "analysis/HistogramWindow.h"
#include "analysis/LevelHistogram.h"
#include "analysis/PlotWindow.h"
#include "analysis/StatisticsWindow.h"
#include "data/DatFile.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <qcustomplot.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kRecords = 86400;

// A day of records as a grid-form file.
QByteArray dayOfRecords()
{
    return DatFile::gridBytes(benchRecords(kRecords), {});
}

template <typename Work> double medianMilliseconds(int repeat, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Lets the window draw what it was asked to.
void settle()
{
    QApplication::processEvents();
}

// The plot window's drawing times: a zoom to a tenth of the records (from "Reset Scale"
// each time), and each step of a pan drag.
struct PlotTimes {
    double fullReplot = 0;
    double zoom = 0;
    double pan = 0;
};

PlotTimes plotTimes(PlotWindow &plot, int repeat)
{
    PlotTimes times;
    auto *graph = plot.findChild<QCustomPlot *>("graph");
    auto *modes = plot.findChild<QComboBox *>("trackModeChoice");
    auto *reset = plot.findChild<QPushButton *>("resetScaleButton");
    const QRect area = graph->axisRect()->rect();
    const auto at = [&area](double fx, double fy) {
        return area.topLeft() + QPoint(int(area.width() * fx), int(area.height() * fy));
    };
    times.fullReplot =
        medianMilliseconds(repeat, [&] { graph->replot(QCustomPlot::rpImmediateRefresh); });

    modes->setCurrentIndex(6); // ZoomX
    std::vector<double> zooms;
    for (int i = 0; i < repeat; ++i) {
        reset->click();
        settle();
        const QPoint from = at(0.40, 0.5);
        const QPoint to = at(0.50, 0.5);
        QTest::mousePress(graph, Qt::LeftButton, {}, from);
        QTest::mouseMove(graph, to);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
        settle();
        zooms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(zooms.begin(), zooms.end());
    times.zoom = zooms[zooms.size() / 2];

    // Panning a zoomed view of a few thousand records, one mouse step at a time.
    modes->setCurrentIndex(2); // PanXY
    QPoint position = at(0.5, 0.5);
    QTest::mousePress(graph, Qt::LeftButton, {}, position);
    std::vector<double> steps;
    for (int i = 0; i < repeat; ++i) {
        position += QPoint(i % 2 == 0 ? 7 : -5, i % 3 == 0 ? 3 : -2);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseMove(graph, position);
        settle();
        steps.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    QTest::mouseRelease(graph, Qt::LeftButton, {}, position);
    std::sort(steps.begin(), steps.end());
    times.pan = steps[steps.size() / 2];
    return times;
}

// Creating and showing a window until it has drawn itself.
template <typename Open> double openMilliseconds(int repeat, Open open)
{
    return medianMilliseconds(repeat, [&] {
        std::unique_ptr<QWidget> window = open();
        window->show();
        settle();
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says at every window that it cannot pass size hints on.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QLatin1String("propagateSizeHints")))
                standard(type, context, message);
        });
    QApplication app(argc, argv);
    QTextStream out(stdout);
    int repeat = 21;
    const QStringList args = app.arguments();
    if (const int i = int(args.indexOf(QStringLiteral("--repeat"))); i > 0 && i + 1 < args.size())
        repeat = std::max(1, args.at(i + 1).toInt());

    const DatFile::Content content = DatFile::parse(dayOfRecords());
    const RecordTable &table = content.table;
    if (!content.ok() || table.recordCount() != kRecords) {
        out << "the generated file did not read back: " << content.error << "\n";
        return 1;
    }

    qint64 counted = 0;
    const double histogram = medianMilliseconds(repeat, [&] {
        HistogramState state;
        const LevelHistogram::Opening opening =
            LevelHistogram::open(table, LevelHistogram::Resolution::TenthDb, state);
        counted = opening.counts.TenthDbCounts[680];
    });
    ExposureStatistics statistics;
    const double stats = medianMilliseconds(repeat, [&] {
        statistics = ExposureStatistics::compute(table, ExposureStatistics::Settings());
    });

    SystemClock clock;
    VirtualMeter vm;
    VirtualMeterLink link(vm, clock);
    MeterState meterState;
    Meter meter(link, clock, meterState);
    ScriptedDialogs dialogs;
    const int windowRepeat = std::max(1, repeat / 4);

    const double plotOpen = openMilliseconds(
        windowRepeat, [&] { return std::make_unique<PlotWindow>(meter, dialogs, table); });
    PlotWindow plot(meter, dialogs, table);
    plot.show();
    settle();
    const PlotTimes drawing = plotTimes(plot, repeat);

    HistogramState histogramState;
    const auto openHistogram = [&](LevelHistogram::Resolution resolution) {
        return openMilliseconds(windowRepeat, [&] {
            auto window = std::make_unique<HistogramWindow>(
                meter, dialogs, histogramState, resolution, [&table] { return &table; });
            window->showOpening(LevelHistogram::open(table, resolution, histogramState));
            return window;
        });
    };
    const double tenthOpen = openHistogram(LevelHistogram::Resolution::TenthDb);
    const double wholeOpen = openHistogram(LevelHistogram::Resolution::WholeDb);
    const double statisticsOpen = openMilliseconds(windowRepeat, [&] {
        return std::make_unique<StatisticsWindow>(meter, dialogs, table,
                                                  ExposureStatistics::Settings());
    });

    out << "records: " << table.recordCount() << "\n"
        << "histogram counting (opening step, both resolutions): "
        << QString::number(histogram, 'f', 2) << " ms (goal <= 20 ms)\n"
        << "statistics (with dose): " << QString::number(stats, 'f', 2) << " ms (goal <= 20 ms)\n"
        << "plot, all records drawn: " << QString::number(drawing.fullReplot, 'f', 2) << " ms\n"
        << "plot, zoom to a tenth of the records, drawn: " << QString::number(drawing.zoom, 'f', 2)
        << " ms (goal <= 30 ms)\n"
        << "plot, one step of a pan, drawn: " << QString::number(drawing.pan, 'f', 2)
        << " ms (goal <= 30 ms)\n"
        << "open Plot: " << QString::number(plotOpen, 'f', 1) << " ms\n"
        << "open Histogram (0.1 dB, counting included): " << QString::number(tenthOpen, 'f', 1)
        << " ms\n"
        << "open the 1 dB histogram (counting included): " << QString::number(wholeOpen, 'f', 1)
        << " ms\n"
        << "open Statistics: " << QString::number(statisticsOpen, 'f', 1) << " ms\n"
        << "check: " << counted << " under range, laeq " << statistics.laeqTenths / 10.0
        << " dB, dose " << statistics.dosePercent.value_or(0.0) << " %\n";
    return 0;
}
