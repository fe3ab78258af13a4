#include "realtime/Analog.h"

#include "link/Meter.h"
#include "ui/RoundGauge.h"

#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kTickMs = 150;

} // namespace

Analog::Analog(Meter &meter, Dialogs &dialogs, QWidget *parent)
    : MeterWindow(meter, dialogs, "Analog", QStringLiteral("Analog"), parent)
{
    TopMeter = named(new RoundGauge(this), "TopMeter", QStringLiteral("Level gauge"),
                     QStringLiteral("The level in dBA on a scale from 68 to 140 dB"));
    TopMeter->setScale(kScaleBottom, kScaleTop, 10.0, 2.0);
    TopMeter->setUnit(QStringLiteral("dBA"));
    TopMeter->setValue(kScaleBottom);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(TopMeter);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &Analog::Timer1_Timer);
    Timer1->start();

    resize(320, 320);
}

void Analog::Timer1_Timer()
{
    TopMeter->setValue(meter().state().display.LevelValue);
}

void Analog::windowClosing()
{
    Timer1->stop();
}
