#pragma once

// The look shared by the program's windows: a light panel background, white cards
// with a small caption over each value, plain grids.

#include <QString>

class QFrame;
class QLabel;
class QWidget;

namespace Theme {

// The style sheet of a window; `extra` adds rules of its own.
QString windowStyleSheet(const QString &extra = QString());
// A label shown as a caption (small, grey) or as a value (boxed, bold).
QLabel *caption(const QString &text, QWidget *parent = nullptr);
QLabel *value(const QString &text = QString(), QWidget *parent = nullptr);
// A white card: the caption over the value.
QFrame *card(const QString &caption, QWidget *value);

} // namespace Theme
