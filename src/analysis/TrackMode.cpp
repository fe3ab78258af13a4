#include "analysis/TrackMode.h"

const QList<TrackMode> &TrackMode::all()
{
    using I = Interaction;
    const Qt::Orientations both = Qt::Horizontal | Qt::Vertical;
    static const QList<TrackMode> modes{
        {QStringLiteral("Normal"), 1, QStringLiteral("Normal mode"), false, I::None, {}},
        {QStringLiteral("Cursor Coordinates"),
         2,
         QStringLiteral("Drag the cursor with your mouse to get X (Count) and Y (dB) position."),
         true,
         I::Cursor,
         {}},
        {QStringLiteral("PanXY"), 3,
         QStringLiteral("Click anywhere on the plot area and drag to pan the graph both "
                        "horizontally and vertically."),
         false, I::Pan, both},
        {QStringLiteral("PanX"), 4,
         QStringLiteral("Click anywhere on the plot area and drag to pan the graph horizontally."),
         false, I::Pan, Qt::Horizontal},
        {QStringLiteral("PanY"), 5,
         QStringLiteral("Click anywhere on the plot area and drag to pan the graph vertically."),
         false, I::Pan, Qt::Vertical},
        {QStringLiteral("ZoomXY"), 6,
         QStringLiteral("Select a region on the graph to zoom both horizontally and vertically."),
         false, I::Zoom, both},
        {QStringLiteral("ZoomX"), 7,
         QStringLiteral("Select a region on the graph to zoom horizontally."), false, I::Zoom,
         Qt::Horizontal},
        {QStringLiteral("ZoomY"), 8,
         QStringLiteral("Select a region on the graph to zoom vertically."), false, I::Zoom,
         Qt::Vertical},
    };
    return modes;
}
