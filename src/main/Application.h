#pragma once

// The program's start: the port choice, then the main window and, a second later, the
// remote control panel. Owns the link, the clock and the shared state.

#include "link/Clock.h"
#include "link/MeterState.h"
#include "main/AppState.h"
#include "main/OpenLink.h"
#include "main/PortWindow.h"
#include "ui/Dialogs.h"
#include "ui/StoredSettings.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class Meter;
class MainWindow;

class Application : public QObject {
    Q_OBJECT
public:
    // dialogs: where messages go (Qt's dialogs when null). settingsFile: where the settings
    // kept between runs live (the user's settings file when empty).
    explicit Application(Dialogs *dialogs = nullptr, const QString &settingsFile = {});
    ~Application() override;

    // Shows the "COM Port" window; the rest follows its OK.
    void showPortSelect();
    // Starts with a port given on the command line (a path, COMn or sim); a second later,
    // with the control panel, opens the Display menu entries named in `open` ("Graph").
    void startWithPort(const QString &port, const QStringList &open = {});

    // `dosemeter FILE...`: files to open once the main window is up, each in its window.
    void openAtStart(const QStringList &paths) { filesToOpen_ = paths; }

    // --library: the measurement library of this run, a file or a postgresql:// address.
    void setLibraryLocation(const QString &location) { appState_.library.location = location; }

    MainWindow *panel() const { return panel_; }
    PortWindow *portSelect() const { return portSelect_; }

private:
    // Opens the main window on the chosen port; false when the program must end.
    bool start(const QString &portText);
    // The files of openAtStart(), each in its window, once the control panel is up.
    void openFilesGiven();

    StoredSettings settings_;
    QStringList filesToOpen_;
    SystemClock clock_;
    QtDialogs qtDialogs_;
    Dialogs &dialogs_;
    MeterState meterState_;
    AppState appState_;
    MeterLink meterLink_;
    std::unique_ptr<Meter> meter_;
    MainWindow *panel_ = nullptr;
    QPointer<PortWindow> portSelect_;
};
