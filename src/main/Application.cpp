#include "main/Application.h"

#include "link/Meter.h"
#include "main/MainWindow.h"
#include "main/PortWindow.h"

#include <QApplication>
#include <QTimer>

Application::Application(Dialogs *dialogs) : dialogs_(dialogs ? *dialogs : qtDialogs_)
{
}

Application::~Application()
{
    delete panel_;
    delete portSelect_.data();
}

void Application::showPortSelect()
{
    portSelect_ = new PortWindow;
    connect(portSelect_, &PortWindow::portChosen, this, [this](const QString &text) {
        if (!start(text)) {
            QApplication::exit(1);
            return;
        }
        wait(clock_, 1.0);
        if (panel_ && panel_->isVisible())
            panel_->showControlPanel();
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
    panel_->show();
    if (!panel_->openPort()) {
        panel_->hide();
        return false;
    }
    return true;
}
