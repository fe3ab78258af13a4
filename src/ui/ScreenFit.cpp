#include "ui/ScreenFit.h"

#include <algorithm>

namespace {

qint64 overlapArea(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

} // namespace

QRect keepOnScreen(const QRect &window, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return window;
    QRect screen = screens.constFirst();
    qint64 best = 0;
    for (const QRect &candidate : screens) {
        if (candidate.contains(window))
            return window;
        if (const qint64 area = overlapArea(window, candidate); area > best) {
            best = area;
            screen = candidate;
        }
    }
    QRect fitted = window;
    fitted.setWidth(std::min(window.width(), screen.width()));
    fitted.setHeight(std::min(window.height(), screen.height()));
    fitted.moveLeft(std::clamp(window.left(), screen.left(), screen.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(window.top(), screen.top(), screen.bottom() - fitted.height() + 1));
    return fitted;
}
