#include "main/OpenLink.h"

#include "link/Clock.h"
#include "link/SerialPortLink.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"

#include <QSerialPortInfo>
#include <QStringList>

MeterLink::MeterLink() = default;
MeterLink::MeterLink(MeterLink &&) noexcept = default;
MeterLink &MeterLink::operator=(MeterLink &&) noexcept = default;
MeterLink::~MeterLink() = default;

MeterLink openLink(const QString &portText, Clock &clock)
{
    MeterLink result;
    PortChoice choice = choosePort(portText);
    if (choice.kind == PortChoice::Kind::Auto) {
        QStringList detected;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            detected << info.systemLocation();
        const QString found = probeForMeter(detected);
        if (!found.isEmpty())
            choice = choosePort(found);
    }
    result.choice = choice;

    switch (choice.kind) {
    case PortChoice::Kind::Simulator: {
        const QDateTime now = clock.now();
        result.virtualMeter = std::make_unique<VirtualMeter>(quint32(now.toSecsSinceEpoch()));
        result.virtualMeter->setClock(now, clock.monotonicSeconds());
        result.virtualMeter->loadMemory(VirtualMeter::demoMemory(now));
        result.link = std::make_unique<VirtualMeterLink>(*result.virtualMeter, clock);
        break;
    }
    case PortChoice::Kind::Invalid:
        result.link = std::make_unique<SerialPortLink>(QString(), QStringLiteral("No COM"));
        break;
    case PortChoice::Kind::Com:
    case PortChoice::Kind::Auto:
    case PortChoice::Kind::Device:
        result.link = std::make_unique<SerialPortLink>(choice.systemPath, portLabelFor(choice));
        break;
    }
    return result;
}
