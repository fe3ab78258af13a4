#pragma once

// Where a window kept from an earlier run goes when the screens have changed since.

#include <QList>
#include <QRect>

// `window` moved (and shrunk when larger) so that it lies wholly inside the screen it
// overlaps most; on no screen at all, inside the first one (the primary). Unchanged when it
// already lies inside a screen, or when there is no screen.
QRect keepOnScreen(const QRect &window, const QList<QRect> &screens);
