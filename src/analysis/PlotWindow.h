#pragma once

// The plot window ("Plot"): the levels of a saved record list as a line over the record
// number, with the "Graph Range" fields, the eight track modes (plain, cursor read-out,
// pan and rectangle zoom in X, Y or both), "Reset Scale" and the graph's print, preview
// and PDF. The plot is a copy of the records' level column at opening; the window keeps
// nothing else of the list.
//
// Control arrays are named with their item: AxisMin1 and AxisMax1 hold the X range
// (records, "No.s"), AxisMin2 and AxisMax2 the Y range ("dB").

#include "analysis/GraphRange.h"
#include "analysis/TrackMode.h"
#include "data/PlotColumn.h"
#include "ui/MeterWindow.h"
#include "ui/ReportPage.h"

#include <QPicture>
#include <QPointF>

#include <array>

class NumberField;
class QCPGraph;
class QCPItemTracer;
class QComboBox;
class QFrame;
class QLabel;
class QMouseEvent;
class QPushButton;
class RecordTable;
class VectorPlot;

class PlotWindow : public MeterWindow {
    Q_OBJECT
public:
    static constexpr int kLevelColumn = 3; // the grid's "dBA" column

    // Opens on the records' levels: fields X 1..N and Y 68..140, the same axes, track
    // mode "Normal".
    PlotWindow(Meter &meter, Dialogs &dialogs, const RecordTable &records,
               QWidget *parent = nullptr);

    // What the fields hold now.
    GraphRange fields() const;
    const TrackMode &trackMode() const;
    bool cursorShown() const;
    QPointF cursorPosition() const;

    // Control events.
    void chooseTrackMode();
    void applyRange();
    void resetScale();
    void printGraph();
    void previewGraph();
    void exportPdf();

private:
    void buildControls();
    void setTrackMode(const TrackMode &mode);
    void placeCursor(const QPointF &position);
    void cursorMouse(QMouseEvent *event, bool pressed);
    // The Graph Range fields show the graph's range (after a zoom, a pan or a reset).
    void showRangeInFields();
    void zoomTo(const QRect &pixels);
    QPicture printedImage();
    ReportPage::Header printedHeader() const;

    PlotColumn series_;
    bool cursorDragging_ = false;

    QFrame *graphFrame_ = nullptr;
    QFrame *rangeFrame_ = nullptr;
    QFrame *trackFrame_ = nullptr;
    QFrame *buttonFrame_ = nullptr;
    std::array<NumberField *, 3> minimumFields_{};
    std::array<NumberField *, 3> maximumFields_{};
    QComboBox *trackModeChoice_ = nullptr;
    QLabel *trackModeDescription_ = nullptr;
    QLabel *cursorX_ = nullptr;
    QLabel *cursorY_ = nullptr;
    QPushButton *resetScaleButton_ = nullptr;
    QPushButton *printButton_ = nullptr;
    QPushButton *previewButton_ = nullptr;
    QPushButton *pdfButton_ = nullptr;
    VectorPlot *graph_ = nullptr;
    QCPGraph *trace_ = nullptr;
    QCPItemTracer *cursor1_ = nullptr;
    QCPItemTracer *cursorPoint_ = nullptr;
};
