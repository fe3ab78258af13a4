#include "main/Application.h"

#include "link/Meter.h"
#include "main/MainWindow.h"
#include "main/PortWindow.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <utility>

namespace {

// The program's icon, from the sizes built into it (src/main/CMakeLists.txt).
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/io.github.dosemeter.DoseMeter.png").arg(size),
                     QSize(size, size));
    return icon;
}

} // namespace

Application::Application(Dialogs *dialogs, const QString &settingsFile)
    : settings_(settingsFile), dialogs_(dialogs ? *dialogs : qtDialogs_)
{
    qtDialogs_.setSettings(&settings_);
    // Every window without an icon of its own shows the program's.
    QApplication::setWindowIcon(programIcon());
}

Application::~Application()
{
    delete panel_;
    delete portSelect_.data();
}

void Application::showPortSelect()
{
    portSelect_ = new PortWindow(settings_.lastPort());
    connect(portSelect_, &PortWindow::portChosen, this, [this](const QString &text) {
        if (!start(text)) {
            QApplication::exit(1);
            return;
        }
        wait(clock_, 1.0);
        if (panel_ && panel_->isVisible()) {
            panel_->showControlPanel();
            openFilesGiven();
        }
        if (portSelect_)
            portSelect_->close();
    });
    portSelect_->show();
}

void Application::startWithPort(const QString &port, const QStringList &open)
{
    // Queued so that the event loop runs before the first wait.
    QTimer::singleShot(0, this, [this, port, open] {
        if (!start(port)) {
            QApplication::exit(1);
            return;
        }
        QTimer::singleShot(1000, this, [this, open] {
            if (!panel_ || !panel_->isVisible())
                return;
            panel_->showControlPanel();
            openFilesGiven();
            // By now the poll has read the display, so the dBA prompt asks only when needed.
            for (const QString &entry : open) {
                if (!panel_->openDisplayEntry(entry))
                    qWarning("dosemeter: the Display menu has no entry \"%s\"", qPrintable(entry));
            }
        });
    });
}

bool Application::start(const QString &portText)
{
    meterLink_ = openLink(portText, clock_);
    meterState_.link.ComPortNumber = meterLink_.choice.comNumber;
    meter_ = std::make_unique<Meter>(*meterLink_.link, clock_, meterState_);
    panel_ = new MainWindow(*meter_, appState_, dialogs_);
    panel_->useSettings(&settings_);
    panel_->show();
    if (!panel_->openPort()) {
        panel_->hide();
        return false;
    }
    settings_.setLastPort(portText);
    return true;
}

void Application::openFilesGiven()
{
    // After the control panel, so that each file's window is placed beside it, or over it
    // where the screen has no room, and never under it.
    const QStringList paths = std::exchange(filesToOpen_, {});
    for (const QString &path : paths)
        panel_->openFile(path);
}
