#include "analysis/HistogramWindow.h"

#include "analysis/HistogramState.h"
#include "analysis/NumberField.h"
#include "ui/Theme.h"
#include "ui/VectorPlot.h"
#include "ui/WindowImage.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Tick labels of the 0.1 dB histogram: its X is in 0.1 dB units, its labels in dB.
class TenthDbTicker : public QCPAxisTicker {
protected:
    QString getTickLabel(double tick, const QLocale &, QChar, int) override
    {
        return LevelHistogram::axisText(tick / 10.0);
    }
};

// Counts are whole numbers: no tick between them.
class CountTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange &range) override
    {
        return std::max(1.0, std::round(QCPAxisTicker::getTickStep(range)));
    }
    QString getTickLabel(double tick, const QLocale &, QChar, int) override
    {
        return QString::number(std::llround(tick));
    }
};

const char *const kNoRecordsHint = QT_TRANSLATE_NOOP(
    "HistogramWindow", "The saved file is closed: its records cannot be counted again.");

} // namespace

const char *HistogramWindow::windowName(Resolution resolution)
{
    return resolution == Resolution::TenthDb ? "TenthDbHistogram" : "WholeDbHistogram";
}

HistogramWindow::HistogramWindow(Meter &meter, Dialogs &dialogs, HistogramState &state,
                                 Resolution resolution, Records records, QWidget *parent)
    : MeterWindow(meter, dialogs, windowName(resolution), tr("Histogram"), parent), state_(state),
      resolution_(resolution), records_(std::move(records))
{
    buildControls();
}

void HistogramWindow::buildControls()
{
    toolbar_ = named(new QToolBar, "toolbar");
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The key names the command; the button shows its text in the user's language.
    const std::pair<QString, QString> buttons[] = {{QStringLiteral("Limit"), tr("Limit")},
                                                   {QStringLiteral("Print"), tr("Print")},
                                                   {QStringLiteral("Preview"), tr("Preview")},
                                                   {QStringLiteral("PDF"), tr("PDF")}};
    for (const auto &[key, text] : buttons) {
        QAction *action = toolbar_->addAction(text);
        action->setObjectName(key);
        action->setToolTip(text);
        connect(action, &QAction::triggered, this, [this, key = key] { runToolbarCommand(key); });
    }

    graph_ =
        named(new VectorPlot, "graph", tr("Histogram"), tr("How many records have each level"));
    graph_->setMinimumSize(480, 300);
    graph_->setBackground(Qt::white);
    graph_->xAxis->setLabel(QStringLiteral("dBA"));
    graph_->yAxis->setLabel(tr("Frequency (Times)"));
    graph_->xAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    graph_->yAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    if (resolution_ == Resolution::TenthDb)
        graph_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new TenthDbTicker));
    graph_->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new CountTicker));
    bins_ = graph_->addGraph();
    // The count of index i stands at X = i + 1 and is drawn back to X = i, over its bin.
    bins_->setLineStyle(QCPGraph::lsStepRight);
    bins_->setPen(QPen(QColor(0x2f, 0x7d, 0xd1), 1.0));
    bins_->setBrush(QColor(0x2f, 0x7d, 0xd1, 0x50));

    // The limit panel: item 1 the record range, item 2 the level range in dB.
    auto *range = new QGridLayout;
    range->addWidget(Theme::caption(tr("Min")), 0, 1, Qt::AlignHCenter);
    range->addWidget(Theme::caption(tr("Max")), 0, 2, Qt::AlignHCenter);
    const char *const minNames[] = {"", "minimumField1", "minimumField2"};
    const char *const maxNames[] = {"", "maximumField1", "maximumField2"};
    const QString rows[] = {QString(), QStringLiteral("No.s"), QStringLiteral("dB")};
    const Resolution resolution = resolution_;
    for (int item : {1, 2}) {
        NumberField::Text text;
        int decimals = 0;
        double top = 1.0; // records: set from the list at opening
        if (item == 2) {
            decimals = LevelHistogram::dbFieldDecimals(resolution);
            text = [resolution](double value) {
                return LevelHistogram::dbFieldText(value, resolution);
            };
            top = LevelCounts::kWholeDbTop + 1;
        } else {
            text = [](double value) { return QString::number(std::llround(value)); };
        }
        const double bottom = item == 1 ? 1.0 : 0.0;
        minimumFields_[item] = named(new NumberField(bottom, top, decimals, text), minNames[item]);
        maximumFields_[item] = named(new NumberField(bottom, top, decimals, text), maxNames[item]);
        if (item == 1) {
            minimumFields_[item]->describe(tr("Lowest record"),
                                           tr("Lowest record counted and shown"));
            maximumFields_[item]->describe(tr("Highest record"),
                                           tr("Highest record counted and shown"));
        } else {
            minimumFields_[item]->describe(tr("Lowest level (dB)"),
                                           tr("Lowest level (dB) counted and shown"));
            maximumFields_[item]->describe(tr("Highest level (dB)"),
                                           tr("Highest level (dB) counted and shown"));
        }
        // Wide enough for a week of records and for any level, whatever the list held
        // when the window was built.
        for (NumberField *field : {minimumFields_[item], maximumFields_[item]})
            field->setMinimumWidth(
                field->sizeHint().width() -
                field->fontMetrics().horizontalAdvance(field->textFromValue(field->maximum())) +
                field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
        range->addWidget(Theme::caption(rows[item]), item, 0);
        range->addWidget(minimumFields_[item], item, 1);
        range->addWidget(maximumFields_[item], item, 2);
        connect(minimumFields_[item], &QDoubleSpinBox::valueChanged, this,
                &HistogramWindow::applyRange);
        connect(maximumFields_[item], &QDoubleSpinBox::valueChanged, this,
                &HistogramWindow::applyRange);
    }
    rangeFrame_ = named(new QFrame, "rangeFrame");
    rangeFrame_->setProperty("role", QStringLiteral("card"));
    rangeFrame_->setAccessibleName(tr("Graph Range"));
    auto *frame = new QVBoxLayout(rangeFrame_);
    frame->setContentsMargins(10, 6, 10, 8);
    frame->addWidget(Theme::caption(tr("Graph Range")));
    frame->addLayout(range);

    okButton_ = named(new QPushButton(tr("OK")), "okButton");
    limitsHint_ = named(Theme::caption(QString()), "limitsHint");
    limitsHint_->setWordWrap(true);
    limitsHint_->hide();
    limitsPanel_ = named(new QFrame, "limitsPanel");
    auto *panel = new QVBoxLayout(limitsPanel_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(rangeFrame_);
    panel->addWidget(limitsHint_);
    panel->addWidget(okButton_, 0, Qt::AlignRight);
    panel->addStretch(1);
    limitsPanel_->setFixedWidth(limitsPanel_->sizeHint().width() + 20);
    // Shown by "Limit".
    limitsPanel_->hide();

    auto *body = new QHBoxLayout;
    body->addWidget(graph_, 1);
    body->addWidget(limitsPanel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(toolbar_);
    layout->addLayout(body, 1);
    resize(760, 480);

    connect(okButton_, &QPushButton::clicked, this, &HistogramWindow::applyLimits);
}

GraphRange HistogramWindow::fields() const
{
    return graphRange(minimumFields_, maximumFields_);
}

void HistogramWindow::showOpening(const LevelHistogram::Opening &opening)
{
    state_.HistLoading = true;
    const int records = int(opening.fields.maximum[1]);
    minimumFields_[1]->setMaximum(records);
    maximumFields_[1]->setMaximum(records);
    maximumFields_[1]->setValue(opening.fields.maximum[1]);
    minimumFields_[1]->setValue(opening.fields.minimum[1]);
    minimumFields_[2]->setValue(opening.fields.minimum[2]);
    maximumFields_[2]->setValue(opening.fields.maximum[2]);
    counts_ = opening.counts;
    draw(opening.xAxis);
    state_.HistLoading = false;
}

void HistogramWindow::runToolbarCommand(const QString &key)
{
    if (key == QLatin1String("Limit")) {
        limitsPanel_->show();
    } else if (key == QLatin1String("Print")) {
        // The image is the graph alone; the limit panel stays hidden afterwards.
        limitsPanel_->hide();
        WindowImage::printWithDialog(dialogs(), this, WindowImage::picture(graph_),
                                     printedHeader());
    } else if (key == QLatin1String("Preview")) {
        WindowImage::openPreview(this, WindowImage::picture(graph_), printedHeader());
    } else if (key == QLatin1String("PDF")) {
        WindowImage::exportPdfWithDialog(dialogs(), this, WindowImage::picture(graph_),
                                         printedHeader());
    }
}

ReportPage::Header HistogramWindow::printedHeader() const
{
    const QString classes = resolution_ == Resolution::TenthDb ? QStringLiteral("0.1 dB classes")
                                                               : QStringLiteral("1 dB classes");
    return ReportPage::measurementHeader(windowTitle(), sourceName(), QString(),
                                         classes + QStringLiteral(", ") + graphRangeText(fields()));
}

void HistogramWindow::applyRange()
{
    changeLimits();
}

void HistogramWindow::applyLimits()
{
    if (changeLimits())
        limitsPanel_->hide();
}

bool HistogramWindow::changeLimits()
{
    const LevelHistogram::LimitChange change = LevelHistogram::changeLimits(
        records_ ? records_() : nullptr, fields(), resolution_, state_, counts_);
    const bool gone = change.outcome == LevelHistogram::LimitOutcome::NoRecords;
    limitsHint_->setText(gone ? tr(kNoRecordsHint) : QString());
    limitsHint_->setVisible(gone);
    if (change.outcome != LevelHistogram::LimitOutcome::Recounted)
        return false;
    draw(change.xAxis);
    return true;
}

void HistogramWindow::draw(const AxisRange &xAxis)
{
    const LevelHistogram::Points points = LevelHistogram::points(counts_, resolution_);
    bins_->setData(points.x, points.y, true);
    const AxisRange x = AxisRange::shown(xAxis.min, xAxis.max);
    const AxisRange y = LevelHistogram::countAxis(counts_, resolution_, x);
    graph_->xAxis->setRange(x.min, x.max);
    graph_->yAxis->setRange(y.min, y.max);
    graph_->replot();
}
