#include "analysis/Plot.h"

#include "analysis/ImagePreview.h"
#include "analysis/NumberField.h"
#include "analysis/PlotAxes.h"
#include "data/RecordTable.h"
#include "ui/Theme.h"
#include "ui/VectorPlot.h"
#include "ui/WindowImage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

// A rectangle narrower than this in a zoomed direction is a click, not a region.
constexpr int kLeastZoomPixels = 3;

const char *const kCursorLayer = "cursor";

QFrame *frame(const QString &caption, const char *name, QLayout *content)
{
    auto *frame = MeterWindow::named(new QFrame, name);
    frame->setProperty("role", QStringLiteral("card"));
    frame->setAccessibleName(caption);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->addWidget(Theme::caption(caption));
    layout->addLayout(content);
    layout->addStretch(1);
    return frame;
}

QLabel *readout(const char *name, const QString &accessibleName)
{
    QLabel *label = Theme::value();
    label->setProperty("role", QStringLiteral("boxed"));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000000.0")));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return MeterWindow::named(label, name, accessibleName,
                              QStringLiteral("Cursor 1's position, while it is dragged"));
}

} // namespace

Plot::Plot(Meter &meter, Dialogs &dialogs, const RecordTable &records, QWidget *parent)
    : MeterWindow(meter, dialogs, "Plot", QStringLiteral("Plot"), parent),
      series_(PlotColumn::fromTable(records, kLevelColumn))
{
    buildControls();

    for (const TrackMode &mode : TrackMode::all())
        Combo1->addItem(mode.entry);
    Combo1->setCurrentIndex(0);
    Combo1_Click();

    const GraphRange opening = PlotAxes::openingFields(records.recordCount());
    for (int item : {1, 2}) {
        AxisMin[item]->setQuietly(opening.AxisMin[item]);
        AxisMax[item]->setQuietly(opening.AxisMax[item]);
    }
    trace_->setData(series_.x, series_.y, true);
    AxisField_Change();
}

void Plot::buildControls()
{
    CWGraph1 = named(new VectorPlot(this), "CWGraph1", QStringLiteral("Plot"),
                     QStringLiteral("The levels of the records (dB) over the record number"));
    CWGraph1->setMinimumSize(520, 300);
    CWGraph1->setBackground(Qt::white);
    CWGraph1->xAxis->setLabel(QStringLiteral("No.s"));
    CWGraph1->yAxis->setLabel(QStringLiteral("dB"));
    CWGraph1->xAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    CWGraph1->yAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    trace_ = CWGraph1->addGraph();
    // One pixel wide: a wider antialiased line is stroked as an outline, and a day of
    // records would then take seconds instead of milliseconds to draw.
    trace_->setPen(QPen(QColor(0x2f, 0x7d, 0xd1), 1.0));
    trace_->setAdaptiveSampling(true);

    // The cursor on a layer of its own: dragging it redraws the cursor, not the trace.
    CWGraph1->addLayer(QLatin1String(kCursorLayer), CWGraph1->layer(QStringLiteral("main")),
                       QCustomPlot::limAbove);
    CWGraph1->layer(QLatin1String(kCursorLayer))->setMode(QCPLayer::lmBuffered);
    const QPen cursorPen(QColor(0xd6, 0x45, 0x41), 1.0, Qt::DashLine);
    cursor1_ = new QCPItemTracer(CWGraph1);
    cursor1_->setStyle(QCPItemTracer::tsCrosshair);
    cursor1_->setPen(cursorPen);
    cursorPoint_ = new QCPItemTracer(CWGraph1);
    cursorPoint_->setStyle(QCPItemTracer::tsCircle);
    cursorPoint_->setSize(9);
    cursorPoint_->setPen(QPen(QColor(0xd6, 0x45, 0x41), 1.5));
    for (QCPItemTracer *tracer : {cursor1_, cursorPoint_}) {
        tracer->setLayer(QLatin1String(kCursorLayer));
        tracer->setSelectable(false);
        tracer->setVisible(false);
    }

    // Graph Range: the fields' table, items 1 (X, records) and 2 (Y, dB).
    auto *range = new QGridLayout;
    range->addWidget(Theme::caption(QStringLiteral("Min")), 0, 1, Qt::AlignHCenter);
    range->addWidget(Theme::caption(QStringLiteral("Max")), 0, 2, Qt::AlignHCenter);
    const char *const minNames[] = {"", "AxisMin1", "AxisMin2"};
    const char *const maxNames[] = {"", "AxisMax1", "AxisMax2"};
    const QString rows[] = {QString(), QStringLiteral("No.s"), QStringLiteral("dB")};
    for (int item : {1, 2}) {
        const double limit = item == 1 ? 1e8 : 999.9;
        const auto text = [item](double value) { return PlotAxes::fieldText(item, value); };
        AxisMin[item] = named(new NumberField(-limit, limit, PlotAxes::fieldDecimals(item), text),
                              minNames[item]);
        AxisMax[item] = named(new NumberField(-limit, limit, PlotAxes::fieldDecimals(item), text),
                              maxNames[item]);
        const QString axis = item == 1 ? QStringLiteral("X") : QStringLiteral("Y");
        AxisMin[item]->describe(axis + QStringLiteral(" minimum"),
                                QStringLiteral("Lowest %1 shown (%2)").arg(axis, rows[item]));
        AxisMax[item]->describe(axis + QStringLiteral(" maximum"),
                                QStringLiteral("Highest %1 shown (%2)").arg(axis, rows[item]));
        range->addWidget(Theme::caption(rows[item]), item, 0);
        range->addWidget(AxisMin[item], item, 1);
        range->addWidget(AxisMax[item], item, 2);
        connect(AxisMin[item], &QDoubleSpinBox::valueChanged, this, &Plot::AxisField_Change);
        connect(AxisMax[item], &QDoubleSpinBox::valueChanged, this, &Plot::AxisField_Change);
    }
    SSFrame4 = frame(QStringLiteral("Graph Range"), "SSFrame4", range);

    Combo1 = named(new QComboBox, "Combo1", QStringLiteral("Track Mode"),
                   QStringLiteral("What the mouse does on the graph"));
    Combo1->view()->setAccessibleName(QStringLiteral("Track modes"));
    txtDescription = named(new QLabel, "txtDescription");
    txtDescription->setWordWrap(true);
    txtDescription->setMinimumWidth(240);
    txtDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *track = new QVBoxLayout;
    track->addWidget(Combo1);
    track->addWidget(txtDescription, 1);
    SSFrame3 = frame(QStringLiteral("Track Mode"), "SSFrame3", track);

    XPosition = readout("XPosition", QStringLiteral("Cursor X (No.s)"));
    YPosition = readout("YPosition", QStringLiteral("Cursor Y (dB)"));
    auto *cursor = new QGridLayout;
    cursor->addWidget(Theme::caption(QStringLiteral("No.s ( X ) :")), 0, 0);
    cursor->addWidget(XPosition, 0, 1);
    cursor->addWidget(Theme::caption(QStringLiteral("dB ( Y ) :")), 1, 0);
    cursor->addWidget(YPosition, 1, 1);
    SSFrame2 = frame(QStringLiteral("Cursor Information"), "SSFrame2", cursor);

    CmdReset = named(new QPushButton(QStringLiteral("Reset Scale")), "CmdReset");
    CmdPrint = named(new QPushButton(QStringLiteral("Print Graph")), "CmdPrint");
    CmdPreview = named(new QPushButton(QStringLiteral("Preview")), "CmdPreview");
    CmdPdf = named(new QPushButton(QStringLiteral("Export PDF")), "CmdPdf");
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {CmdReset, CmdPrint, CmdPreview, CmdPdf})
        buttons->addWidget(button);
    buttons->addStretch(1);

    FrmGraphic = named(new QFrame, "FrmGraphic");
    FrmGraphic->setAccessibleName(QStringLiteral("Graphic Plot"));
    auto *graphic = new QVBoxLayout(FrmGraphic);
    graphic->setContentsMargins(0, 0, 0, 0);
    graphic->addWidget(Theme::caption(QStringLiteral("Graphic Plot")));
    auto *controls = new QHBoxLayout;
    graphic->addLayout(controls);
    controls->addWidget(SSFrame4);
    controls->addWidget(SSFrame3, 1);
    controls->addWidget(SSFrame2);
    controls->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CWGraph1, 1);
    layout->addWidget(FrmGraphic);
    resize(900, 600);

    connect(Combo1, &QComboBox::currentIndexChanged, this, &Plot::Combo1_Click);
    connect(CmdReset, &QPushButton::clicked, this, &Plot::CmdReset_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &Plot::CmdPrint_Click);
    connect(CmdPreview, &QPushButton::clicked, this, &Plot::CmdPreview_Click);
    connect(CmdPdf, &QPushButton::clicked, this, &Plot::CmdPdf_Click);
    connect(CWGraph1, &QCustomPlot::mousePress, this,
            [this](QMouseEvent *event) { cursorMouse(event, true); });
    connect(CWGraph1, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent *event) { cursorMouse(event, cursorDragging_); });
    connect(CWGraph1, &QCustomPlot::mouseRelease, this, [this] { cursorDragging_ = false; });
    connect(CWGraph1->selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect &pixels) { zoomTo(pixels); });
}

GraphRange Plot::fields() const
{
    return graphRange(AxisMin, AxisMax);
}

const TrackMode &Plot::trackMode() const
{
    const QList<TrackMode> &modes = TrackMode::all();
    return modes.at(std::clamp(Combo1->currentIndex(), 0, int(modes.size()) - 1));
}

bool Plot::cursorShown() const
{
    return cursor1_->visible();
}

QPointF Plot::cursorPosition() const
{
    return cursor1_->position->coords();
}

void Plot::Combo1_Click()
{
    setTrackMode(trackMode());
}

void Plot::setTrackMode(const TrackMode &mode)
{
    txtDescription->setText(mode.description);
    cursorDragging_ = false;

    QCPAxisRect *rect = CWGraph1->axisRect();
    const bool pan = mode.interaction == TrackMode::Interaction::Pan;
    CWGraph1->setInteraction(QCP::iRangeDrag, pan);
    rect->setRangeDrag(pan ? mode.directions : Qt::Orientations());
    rect->setRangeDragAxes(CWGraph1->xAxis, CWGraph1->yAxis);
    CWGraph1->setSelectionRectMode(mode.interaction == TrackMode::Interaction::Zoom ? QCP::srmCustom
                                                                                    : QCP::srmNone);
    switch (mode.interaction) {
    case TrackMode::Interaction::Pan:
        CWGraph1->setCursor(Qt::OpenHandCursor);
        break;
    case TrackMode::Interaction::Zoom:
    case TrackMode::Interaction::Cursor:
        CWGraph1->setCursor(Qt::CrossCursor);
        break;
    case TrackMode::Interaction::None:
        CWGraph1->unsetCursor();
        break;
    }

    if (mode.cursorShown) {
        const QCPRange x = CWGraph1->xAxis->range();
        const QCPRange y = CWGraph1->yAxis->range();
        placeCursor(PlotAxes::cursorStart({x.lower, x.upper}, {y.lower, y.upper}));
    }
    cursor1_->setVisible(mode.cursorShown);
    cursorPoint_->setVisible(mode.cursorShown);
    CWGraph1->layer(QLatin1String(kCursorLayer))->replot();
}

void Plot::placeCursor(const QPointF &position)
{
    cursor1_->position->setCoords(position);
    cursorPoint_->position->setCoords(position);
    XPosition->setText(PlotAxes::xPositionText(position.x()));
    YPosition->setText(PlotAxes::yPositionText(position.y()));
}

void Plot::cursorMouse(QMouseEvent *event, bool pressed)
{
    if (trackMode().interaction != TrackMode::Interaction::Cursor || !pressed)
        return;
    if (event->type() == QEvent::MouseButtonPress) {
        if (event->button() != Qt::LeftButton ||
            !CWGraph1->axisRect()->rect().contains(event->pos()))
            return;
        cursorDragging_ = true;
    }
    const double x = CWGraph1->xAxis->pixelToCoord(event->position().x());
    if (const std::optional<QPointF> position = PlotAxes::cursorOnTrace(series_.y, x)) {
        placeCursor(*position);
        CWGraph1->layer(QLatin1String(kCursorLayer))->replot();
    }
}

void Plot::zoomTo(const QRect &pixels)
{
    const TrackMode &mode = trackMode();
    if (mode.interaction != TrackMode::Interaction::Zoom)
        return;
    const bool zoomX = mode.directions.testFlag(Qt::Horizontal);
    const bool zoomY = mode.directions.testFlag(Qt::Vertical);
    if ((zoomX && std::abs(pixels.right() - pixels.left()) < kLeastZoomPixels) ||
        (zoomY && std::abs(pixels.bottom() - pixels.top()) < kLeastZoomPixels)) {
        CWGraph1->replot(); // takes the rectangle away
        return;
    }
    const auto zoomed = [](QCPAxis *axis, int from, int to) {
        const AxisRange range = AxisRange::shown(axis->pixelToCoord(from), axis->pixelToCoord(to));
        axis->setRange(range.min, range.max);
    };
    if (zoomX)
        zoomed(CWGraph1->xAxis, pixels.left(), pixels.right());
    if (zoomY)
        zoomed(CWGraph1->yAxis, pixels.top(), pixels.bottom());
    CWGraph1->replot();
}

void Plot::AxisField_Change()
{
    const GraphRange range = fields();
    const AxisRange x = PlotAxes::xAxis(range);
    const AxisRange y = PlotAxes::yAxis(range);
    CWGraph1->xAxis->setRange(x.min, x.max);
    CWGraph1->yAxis->setRange(y.min, y.max);
    CWGraph1->replot();
}

void Plot::CmdReset_Click()
{
    const QCPRange current = CWGraph1->xAxis->range();
    const AxisRange x = PlotAxes::resetX(int(series_.y.size()), {current.lower, current.upper});
    const AxisRange y = PlotAxes::resetY();
    CWGraph1->xAxis->setRange(x.min, x.max);
    CWGraph1->yAxis->setRange(y.min, y.max);
    CWGraph1->replot();
}

// The printed image is the graph alone on white: the controls' frame is no part of it.
void Plot::CmdPrint_Click()
{
    WindowImage::printWithDialog(dialogs(), this, CWGraph1);
}

void Plot::CmdPreview_Click()
{
    ImagePreview::open(this, CWGraph1);
}

void Plot::CmdPdf_Click()
{
    WindowImage::exportPdfWithDialog(dialogs(), this, CWGraph1);
}
