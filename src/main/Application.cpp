#include "main/Application.h"

#include "link/Meter.h"
#include "link/PortNames.h"
#include "link/SerialPortLink.h"
#include "main/Panel.h"
#include "main/PortSelect.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"

#include <QApplication>
#include <QSerialPortInfo>
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
    portSelect_ = new PortSelect;
    connect(portSelect_, &PortSelect::portChosen, this, [this](const QString &text) {
        if (!start(text)) {
            QApplication::exit(1);
            return;
        }
        Wait(clock_, 1.0);
        if (panel_ && panel_->isVisible())
            panel_->showControlPanel();
        if (portSelect_)
            portSelect_->close();
    });
    portSelect_->show();
}

void Application::startWithPort(const QString &port)
{
    // Queued so that the event loop runs before the first wait.
    QTimer::singleShot(0, this, [this, port] {
        if (!start(port)) {
            QApplication::exit(1);
            return;
        }
        QTimer::singleShot(1000, this, [this] {
            if (panel_ && panel_->isVisible())
                panel_->showControlPanel();
        });
    });
}

bool Application::start(const QString &portText)
{
    PortChoice choice = choosePort(portText);
    if (choice.kind == PortChoice::Kind::Auto) {
        // Auto takes the first detected port that answers the status request; when
        // none does, it stays on port 1.
        QStringList detected;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            detected << info.systemLocation();
        const QString found = probeForMeter(detected);
        if (!found.isEmpty())
            choice = choosePort(found);
    }
    meterState_.link.ComPortNumber = choice.comNumber;

    switch (choice.kind) {
    case PortChoice::Kind::Simulator:
        virtualMeter_ = std::make_unique<VirtualMeter>(quint32(clock_.now().toSecsSinceEpoch()));
        virtualMeter_->setClock(clock_.now(), clock_.monotonicSeconds());
        virtualMeter_->loadMemory(VirtualMeter::demoMemory(clock_.now()));
        link_ = std::make_unique<VirtualMeterLink>(*virtualMeter_, clock_);
        break;
    case PortChoice::Kind::Invalid:
        // Opening fails below, with the program's one message for it.
        link_ = std::make_unique<SerialPortLink>(QString(), QStringLiteral("No COM"));
        break;
    default:
        link_ = std::make_unique<SerialPortLink>(choice.systemPath, portLabelFor(choice));
        break;
    }
    meter_ = std::make_unique<Meter>(*link_, clock_, meterState_);
    panel_ = new Panel(*meter_, appState_, dialogs_);
    panel_->show();
    if (!panel_->Form_Load()) {
        panel_->hide();
        return false;
    }
    return true;
}
