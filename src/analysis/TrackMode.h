#pragma once

// The plot's eight track modes, in the order `trackModeChoice_` lists them: what the mouse does on
// the graph, whether cursor 1 shows, and the text `trackModeDescription_` shows.

#include <QList>
#include <QString>
#include <Qt>

struct TrackMode {
    enum class Interaction { None, Cursor, Pan, Zoom };

    QString entry;       // the `trackModeChoice_` entry, "Normal" .. "ZoomY"
    int graphMode = 1;   // the graph's own mode number, 1..8
    QString description; // the `trackModeDescription_` text
    bool cursorShown = false;
    Interaction interaction = Interaction::None;
    // The directions a pan drags or a zoom rectangle changes; none for the other modes.
    Qt::Orientations directions;

    // The eight modes; position 0 is "Normal", the one selected when the window opens.
    static const QList<TrackMode> &all();
};
