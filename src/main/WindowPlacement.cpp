#include "main/WindowPlacement.h"

#include <algorithm>

QPoint WindowPlacement::inside(const QRect &available, const QPoint &wanted, const QSize &frame)
{
    // QRect::right() is the last pixel column: a window of the area's width starts at left().
    const int lastX = available.x() + available.width() - frame.width();
    const int lastY = available.y() + available.height() - frame.height();
    return {std::max(available.x(), std::min(wanted.x(), lastX)),
            std::max(available.y(), std::min(wanted.y(), lastY))};
}

QSize WindowPlacement::fitted(const QRect &available, const QSize &client, const QSize &decoration,
                              const QSize &minimum)
{
    const QSize room = available.size() - decoration;
    return client.boundedTo(room).expandedTo(minimum);
}

QPoint WindowPlacement::cascaded(const QRect &available, const QPoint &wanted, const QSize &frame,
                                 const QList<QPoint> &occupied)
{
    QPoint at = inside(available, wanted, frame);
    // Bounded: a full screen of windows ends where the area stops the steps.
    for (int step = 0; step < 64 && occupied.contains(at); ++step) {
        const QPoint next = inside(available, at + QPoint(kCascadeStep, kCascadeStep), frame);
        if (next == at)
            break;
        at = next;
    }
    return at;
}

QPoint WindowPlacement::besideMain(const QRect &available, const QRect &mainFrame,
                                   const QSize &frame, const QList<QPoint> &occupied)
{
    const int availableEnd = available.x() + available.width();
    QPoint wanted(mainFrame.x() + mainFrame.width(), mainFrame.y());
    if (wanted.x() + frame.width() > availableEnd && mainFrame.x() - frame.width() >= available.x())
        wanted.setX(mainFrame.x() - frame.width());
    return cascaded(available, wanted, frame, occupied);
}

QPoint WindowPlacement::topLeft(const QRect &available, const QSize &frame,
                                const QList<QPoint> &occupied)
{
    return cascaded(available, available.topLeft(), frame, occupied);
}
