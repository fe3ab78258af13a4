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

std::optional<QPoint> WindowPlacement::freeSpot(const QRect &available, const QRect &mainFrame,
                                                const QSize &frame, const QList<QRect> &open)
{
    QList<QRect> beside = open;
    std::sort(beside.begin(), beside.end(),
              [](const QRect &a, const QRect &b) { return a.x() < b.x(); });
    QList<QPoint> candidates{{mainFrame.x() + mainFrame.width(), mainFrame.y()}};
    for (const QRect &window : std::as_const(beside))
        candidates << QPoint(window.x() + window.width(), mainFrame.y());
    candidates << QPoint(mainFrame.x() - frame.width(), mainFrame.y());
    for (const QPoint &candidate : std::as_const(candidates)) {
        const QRect spot(candidate, frame);
        if (!available.contains(spot) || spot.intersects(mainFrame))
            continue;
        const bool covers = std::any_of(open.begin(), open.end(), [&spot](const QRect &window) {
            return spot.intersects(window);
        });
        if (!covers)
            return candidate;
    }
    return std::nullopt;
}

QPoint WindowPlacement::topLeft(const QRect &available, const QSize &frame,
                                const QList<QPoint> &occupied)
{
    return cascaded(available, available.topLeft(), frame, occupied);
}
