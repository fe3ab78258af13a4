#pragma once

// The desktop's usual keys for a window's own commands: Ctrl+O opens, Ctrl+S saves,
// Ctrl+P prints (or opens the report that prints), wherever the window has that command as a
// menu entry, a toolbar button or a push button; Esc closes the window, as it closes a dialog.

class QWidget;

// Gives the first command of each kind in `window` its key, unless a command of the window
// has that key already (one key, one command: Qt runs neither of two that share one).
void addStandardShortcuts(QWidget *window);
