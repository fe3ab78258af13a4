#include "analysis/Histogram.h"

#include "analysis/HistogramState.h"
#include "analysis/ImagePreview.h"
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

const char *const kNoRecordsHint = "The saved file is closed: its records cannot be counted again.";

} // namespace

const char *Histogram::windowName(Resolution resolution)
{
    return resolution == Resolution::TenthDb ? "Histogram" : "Histogram1";
}

Histogram::Histogram(Meter &meter, Dialogs &dialogs, HistogramState &state, Resolution resolution,
                     Records records, QWidget *parent)
    : MeterWindow(meter, dialogs, windowName(resolution), QStringLiteral("Histogram"), parent),
      state_(state), resolution_(resolution), records_(std::move(records))
{
    buildControls();
}

void Histogram::buildControls()
{
    Toolbar1 = named(new QToolBar, "Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const QString &key : {QStringLiteral("Limit"), QStringLiteral("Print"),
                               QStringLiteral("Preview"), QStringLiteral("PDF")}) {
        QAction *action = Toolbar1->addAction(key);
        action->setObjectName(key);
        action->setToolTip(key);
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }

    CWG = named(new VectorPlot, "CWG", QStringLiteral("Histogram"),
                QStringLiteral("How many records have each level"));
    CWG->setMinimumSize(480, 300);
    CWG->setBackground(Qt::white);
    CWG->xAxis->setLabel(QStringLiteral("dBA"));
    CWG->yAxis->setLabel(QStringLiteral("Frequency (Times)"));
    CWG->xAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    CWG->yAxis->grid()->setPen(QPen(QColor(0xe6, 0xea, 0xee), 0));
    if (resolution_ == Resolution::TenthDb)
        CWG->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new TenthDbTicker));
    CWG->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new CountTicker));
    bins_ = CWG->addGraph();
    // The count of index i stands at X = i + 1 and is drawn back to X = i, over its bin.
    bins_->setLineStyle(QCPGraph::lsStepRight);
    bins_->setPen(QPen(QColor(0x2f, 0x7d, 0xd1), 1.0));
    bins_->setBrush(QColor(0x2f, 0x7d, 0xd1, 0x50));

    // The limit panel: item 1 the record range, item 2 the level range in dB.
    auto *range = new QGridLayout;
    range->addWidget(Theme::caption(QStringLiteral("Min")), 0, 1, Qt::AlignHCenter);
    range->addWidget(Theme::caption(QStringLiteral("Max")), 0, 2, Qt::AlignHCenter);
    const char *const minNames[] = {"", "AxisMin1", "AxisMin2"};
    const char *const maxNames[] = {"", "AxisMax1", "AxisMax2"};
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
        AxisMin[item] = named(new NumberField(bottom, top, decimals, text), minNames[item]);
        AxisMax[item] = named(new NumberField(bottom, top, decimals, text), maxNames[item]);
        const QString what = item == 1 ? QStringLiteral("record") : QStringLiteral("level (dB)");
        AxisMin[item]->describe(QStringLiteral("Lowest ") + what,
                                QStringLiteral("Lowest %1 counted and shown").arg(what));
        AxisMax[item]->describe(QStringLiteral("Highest ") + what,
                                QStringLiteral("Highest %1 counted and shown").arg(what));
        range->addWidget(Theme::caption(rows[item]), item, 0);
        range->addWidget(AxisMin[item], item, 1);
        range->addWidget(AxisMax[item], item, 2);
        connect(AxisMin[item], &QDoubleSpinBox::valueChanged, this, &Histogram::AxisField_Change);
        connect(AxisMax[item], &QDoubleSpinBox::valueChanged, this, &Histogram::AxisField_Change);
    }
    SSFrame4 = named(new QFrame, "SSFrame4");
    SSFrame4->setProperty("role", QStringLiteral("card"));
    SSFrame4->setAccessibleName(QStringLiteral("Graph Range"));
    auto *frame = new QVBoxLayout(SSFrame4);
    frame->setContentsMargins(10, 6, 10, 8);
    frame->addWidget(Theme::caption(QStringLiteral("Graph Range")));
    frame->addLayout(range);

    OKOK = named(new QPushButton(QStringLiteral("OK")), "OKOK");
    LblHint = named(Theme::caption(QString()), "LblHint");
    LblHint->setWordWrap(true);
    LblHint->hide();
    Picture1 = named(new QFrame, "Picture1");
    auto *panel = new QVBoxLayout(Picture1);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(SSFrame4);
    panel->addWidget(LblHint);
    panel->addWidget(OKOK, 0, Qt::AlignRight);
    panel->addStretch(1);
    Picture1->setFixedWidth(Picture1->sizeHint().width() + 20);
    // Shown by "Limit".
    Picture1->hide();

    auto *body = new QHBoxLayout;
    body->addWidget(CWG, 1);
    body->addWidget(Picture1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Toolbar1);
    layout->addLayout(body, 1);
    resize(760, 480);

    connect(OKOK, &QPushButton::clicked, this, &Histogram::OKOK_Click);
}

GraphRange Histogram::fields() const
{
    return graphRange(AxisMin, AxisMax);
}

void Histogram::showOpening(const LevelHistogram::Opening &opening)
{
    state_.HistLoading = true;
    const int records = int(opening.fields.AxisMax[1]);
    AxisMin[1]->setMaximum(records);
    AxisMax[1]->setMaximum(records);
    AxisMax[1]->setValue(opening.fields.AxisMax[1]);
    AxisMin[1]->setValue(opening.fields.AxisMin[1]);
    AxisMin[2]->setValue(opening.fields.AxisMin[2]);
    AxisMax[2]->setValue(opening.fields.AxisMax[2]);
    counts_ = opening.counts;
    draw(opening.xAxis);
    state_.HistLoading = false;
}

void Histogram::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("Limit")) {
        Picture1->show();
    } else if (key == QLatin1String("Print")) {
        // The image is the graph alone; the limit panel stays hidden afterwards.
        Picture1->hide();
        WindowImage::printWithDialog(dialogs(), this, CWG);
    } else if (key == QLatin1String("Preview")) {
        ImagePreview::open(this, CWG);
    } else if (key == QLatin1String("PDF")) {
        WindowImage::exportPdfWithDialog(dialogs(), this, CWG);
    }
}

void Histogram::AxisField_Change()
{
    changeLimits();
}

void Histogram::OKOK_Click()
{
    if (changeLimits())
        Picture1->hide();
}

bool Histogram::changeLimits()
{
    const LevelHistogram::LimitChange change = LevelHistogram::changeLimits(
        records_ ? records_() : nullptr, fields(), resolution_, state_, counts_);
    const bool gone = change.outcome == LevelHistogram::LimitOutcome::NoRecords;
    LblHint->setText(gone ? QLatin1String(kNoRecordsHint) : QString());
    LblHint->setVisible(gone);
    if (change.outcome != LevelHistogram::LimitOutcome::Recounted)
        return false;
    draw(change.xAxis);
    return true;
}

void Histogram::draw(const AxisRange &xAxis)
{
    const LevelHistogram::Points points = LevelHistogram::points(counts_, resolution_);
    bins_->setData(points.x, points.y, true);
    const AxisRange x = AxisRange::shown(xAxis.min, xAxis.max);
    const AxisRange y = LevelHistogram::countAxis(counts_, resolution_, x);
    CWG->xAxis->setRange(x.min, x.max);
    CWG->yAxis->setRange(y.min, y.max);
    CWG->replot();
}
