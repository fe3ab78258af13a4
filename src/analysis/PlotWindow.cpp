#include "analysis/PlotWindow.h"

#include "analysis/NumberField.h"
#include "analysis/PlotAxes.h"
#include "data/RecordTable.h"
#include "ui/Theme.h"
#include "ui/VectorPlot.h"
#include "ui/WindowImage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
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

// The track modes' entries and descriptions, which the modes keep in English, as the
// window shows them in the user's language.
[[maybe_unused]] const char *const kTrackModeTexts[] = {
    QT_TRANSLATE_NOOP("PlotWindow", "Normal"),
    QT_TRANSLATE_NOOP("PlotWindow", "Normal mode"),
    QT_TRANSLATE_NOOP("PlotWindow", "Cursor Coordinates"),
    QT_TRANSLATE_NOOP("PlotWindow",
                      "Drag the cursor with your mouse to get X (Count) and Y (dB) position."),
    QT_TRANSLATE_NOOP("PlotWindow", "PanXY"),
    QT_TRANSLATE_NOOP("PlotWindow", "Click anywhere on the plot area and drag to pan the graph "
                                    "both horizontally and vertically."),
    QT_TRANSLATE_NOOP("PlotWindow", "PanX"),
    QT_TRANSLATE_NOOP("PlotWindow",
                      "Click anywhere on the plot area and drag to pan the graph horizontally."),
    QT_TRANSLATE_NOOP("PlotWindow", "PanY"),
    QT_TRANSLATE_NOOP("PlotWindow",
                      "Click anywhere on the plot area and drag to pan the graph vertically."),
    QT_TRANSLATE_NOOP("PlotWindow", "ZoomXY"),
    QT_TRANSLATE_NOOP("PlotWindow",
                      "Select a region on the graph to zoom both horizontally and vertically."),
    QT_TRANSLATE_NOOP("PlotWindow", "ZoomX"),
    QT_TRANSLATE_NOOP("PlotWindow", "Select a region on the graph to zoom horizontally."),
    QT_TRANSLATE_NOOP("PlotWindow", "ZoomY"),
    QT_TRANSLATE_NOOP("PlotWindow", "Select a region on the graph to zoom vertically."),
};

QString shown(const QString &english)
{
    return QCoreApplication::translate("PlotWindow", english.toUtf8().constData());
}

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
    return MeterWindow::named(
        label, name, accessibleName,
        QCoreApplication::translate("PlotWindow", "Cursor 1's position, while it is dragged"));
}

} // namespace

PlotWindow::PlotWindow(Meter &meter, Dialogs &dialogs, const RecordTable &records, QWidget *parent)
    : MeterWindow(meter, dialogs, "PlotWindow", tr("Plot"), parent),
      series_(PlotColumn::fromTable(records, kLevelColumn))
{
    buildControls();

    for (const TrackMode &mode : TrackMode::all())
        trackModeChoice_->addItem(shown(mode.entry));
    trackModeChoice_->setCurrentIndex(0);
    chooseTrackMode();

    const GraphRange opening = PlotAxes::openingFields(records.recordCount());
    for (int item : {1, 2}) {
        minimumFields_[item]->setQuietly(opening.minimum[item]);
        maximumFields_[item]->setQuietly(opening.maximum[item]);
    }
    trace_->setData(series_.x, series_.y, true);
    applyRange();
}

void PlotWindow::buildControls()
{
    graph_ = named(new VectorPlot(this), "graph", tr("Plot"),
                   tr("The levels of the records (dB) over the record number"));
    graph_->setMinimumSize(520, 300);
    graph_->setBackground(Qt::white);
    graph_->xAxis->setLabel(QStringLiteral("No.s"));
    graph_->yAxis->setLabel(QStringLiteral("dB"));
    graph_->xAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    graph_->yAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    trace_ = graph_->addGraph();
    // One pixel wide: a wider antialiased line is stroked as an outline, and a day of
    // records would then take seconds instead of milliseconds to draw.
    trace_->setPen(QPen(QColor(0x2f, 0x7d, 0xd1), 1.0));
    trace_->setAdaptiveSampling(true);

    // The cursor on a layer of its own: dragging it redraws the cursor, not the trace.
    graph_->addLayer(QLatin1String(kCursorLayer), graph_->layer(QStringLiteral("main")),
                     QCustomPlot::limAbove);
    graph_->layer(QLatin1String(kCursorLayer))->setMode(QCPLayer::lmBuffered);
    const QPen cursorPen(QColor(0xd6, 0x45, 0x41), 1.0, Qt::DashLine);
    cursor1_ = new QCPItemTracer(graph_);
    cursor1_->setStyle(QCPItemTracer::tsCrosshair);
    cursor1_->setPen(cursorPen);
    cursorPoint_ = new QCPItemTracer(graph_);
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
    range->addWidget(Theme::caption(tr("Min")), 0, 1, Qt::AlignHCenter);
    range->addWidget(Theme::caption(tr("Max")), 0, 2, Qt::AlignHCenter);
    const char *const minNames[] = {"", "minimumField1", "minimumField2"};
    const char *const maxNames[] = {"", "maximumField1", "maximumField2"};
    const QString rows[] = {QString(), QStringLiteral("No.s"), QStringLiteral("dB")};
    for (int item : {1, 2}) {
        const double limit = item == 1 ? 1e8 : 999.9;
        const auto text = [item](double value) { return PlotAxes::fieldText(item, value); };
        minimumFields_[item] = named(
            new NumberField(-limit, limit, PlotAxes::fieldDecimals(item), text), minNames[item]);
        maximumFields_[item] = named(
            new NumberField(-limit, limit, PlotAxes::fieldDecimals(item), text), maxNames[item]);
        const QString axis = item == 1 ? QStringLiteral("X") : QStringLiteral("Y");
        minimumFields_[item]->describe(tr("%1 minimum").arg(axis),
                                       tr("Lowest %1 shown (%2)").arg(axis, rows[item]));
        maximumFields_[item]->describe(tr("%1 maximum").arg(axis),
                                       tr("Highest %1 shown (%2)").arg(axis, rows[item]));
        range->addWidget(Theme::caption(rows[item]), item, 0);
        range->addWidget(minimumFields_[item], item, 1);
        range->addWidget(maximumFields_[item], item, 2);
        connect(minimumFields_[item], &QDoubleSpinBox::valueChanged, this, &PlotWindow::applyRange);
        connect(maximumFields_[item], &QDoubleSpinBox::valueChanged, this, &PlotWindow::applyRange);
    }
    rangeFrame_ = frame(tr("Graph Range"), "rangeFrame", range);

    trackModeChoice_ = named(new QComboBox, "trackModeChoice", tr("Track Mode"),
                             tr("What the mouse does on the graph"));
    trackModeChoice_->view()->setAccessibleName(tr("Track modes"));
    trackModeDescription_ = named(new QLabel, "trackModeDescription");
    trackModeDescription_->setWordWrap(true);
    trackModeDescription_->setMinimumWidth(240);
    trackModeDescription_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    trackModeDescription_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *track = new QVBoxLayout;
    track->addWidget(trackModeChoice_);
    track->addWidget(trackModeDescription_, 1);
    trackFrame_ = frame(tr("Track Mode"), "trackFrame", track);

    cursorX_ = readout("cursorX", tr("Cursor X (No.s)"));
    cursorY_ = readout("cursorY", tr("Cursor Y (dB)"));
    auto *cursor = new QGridLayout;
    cursor->addWidget(Theme::caption(QStringLiteral("No.s ( X ) :")), 0, 0);
    cursor->addWidget(cursorX_, 0, 1);
    cursor->addWidget(Theme::caption(QStringLiteral("dB ( Y ) :")), 1, 0);
    cursor->addWidget(cursorY_, 1, 1);
    buttonFrame_ = frame(tr("Cursor Information"), "buttonFrame", cursor);

    resetScaleButton_ = named(new QPushButton(tr("Reset Scale")), "resetScaleButton");
    printButton_ = named(new QPushButton(tr("Print Graph")), "printButton");
    previewButton_ = named(new QPushButton(tr("Preview")), "previewButton");
    pdfButton_ = named(new QPushButton(tr("Export PDF")), "pdfButton");
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {resetScaleButton_, printButton_, previewButton_, pdfButton_})
        buttons->addWidget(button);
    buttons->addStretch(1);

    graphFrame_ = named(new QFrame, "graphFrame");
    graphFrame_->setAccessibleName(tr("Graphic Plot"));
    auto *graphic = new QVBoxLayout(graphFrame_);
    graphic->setContentsMargins(0, 0, 0, 0);
    graphic->addWidget(Theme::caption(tr("Graphic Plot")));
    auto *controls = new QHBoxLayout;
    graphic->addLayout(controls);
    controls->addWidget(rangeFrame_);
    controls->addWidget(trackFrame_, 1);
    controls->addWidget(buttonFrame_);
    controls->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(graph_, 1);
    layout->addWidget(graphFrame_);
    resize(900, 600);

    connect(trackModeChoice_, &QComboBox::currentIndexChanged, this, &PlotWindow::chooseTrackMode);
    connect(resetScaleButton_, &QPushButton::clicked, this, &PlotWindow::resetScale);
    connect(printButton_, &QPushButton::clicked, this, &PlotWindow::printGraph);
    connect(previewButton_, &QPushButton::clicked, this, &PlotWindow::previewGraph);
    connect(pdfButton_, &QPushButton::clicked, this, &PlotWindow::exportPdf);
    connect(graph_, &QCustomPlot::mousePress, this,
            [this](QMouseEvent *event) { cursorMouse(event, true); });
    connect(graph_, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent *event) { cursorMouse(event, cursorDragging_); });
    connect(graph_, &QCustomPlot::mouseRelease, this, [this] {
        cursorDragging_ = false;
        if (trackMode().interaction == TrackMode::Interaction::Pan)
            showRangeInFields();
    });
    connect(graph_->selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect &pixels) { zoomTo(pixels); });
}

GraphRange PlotWindow::fields() const
{
    return graphRange(minimumFields_, maximumFields_);
}

const TrackMode &PlotWindow::trackMode() const
{
    const QList<TrackMode> &modes = TrackMode::all();
    return modes.at(std::clamp(trackModeChoice_->currentIndex(), 0, int(modes.size()) - 1));
}

bool PlotWindow::cursorShown() const
{
    return cursor1_->visible();
}

QPointF PlotWindow::cursorPosition() const
{
    return cursor1_->position->coords();
}

void PlotWindow::chooseTrackMode()
{
    setTrackMode(trackMode());
}

void PlotWindow::setTrackMode(const TrackMode &mode)
{
    trackModeDescription_->setText(shown(mode.description));
    cursorDragging_ = false;

    QCPAxisRect *rect = graph_->axisRect();
    const bool pan = mode.interaction == TrackMode::Interaction::Pan;
    graph_->setInteraction(QCP::iRangeDrag, pan);
    rect->setRangeDrag(pan ? mode.directions : Qt::Orientations());
    rect->setRangeDragAxes(graph_->xAxis, graph_->yAxis);
    graph_->setSelectionRectMode(mode.interaction == TrackMode::Interaction::Zoom ? QCP::srmCustom
                                                                                  : QCP::srmNone);
    switch (mode.interaction) {
    case TrackMode::Interaction::Pan:
        graph_->setCursor(Qt::OpenHandCursor);
        break;
    case TrackMode::Interaction::Zoom:
    case TrackMode::Interaction::Cursor:
        graph_->setCursor(Qt::CrossCursor);
        break;
    case TrackMode::Interaction::None:
        graph_->unsetCursor();
        break;
    }

    if (mode.cursorShown) {
        const QCPRange x = graph_->xAxis->range();
        const QCPRange y = graph_->yAxis->range();
        placeCursor(PlotAxes::cursorStart({x.lower, x.upper}, {y.lower, y.upper}));
    }
    cursor1_->setVisible(mode.cursorShown);
    cursorPoint_->setVisible(mode.cursorShown);
    graph_->layer(QLatin1String(kCursorLayer))->replot();
}

void PlotWindow::placeCursor(const QPointF &position)
{
    cursor1_->position->setCoords(position);
    cursorPoint_->position->setCoords(position);
    cursorX_->setText(PlotAxes::xPositionText(position.x()));
    cursorY_->setText(PlotAxes::yPositionText(position.y()));
}

void PlotWindow::cursorMouse(QMouseEvent *event, bool pressed)
{
    if (trackMode().interaction != TrackMode::Interaction::Cursor || !pressed)
        return;
    if (event->type() == QEvent::MouseButtonPress) {
        if (event->button() != Qt::LeftButton || !graph_->axisRect()->rect().contains(event->pos()))
            return;
        cursorDragging_ = true;
    }
    const double x = graph_->xAxis->pixelToCoord(event->position().x());
    if (const std::optional<QPointF> position = PlotAxes::cursorOnTrace(series_.y, x)) {
        placeCursor(*position);
        graph_->layer(QLatin1String(kCursorLayer))->replot();
    }
}

void PlotWindow::zoomTo(const QRect &pixels)
{
    const TrackMode &mode = trackMode();
    if (mode.interaction != TrackMode::Interaction::Zoom)
        return;
    const bool zoomX = mode.directions.testFlag(Qt::Horizontal);
    const bool zoomY = mode.directions.testFlag(Qt::Vertical);
    if ((zoomX && std::abs(pixels.right() - pixels.left()) < kLeastZoomPixels) ||
        (zoomY && std::abs(pixels.bottom() - pixels.top()) < kLeastZoomPixels)) {
        graph_->replot(); // takes the rectangle away
        return;
    }
    const auto zoomed = [](QCPAxis *axis, int from, int to) {
        const AxisRange range = AxisRange::shown(axis->pixelToCoord(from), axis->pixelToCoord(to));
        axis->setRange(range.min, range.max);
    };
    if (zoomX)
        zoomed(graph_->xAxis, pixels.left(), pixels.right());
    if (zoomY)
        zoomed(graph_->yAxis, pixels.top(), pixels.bottom());
    graph_->replot();
    showRangeInFields();
}

void PlotWindow::showRangeInFields()
{
    // Quietly: the fields take the graph's range without sending it back to the graph.
    const QCPRange x = graph_->xAxis->range();
    const QCPRange y = graph_->yAxis->range();
    minimumFields_[1]->setQuietly(x.lower);
    maximumFields_[1]->setQuietly(x.upper);
    minimumFields_[2]->setQuietly(y.lower);
    maximumFields_[2]->setQuietly(y.upper);
}

void PlotWindow::applyRange()
{
    const GraphRange range = fields();
    const AxisRange x = PlotAxes::xAxis(range);
    const AxisRange y = PlotAxes::yAxis(range);
    graph_->xAxis->setRange(x.min, x.max);
    graph_->yAxis->setRange(y.min, y.max);
    graph_->replot();
}

void PlotWindow::resetScale()
{
    const QCPRange current = graph_->xAxis->range();
    const AxisRange x = PlotAxes::resetX(int(series_.y.size()), {current.lower, current.upper});
    const AxisRange y = PlotAxes::resetY();
    graph_->xAxis->setRange(x.min, x.max);
    graph_->yAxis->setRange(y.min, y.max);
    graph_->replot();
    showRangeInFields();
}

// The printed image is the graph alone on white: the controls' frame and the cursor
// lines are no part of it.
QPicture PlotWindow::printedImage()
{
    const bool shown = cursorShown();
    cursor1_->setVisible(false);
    cursorPoint_->setVisible(false);
    graph_->replot();
    const QPicture image = WindowImage::picture(graph_);
    cursor1_->setVisible(shown);
    cursorPoint_->setVisible(shown);
    graph_->replot();
    return image;
}

ReportPage::Header PlotWindow::printedHeader() const
{
    return ReportPage::measurementHeader(windowTitle(), sourceName(), QString(),
                                         graphRangeText(fields()));
}

void PlotWindow::printGraph()
{
    WindowImage::printWithDialog(dialogs(), this, printedImage(), printedHeader());
}

void PlotWindow::previewGraph()
{
    WindowImage::openPreview(this, printedImage(), printedHeader());
}

void PlotWindow::exportPdf()
{
    WindowImage::exportPdfWithDialog(dialogs(), this, printedImage(), printedHeader());
}
