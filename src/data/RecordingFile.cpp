#include "data/RecordingFile.h"

#include "data/DatFile.h"
#include "data/RecordTable.h"
#include "data/RegularFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace {

QString systemError()
{
#if defined(Q_OS_UNIX)
    return QString::fromLocal8Bit(std::strerror(errno));
#else
    return QCoreApplication::translate("RecordingFile", "the system reported an error");
#endif
}

// Hands what was written to `fd` to the disk, not only to the system's cache: a power cut
// after this keeps it. Empty on success.
QString syncToDisk(int fd)
{
#if defined(Q_OS_MACOS)
    if (::fcntl(fd, F_FULLFSYNC) == 0)
        return {};
    if (::fsync(fd) == 0)
        return {};
    return systemError();
#elif defined(Q_OS_UNIX)
    if (::fdatasync(fd) == 0)
        return {};
    // Some devices (pipes, terminals) cannot be synced; there is nothing more to do there.
    if (errno == EINVAL || errno == EROFS)
        return {};
    return systemError();
#elif defined(Q_OS_WIN)
    if (::_commit(fd) == 0)
        return {};
    return QCoreApplication::translate("RecordingFile", "the data could not be handed to the disk");
#else
    Q_UNUSED(fd);
    return {};
#endif
}

// After a file is created its folder entry must reach the disk too, or a power cut can
// lose the whole file however well its data was synced.
void syncFolder([[maybe_unused]] const QString &path)
{
#if defined(Q_OS_UNIX)
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#endif
}

// True when the open file has lost its last name (deleted, or replaced by another file).
bool deleted([[maybe_unused]] int fd)
{
#if defined(Q_OS_UNIX)
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_nlink == 0;
#else
    return false;
#endif
}

} // namespace

RecordingFile::~RecordingFile()
{
    close();
}

QString RecordingFile::create(const QString &path)
{
    close();
    path_ = path;
    wholeBytes_ = 0;
    file_.setFileName(path);
#if defined(Q_OS_UNIX)
    // Opened without blocking and checked on the open descriptor before anything is
    // emptied: a FIFO would block the open until a reader came, and a device is no file.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemError();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return RegularFile::kNotRegular;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (::ftruncate(fd, 0) != 0) {
        const QString reason = systemError();
        ::close(fd);
        return reason;
    }
    // Unbuffered: every line goes to the system in one write, never half in a buffer.
    if (!file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        const QString reason = file_.errorString();
        return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
    }
#else
    if (const Result<void> refused = RegularFile::checkWritableKind(path); !refused)
        return refused.error().text;
    // Unbuffered: every line goes to the system in one write, never half in a buffer.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        const QString reason = file_.errorString();
        return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
    }
#endif
    syncFolder(path);
    if (const QString error = writeThrough(DatFile::recordingLine(RecordTable::recordHeadings()));
        !error.isEmpty()) {
        // Without its heading line the file is no recording (a full disk): none is left.
        QFile::remove(path);
        return error;
    }
    return {};
}

QString RecordingFile::append(const QStringList &cells)
{
    if (!file_.isOpen())
        return QCoreApplication::translate("RecordingFile", "the file is not open");
    return writeThrough(DatFile::recordingLine(cells));
}

QString RecordingFile::writeThrough(const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        // A short write (a full disk) is followed by one that fails and says why.
        const qint64 n = file_.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString reason = file_.errorString();
            return fail(reason.isEmpty() ? QStringLiteral("unknown error") : reason);
        }
        done += n;
    }
    if (!file_.flush())
        return fail(file_.errorString());
    if (const QString error = syncToDisk(file_.handle()); !error.isEmpty())
        return fail(error);
    if (deleted(file_.handle()))
        return fail(QCoreApplication::translate("RecordingFile", "the file was deleted"));
    wholeBytes_ += bytes.size();
    return {};
}

QString RecordingFile::fail(const QString &reason)
{
    // The file ends with its last whole line, so that it reads back as whole records.
    if (file_.size() != wholeBytes_ && file_.resize(wholeBytes_))
        syncToDisk(file_.handle());
    file_.close();
    return reason;
}

void RecordingFile::close()
{
    if (file_.isOpen())
        file_.close();
}

Result<void> RecordingFile::checkWritable(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Error(ErrorKind::NotRegular,
                     QCoreApplication::translate("RecordingFile", "it is a folder"));
    // Checked before any open: opening a FIFO to write blocks until a reader comes.
    if (const Result<void> refused = RegularFile::checkWritableKind(path); !refused)
        return refused;
    const bool existed = info.exists();
    QFile file(path);
    // Append does not shorten an existing file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QString reason = file.errorString();
        return Error(ErrorKind::Usage, reason.isEmpty() ? QStringLiteral("unknown error") : reason);
    }
    file.close();
    if (!existed)
        file.remove();
    return {};
}
