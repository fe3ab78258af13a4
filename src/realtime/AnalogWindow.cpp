#include "realtime/AnalogWindow.h"

#include "link/Meter.h"
#include "ui/RoundGauge.h"

#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 150;

} // namespace

AnalogWindow::AnalogWindow(Meter &meter, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "AnalogWindow", tr("Analog"), parent)
{
    gauge_ = named(new RoundGauge(this), "gauge", tr("Level gauge"),
                   tr("The level in dBA on a scale from 68 to 140 dB"));
    gauge_->setScale(kScaleBottom, kScaleTop, 10.0, 2.0);
    gauge_->setUnit(QStringLiteral("dBA"));
    gauge_->setValue(kScaleBottom);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(gauge_);

    redrawTimer_ = named(new QTimer(this), "redrawTimer");
    redrawTimer_->setInterval(kTickMs);
    connect(redrawTimer_, &QTimer::timeout, this, &AnalogWindow::redraw);
    redrawTimer_->start();

    resize(320, 320);
}

void AnalogWindow::redraw()
{
    gauge_->setValue(meter().state().display.LevelValue);
}

void AnalogWindow::windowClosing()
{
    redrawTimer_->stop();
}
