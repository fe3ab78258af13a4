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
// A meter command refused while another one (a logger download, a setup run, a bank
// read) holds the meter.
inline const QString kMeterBusy =
    QStringLiteral("The meter is busy with another command. Try again when it has finished.");

} // namespace Messages
