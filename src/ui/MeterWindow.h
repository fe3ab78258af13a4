#pragma once

// The base of every window the main window opens. It
// - names controls one way: objectName is the control's name in the program, and a control
//   without visible text (an edit box, a gauge, a graph) also gets an accessible name and
//   description, so screen readers and accessibility-based tests reach it;
// - keeps the window alive while one of its own commands waits on the meter: a close asked
//   for meanwhile hides the window at once and takes effect when the command ends, and the
//   command sees closing() and ends quietly;
// - refuses meter commands while the meter's keys are locked ("Key locked!") or while
//   another command holds the meter;
// - emits closed() once when it has closed, before it is deleted.

#include <QWidget>

#include <functional>

class Dialogs;
class Meter;

class MeterWindow : public QWidget {
    Q_OBJECT
public:
    // name: the window's name in the program (its objectName); caption: its title.
    MeterWindow(Meter &meter, Dialogs &dialogs, const char *name, const QString &caption,
                QWidget *parent = nullptr);
    ~MeterWindow() override;

    Meter &meter() const { return meter_; }
    Dialogs &dialogs() const { return dialogs_; }

    // The window has been asked to close (its close may still wait for a command to end).
    bool closing() const { return closing_; }
    // One of this window's commands is inside a wait on the meter.
    bool commandRunning() const { return commands_ > 0; }

    // The file whose records the window shows, named on its prints; empty for data that
    // comes from the meter.
    const QString &sourceName() const { return sourceName_; }
    void setSourceName(const QString &name) { sourceName_ = name; }

    // What else holds the meter (a logger download, another window's command); set by the
    // window manager. Without it only the key lock refuses commands.
    void setBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }

    // Names a control: objectName `name`; for controls without visible text also the
    // accessible name and description.
    template <typename T> static T *named(T *control, const char *name)
    {
        control->setObjectName(QLatin1String(name));
        return control;
    }
    template <typename T>
    static T *named(T *control, const char *name, const QString &accessibleName,
                    const QString &description)
    {
        named(control, name);
        describe(control, accessibleName, description);
        return control;
    }
    static void describe(QWidget *control, const QString &accessibleName,
                         const QString &description);

signals:
    void closed();

protected:
    // Holds the window open for the length of one command that waits on the meter. A close
    // asked for meanwhile takes effect when the last command ends.
    class Command {
    public:
        explicit Command(MeterWindow &window);
        ~Command();
        Command(const Command &) = delete;
        Command &operator=(const Command &) = delete;

    private:
        MeterWindow &window_;
    };

    // True when a meter command may start now. While the keys are locked it says "Key
    // locked!" (checkKeyLock); while another command holds the meter it says so.
    bool mayRunCommand(bool checkKeyLock = true);
    // True while another command holds the meter.
    bool meterBusy() const { return busy_ && busy_(); }

    // After a panel of the window was hidden: the height the panel took when it showed goes
    // back, so that no blank band is left where it was.
    void shrinkToContents();

    // Runs once when the close takes effect (stop timers here); the default does nothing.
    virtual void windowClosing() {}

    void closeEvent(QCloseEvent *event) override;

private:
    Meter &meter_;
    Dialogs &dialogs_;
    std::function<bool()> busy_;
    QString sourceName_;
    int commands_ = 0;
    bool closing_ = false;
    bool closePending_ = false;
    bool closedEmitted_ = false;
};
