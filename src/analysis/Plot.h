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

class Plot : public MeterWindow {
    Q_OBJECT
public:
    static constexpr int kLevelColumn = 3; // the grid's "dBA" column

    // Opens on the records' levels: fields X 1..N and Y 68..140, the same axes, track
    // mode "Normal".
    Plot(Meter &meter, Dialogs &dialogs, const RecordTable &records, QWidget *parent = nullptr);

    // What the fields hold now.
    GraphRange fields() const;
    const TrackMode &trackMode() const;
    bool cursorShown() const;
    QPointF cursorPosition() const;

    // Control events.
    void Combo1_Click();
    void AxisField_Change();
    void CmdReset_Click();
    void CmdPrint_Click();
    void CmdPreview_Click();
    void CmdPdf_Click();

private:
    void buildControls();
    void setTrackMode(const TrackMode &mode);
    void placeCursor(const QPointF &position);
    void cursorMouse(QMouseEvent *event, bool pressed);
    void zoomTo(const QRect &pixels);

    PlotColumn series_;
    bool cursorDragging_ = false;

    QFrame *FrmGraphic = nullptr;
    QFrame *SSFrame4 = nullptr;
    QFrame *SSFrame3 = nullptr;
    QFrame *SSFrame2 = nullptr;
    std::array<NumberField *, 3> AxisMin{};
    std::array<NumberField *, 3> AxisMax{};
    QComboBox *Combo1 = nullptr;
    QLabel *txtDescription = nullptr;
    QLabel *XPosition = nullptr;
    QLabel *YPosition = nullptr;
    QPushButton *CmdReset = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdPreview = nullptr;
    QPushButton *CmdPdf = nullptr;
    VectorPlot *CWGraph1 = nullptr;
    QCPGraph *trace_ = nullptr;
    QCPItemTracer *cursor1_ = nullptr;
    QCPItemTracer *cursorPoint_ = nullptr;
};
