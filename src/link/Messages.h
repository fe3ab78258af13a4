#pragma once

// Texts the program shows in more than one place, one definition each. Texts of a single
// window or command live with it.

#include <QString>

namespace Messages {

// A meter command refused because the meter's keypad is locked.
inline const QString kKeyLocked = QStringLiteral("Key locked!");
// Input outside what the command takes; the user corrects it and tries again.
inline const QString kInvalid = QStringLiteral("Invalid, try again!");
// The commands that need the level ask this when the meter shows something else.
inline const QString kNotDbaMode = QStringLiteral("Not dBA mode, continue? ");
// The port could not be opened at start; the program ends.
inline const QString kNoDevice = QStringLiteral("No device available !");
// The port exists but this user may not open it. Debian gives serial devices to the
// dialout group (root:dialout 0660); membership takes effect at the next login.
inline QString noPortPermission(const QString &device)
{
    return QStringLiteral("No permission to open %1.\n"
                          "To use the meter, your user must be in the dialout group: run\n"
                          "    sudo adduser $USER dialout\n"
                          "then log out and log in again.")
        .arg(device);
}
// What the program says when the port cannot be opened at start. deniedDevice: the
// device the user lacks the permission for (SerialLink::deniedDevice()), or empty.
inline QString portNotOpened(const QString &deniedDevice)
{
    return deniedDevice.isEmpty() ? kNoDevice : noPortPermission(deniedDevice);
}
// A meter command refused while another one (a logger download, a setup run, a bank
// read) holds the meter.
inline const QString kMeterBusy =
    QStringLiteral("The meter is busy with another command. Try again when it has finished.");

} // namespace Messages
