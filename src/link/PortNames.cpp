#include "link/PortNames.h"

#include <QFileInfo>
#include <QSerialPortInfo>

QString comSystemName(int n)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

QStringList portListEntries()
{
    QStringList entries{QStringLiteral("Auto")};
    for (int n = 1; n <= 8; ++n)
        entries << QStringLiteral("COM%1").arg(n);
    entries << QStringLiteral("Simulator");
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString location = info.systemLocation();
        if (!entries.contains(location))
            entries << location;
    }
    return entries;
}

PortChoice choosePort(const QString &text)
{
    PortChoice choice;
    if (text == QLatin1String("Auto")) {
        choice.kind = PortChoice::Kind::Auto;
        choice.comNumber = 1;
        choice.systemPath = comSystemName(1);
        return choice;
    }
    for (int n = 1; n <= 8; ++n) {
        if (text == QStringLiteral("COM%1").arg(n)) {
            choice.kind = PortChoice::Kind::Com;
            choice.comNumber = n;
            choice.systemPath = comSystemName(n);
            return choice;
        }
    }
    if (text == QLatin1String("Simulator") || text == QLatin1String("sim")) {
        choice.kind = PortChoice::Kind::Simulator;
        return choice;
    }
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('/')) || trimmed.startsWith(QLatin1String("\\\\.\\"))) {
        choice.kind = PortChoice::Kind::Device;
        choice.systemPath = trimmed;
    }
    return choice;
}

QString portLabelFor(const PortChoice &choice)
{
    switch (choice.kind) {
    case PortChoice::Kind::Com:
    case PortChoice::Kind::Auto:
        return QStringLiteral("COM%1").arg(choice.comNumber);
    case PortChoice::Kind::Simulator:
        return QStringLiteral("SIM");
    case PortChoice::Kind::Device:
        // "/dev/ttyUSB0" -> "ttyUSB0", "/dev/pts/3" -> "pts/3"
        if (choice.systemPath.startsWith(QLatin1String("/dev/")))
            return choice.systemPath.mid(5);
        return QFileInfo(choice.systemPath).fileName();
    case PortChoice::Kind::Invalid:
        break;
    }
    return QStringLiteral("No COM");
}
