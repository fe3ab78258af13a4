#pragma once

// Opens the windows of the main window: each one once, placed by one rule, after the
// dBA prompt where the window needs the level, and closes them all when the program ends.
// Windows are found by their name (objectName), one instance each.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class Dialogs;
class Meter;
class StoredSettings;
struct AppState;

class WindowManager : public QObject {
    Q_OBJECT
public:
    enum class Placement {
        BesideMain, // beside the main window, tops aligned, inside the screen
        TopLeft,    // the top left corner of the screen
    };
    // What the meter's display must show before the window opens.
    enum class Dba {
        Any,    // whatever it shows
        Prompt, // outside dBA mode ask "Not dBA mode, continue? "; open after either answer
        Select, // outside dBA mode switch to dBA without asking
    };

    struct Spec {
        const char *name = "";             // the window's objectName
        std::function<QWidget *()> create; // null: the window is not available
        Placement placement = Placement::BesideMain;
        Dba dba = Dba::Any;
        bool *openFlag = nullptr; // ListWindowOpen, ...: set while open; while set nothing opens
        bool reopen = false;      // an open window is closed and opened anew, not raised
    };

    WindowManager(QWidget &mainWindow, Meter &meter, AppState &state, Dialogs &dialogs,
                  QObject *parent = nullptr);
    ~WindowManager() override;

    // Opens the window of `spec`, or raises the open one. Returns the window; nullptr when
    // its open flag says it is open already or it is not available.
    QWidget *open(const Spec &spec);
    // The open window of that name (closing windows count as gone), or nullptr.
    QWidget *window(const QString &name) const;
    template <typename W> W *window(const QString &name) const
    {
        return qobject_cast<W *>(window(name));
    }

    // Puts a window where the rule says (WindowPlacement): inside the main window's screen,
    // off the spots of the windows open.
    void place(QWidget *window, Placement placement) const;
    // With settings every window, the main window too, opens where it closed last (on a
    // screen that is still there), after the rule has placed it.
    void setSettings(StoredSettings *settings);
    void restoreGeometry(QWidget *window) const;
    // The dBA prompt of the commands that need the level: outside dBA mode asks "Not dBA
    // mode, continue? ", switches the display on OK, and waits 0.2 s after either answer.
    // While another command holds the meter it asks nothing, says the meter is busy and
    // returns false: MODE presses would land in that command's traffic.
    bool dbaPrompt();
    // A window's command is waiting on the meter, a logger command runs, or the main
    // window's own check says so.
    bool meterBusy() const;
    // The main window's own commands that hold the meter (the register console).
    void setBusyCheck(std::function<bool()> busy) { mainBusy_ = std::move(busy); }
    // Closes every window (the program is ending); windows still open are deleted with
    // the manager.
    void closeAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // A window's "Keep in library" passed on a file it saved.
    void keepRequested(const QString &path, const QString &kind, const QString &meter);

private:
    void track(QWidget *window, const Spec &spec);

    QWidget &main_;
    Meter &meter_;
    AppState &state_;
    Dialogs &dialogs_;
    QList<QPointer<QWidget>> windows_;
    std::function<bool()> mainBusy_;
    StoredSettings *settings_ = nullptr;
};
