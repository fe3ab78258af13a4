#pragma once

// "Keep in library": a check box beside a window's Save, checked at first. The window tells
// it every file it saved; while checked, it passes the file on (keepRequested) and the main
// window stores it in the measurement library. Unchecked, a save writes the file only.

#include <QCheckBox>

class QBoxLayout;
class QToolBar;

class KeepInLibraryBox : public QCheckBox {
    Q_OBJECT
public:
    // kind: the library's name for what the window saves ("run", "list", "banks", "average").
    explicit KeepInLibraryBox(const QString &kind, QWidget *parent = nullptr);

    // A new box right after `save` in its toolbar, or after the `save` button in `layout`.
    static KeepInLibraryBox *addBeside(QToolBar *toolbar, QAction *save, const QString &kind);
    static KeepInLibraryBox *addBeside(QBoxLayout *layout, QWidget *save, const QString &kind);

    // Called once a save has written `path`; `meter` is the meter's ID code where the window
    // knows it.
    void fileSaved(const QString &path, const QString &meter = QString());

signals:
    void keepRequested(const QString &path, const QString &kind, const QString &meter);

private:
    QString kind_;
};
