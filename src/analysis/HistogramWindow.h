#pragma once

// The histogram windows, both captioned "Histogram": TenthDbHistogram counts the levels of
// the saved-file grid in 0.1 dB steps, WholeDbHistogram in 1 dB steps. X is the level ("dBA"), Y
// the number of records ("Frequency (Times)"). The limit panel recounts a range of
// records and sets the level range shown; the toolbar prints the graph, previews it and
// exports it as PDF. LevelHistogram does the counting; this window shows what it returns.
//
// Control arrays are named with their item: AxisMin1 and AxisMax1 hold the record range
// ("No.s"), AxisMin2 and AxisMax2 the level range ("dB").

#include "analysis/GraphRange.h"
#include "analysis/LevelHistogram.h"
#include "ui/MeterWindow.h"
#include "ui/ReportPage.h"

#include <array>
#include <functional>

class NumberField;
class QAction;
class QCPGraph;
class QFrame;
class QLabel;
class QPushButton;
class QToolBar;
class RecordTable;
class VectorPlot;
struct HistogramState;

class HistogramWindow : public MeterWindow {
    Q_OBJECT
public:
    using Resolution = LevelHistogram::Resolution;
    // The saved-file window's records, read at every recount; nullptr once that window is
    // gone.
    using Records = std::function<const RecordTable *()>;

    // "TenthDbHistogram" for 0.1 dB steps, "WholeDbHistogram" for 1 dB steps.
    static const char *windowName(Resolution resolution);

    HistogramWindow(Meter &meter, Dialogs &dialogs, HistogramState &state, Resolution resolution,
                    Records records, QWidget *parent = nullptr);

    // The end of the opening step: with HistLoading set, the fields, the X axis and the
    // counts of `opening` (LevelHistogram::open()), which must have succeeded.
    void showOpening(const LevelHistogram::Opening &opening);

    Resolution resolution() const { return resolution_; }
    GraphRange fields() const;
    // The counts drawn now.
    const LevelCounts &counts() const { return counts_; }

    // Control events. The toolbar's keys: "Limit", "Print", "Preview", "PDF".
    void runToolbarCommand(const QString &key);
    void applyRange();
    void applyLimits();

private:
    void buildControls();
    // The limit change; true when the records were counted again and drawn.
    bool changeLimits();
    void draw(const AxisRange &xAxis);
    ReportPage::Header printedHeader() const;

    HistogramState &state_;
    const Resolution resolution_;
    Records records_;
    LevelCounts counts_;

    QToolBar *toolbar_ = nullptr;
    QFrame *limitsPanel_ = nullptr;
    QFrame *rangeFrame_ = nullptr;
    std::array<NumberField *, 3> minimumFields_{};
    std::array<NumberField *, 3> maximumFields_{};
    QPushButton *okButton_ = nullptr;
    QLabel *limitsHint_ = nullptr;
    VectorPlot *graph_ = nullptr;
    QCPGraph *bins_ = nullptr;
};
