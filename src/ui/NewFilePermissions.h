#pragma once

// The permissions a new file takes from the user's umask: 0644 under umask 022, 0600
// under 077. A file written first as a temporary file beside its target starts as 0600,
// which other users and programs (a mail client, a print server) cannot open; it is given
// these before it is put in place.

#include <QFileDevice>
#include <QString>

namespace NewFilePermissions {

// 0666 less the umask.
QFileDevice::Permissions fromUmask();

// Gives the file at `path` those permissions; false when they cannot be set.
bool apply(const QString &path);

} // namespace NewFilePermissions
