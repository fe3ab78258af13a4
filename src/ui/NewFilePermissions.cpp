#include "ui/NewFilePermissions.h"

#include <QFile>

#include <sys/stat.h>

namespace NewFilePermissions {

namespace {

// The process's umask. Linux tells it in /proc without changing it; elsewhere it is set
// and put back at once.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask & 0777);
            }
        }
    }
    const mode_t mask = ::umask(0022);
    ::umask(mask);
    return mask;
}

} // namespace

QFileDevice::Permissions fromUmask()
{
    const mode_t mode = 0666 & ~currentUmask();
    QFileDevice::Permissions permissions;
    const std::pair<mode_t, QFileDevice::Permissions> bits[] = {
        {S_IRUSR, QFileDevice::ReadOwner | QFileDevice::ReadUser},
        {S_IWUSR, QFileDevice::WriteOwner | QFileDevice::WriteUser},
        {S_IRGRP, QFileDevice::ReadGroup},
        {S_IWGRP, QFileDevice::WriteGroup},
        {S_IROTH, QFileDevice::ReadOther},
        {S_IWOTH, QFileDevice::WriteOther},
    };
    for (const auto &[bit, permission] : bits) {
        if (mode & bit)
            permissions |= permission;
    }
    return permissions;
}

bool apply(const QString &path)
{
    return QFile::setPermissions(path, fromUmask());
}

} // namespace NewFilePermissions
