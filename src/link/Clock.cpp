#include "link/Clock.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>

void wait(Clock &clock, double seconds, const std::function<bool()> &stop)
{
    const double end = clock.monotonicSeconds() + std::max(0.0, seconds);
    // The wait ends only once the clock is past its end, however the sleeps fall.
    for (double now = clock.monotonicSeconds(); now <= end; now = clock.monotonicSeconds()) {
        if (stop && stop())
            return;
        clock.sleep(end - now);
    }
}

SystemClock::SystemClock()
{
    elapsed_.start();
}

double SystemClock::monotonicSeconds() const
{
    return double(elapsed_.nsecsElapsed()) / 1e9;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::sleep(double seconds)
{
    // A nested event loop ended by a timer: events are served, no core spins.
    // The timer is rounded up so that the caller's loop needs at most one more pass.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(std::max(1, int(std::ceil(seconds * 1000.0))));
    loop.exec();
}

FakeClock::FakeClock(const QDateTime &start) : wallStart_(start), wallAtMonotonic_(monotonic_)
{
}

QDateTime FakeClock::now() const
{
    return wallStart_.addMSecs(qint64(std::llround((monotonic_ - wallAtMonotonic_) * 1000.0)));
}

void FakeClock::sleep(double seconds)
{
    // Always move on by a little more than asked, like a clock that ticks past the end.
    double step = seconds + 1e-6;
    if (step_ > 0.0)
        step = std::min(step, step_);
    advance(step);
    if (duringSleep)
        duringSleep();
}

void FakeClock::advance(double seconds)
{
    monotonic_ += seconds;
}

void FakeClock::setNow(const QDateTime &wall)
{
    wallStart_ = wall;
    wallAtMonotonic_ = monotonic_;
}
