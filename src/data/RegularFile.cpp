#include "data/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RegularFile {

namespace {

Error notRegular()
{
    return Error(ErrorKind::NotRegular, kNotRegular);
}

Error unreadable(const QString &reason)
{
    return Error(ErrorKind::Unreadable, reason);
}

} // namespace

Result<void> open(QFile &file, const QString &path)
{
#if defined(Q_OS_UNIX)
    // Opened without blocking and checked on the open descriptor, so that nothing can
    // swap a FIFO in between the check and the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return unreadable(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return notRegular();
    }
    // Reads of a regular file never block; the flag only mattered for the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unreadable(file.errorString());
    }
    return {};
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return notRegular();
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    return {};
#endif
}

QByteArray readUpTo(QFile &file, qint64 limit)
{
    constexpr qint64 kPieceBytes = 1 << 20;
    QByteArray bytes;
    bytes.reserve(qsizetype(std::clamp<qint64>(file.size() + 1, 0, limit + 1)));
    while (bytes.size() <= limit) {
        const QByteArray piece = file.read(std::min(kPieceBytes, limit + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    return bytes;
}

Kind kindAt(const QString &path)
{
#if defined(Q_OS_UNIX)
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return Kind::Nothing;
    return S_ISREG(status.st_mode) ? Kind::Regular : Kind::Other;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return Kind::Nothing;
    return info.isFile() ? Kind::Regular : Kind::Other;
#endif
}

Result<void> checkWritableKind(const QString &path)
{
    if (kindAt(path) == Kind::Other)
        return notRegular();
    return {};
}

} // namespace RegularFile
