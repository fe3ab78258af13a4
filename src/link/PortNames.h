#pragma once

// The port list of the "COM Port" window and how a chosen text becomes a port.

#include <QString>
#include <QStringList>

struct PortChoice {
    enum class Kind { Com, Device, Simulator, Auto, Invalid };
    Kind kind = Kind::Invalid;
    int comNumber = 0;  // 1..8 for "COM1".."COM8" and "Auto", else 0
    QString systemPath; // what the serial port opens: /dev/ttyS2, COM3, /dev/ttyUSB0
};

// "COMn" is /dev/ttyS<n-1> on Linux and COMn on Windows.
QString comSystemName(int n);
// "Auto", "COM1".."COM8", "Simulator", then the detected ports by system location.
QStringList portListEntries();
// The text of the list (or of --port): exact "Auto", "COM1".."COM8", "Simulator"/"sim",
// or any device path. An empty or unknown text that is no path is Invalid.
PortChoice choosePort(const QString &text);
// Caption of the port label: "COM"+n, "SIM", or the device's short name ("ttyUSB0").
QString portLabelFor(const PortChoice &choice);
