#pragma once

// Where a window opens: whole inside the screen's available area (without the panels and
// docks of the desktop), beside the main window where it fits there, and not on the spot
// of a window already open. Pure rectangle arithmetic, in screen pixels of frame
// geometry (title bar included).

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class WindowPlacement {
public:
    // How far a window opens from one already open on the same spot, right and down.
    static constexpr int kCascadeStep = 30;

    // Beside the main window: right of it, tops aligned; where that leaves the screen, left
    // of it; where neither fits, right of it moved in (covering part of the main window).
    // Then moved in and cascaded off the spots in `occupied` (windows' top-left corners).
    static QPoint besideMain(const QRect &available, const QRect &mainFrame, const QSize &frame,
                             const QList<QPoint> &occupied);
    // A spot beside the main window that covers no window open (`open`: their frames) and
    // lies whole inside `available`: right of the main window, else right of an open
    // window (the nearest first), else left of the main window. nullopt when there is none.
    static std::optional<QPoint> freeSpot(const QRect &available, const QRect &mainFrame,
                                          const QSize &frame, const QList<QRect> &open);
    // The top left corner of the available area, cascaded off `occupied`.
    static QPoint topLeft(const QRect &available, const QSize &frame,
                          const QList<QPoint> &occupied);
    // The client size a window opens with so that its frame (client plus `decoration`: title
    // bar and borders) lies whole inside `available`: `client` shrunk where it is larger,
    // but never below `minimum`, which the window's controls need.
    static QSize fitted(const QRect &available, const QSize &client, const QSize &decoration,
                        const QSize &minimum);
    // `wanted` moved the least that puts the window inside `available`; a window larger
    // than the area keeps its top left corner (and its title bar) in it.
    static QPoint inside(const QRect &available, const QPoint &wanted, const QSize &frame);
    // `wanted` moved in, then on by kCascadeStep while a window already open has that spot,
    // as far as the area lets it.
    static QPoint cascaded(const QRect &available, const QPoint &wanted, const QSize &frame,
                           const QList<QPoint> &occupied);
};
