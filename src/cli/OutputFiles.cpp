#include "cli/OutputFiles.h"

#include "cli/Cli.h"
#include "data/DatFile.h"
#include "data/RecordingFile.h"
#include "data/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cli {

namespace {

const QRegularExpression &setFileName()
{
    static const QRegularExpression name(QStringLiteral("^set-(\\d{1,9})\\.dat$"));
    return name;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Renames within one file system: the old name is gone and the new one there at once.
QString moveFile(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return systemReason();
    return {};
}

// Whether the folder could be made: the nearest folder above it that exists must take a
// new folder. Tried by making and removing the first missing one. Empty when it can.
QString checkCreatable(const QString &folder)
{
    QString missing = QFileInfo(folder).absoluteFilePath();
    QString above = QFileInfo(missing).path();
    while (!QFileInfo::exists(above) && above != QFileInfo(above).path()) {
        missing = above;
        above = QFileInfo(above).path();
    }
#if defined(Q_OS_UNIX)
    const QByteArray name = QFile::encodeName(missing);
    if (::mkdir(name.constData(), 0700) != 0)
        return systemReason();
    ::rmdir(name.constData());
#else
    if (!QDir().mkdir(missing))
        return QStringLiteral("the folder cannot be made");
    QDir().rmdir(missing);
#endif
    return {};
}

void syncFolder([[maybe_unused]] const QString &folder)
{
#if defined(Q_OS_UNIX)
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#endif
}

} // namespace

Result<void> checkNewFile(const QString &path, bool overwrite)
{
    if (path.isEmpty())
        return Error(ErrorKind::Usage, QStringLiteral("--out needs a file name"));
    if (const QFileInfo link(path); link.isSymLink() && !link.exists() && !overwrite)
        return Error(ErrorKind::Exists,
                     QStringLiteral("%1 is a symbolic link to nothing (%2); give --overwrite to "
                                    "write through it, or another name")
                         .arg(path, link.symLinkTarget()),
                     path);
    switch (RegularFile::kindAt(path)) {
    case RegularFile::Kind::Other:
        return Error(ErrorKind::NotRegular,
                     QStringLiteral("cannot write %1: %2")
                         .arg(path, QFileInfo(path).isDir()
                                        ? QStringLiteral("it is a folder, not a regular file")
                                        : RegularFile::kNotRegular),
                     path);
    case RegularFile::Kind::Regular:
        if (!overwrite)
            return Error(ErrorKind::Exists,
                         QStringLiteral("%1 exists; give --overwrite to replace it, or another "
                                        "name")
                             .arg(path),
                         path);
        break;
    case RegularFile::Kind::Nothing:
        break;
    }
    if (const Result<void> writable = RecordingFile::checkWritable(path); !writable)
        return Error(writable.error().kind,
                     QStringLiteral("cannot write %1: %2").arg(path, writable.error().text), path);
    return {};
}

int checkNewFile(QTextStream &err, const QString &path, bool overwrite)
{
    const Result<void> checked = checkNewFile(path, overwrite);
    return checked ? int(Exit::kOk) : failed(err, checked.error());
}

QStringList setFiles(const QString &folder)
{
    QList<std::pair<qint64, QString>> found;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::System)) {
        const QRegularExpressionMatch match = setFileName().match(name);
        if (match.hasMatch())
            found.append({match.captured(1).toLongLong(), name});
    }
    std::sort(found.begin(), found.end());
    QStringList names;
    for (const auto &file : found)
        names << file.second;
    return names;
}

int checkDownloadFolder(QTextStream &err, const QString &folder, bool overwrite)
{
    if (folder.isEmpty()) {
        err << "dosemeter-cli: --out needs a folder name\n";
        return Exit::kUsage;
    }
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        err << "dosemeter-cli: cannot write into " << folder << ": it is not a folder\n";
        return Exit::kFailed;
    }
    if (!info.exists()) {
        if (const QString reason = checkCreatable(folder); !reason.isEmpty()) {
            err << "dosemeter-cli: cannot create the folder " << folder << ": " << reason << "\n";
            return Exit::kUsage;
        }
    }
    const QStringList earlier = info.exists() ? setFiles(folder) : QStringList();
    if (!earlier.isEmpty() && !overwrite) {
        err << "dosemeter-cli: " << folder << " holds the set files of an earlier download ("
            << earlier.join(QStringLiteral(", "))
            << "); give --overwrite to replace them, or another folder\n";
        return Exit::kUsage;
    }
    return Exit::kOk;
}

Result<void> checkFreeSpace(const QString &path, qint64 bytes)
{
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (!storage.isValid() || !storage.isReady())
        return {}; // nothing known; the save says what goes wrong
    const qint64 available = storage.bytesAvailable();
    // The disk hands out whole blocks.
    const qint64 block = std::max(1, storage.blockSize());
    bytes = (bytes + block - 1) / block * block;
    if (available >= bytes)
        return {};
    return Error(ErrorKind::WriteFailed,
                 QStringLiteral("cannot write %1: %2; nothing was measured")
                     .arg(path, storage.isReadOnly()
                                    ? QStringLiteral("the disk is read-only")
                                    : QStringLiteral("no space left on the disk (%1 bytes free, "
                                                     "about %2 needed)")
                                          .arg(available)
                                          .arg(bytes)),
                 path);
}

int checkFreeSpace(QTextStream &err, const QString &path, qint64 bytes)
{
    const Result<void> checked = checkFreeSpace(path, bytes);
    return checked ? int(Exit::kOk) : failed(err, checked.error());
}

QString replaceSetFiles(const QString &folder, const QList<std::pair<QString, QByteArray>> &files,
                        QStringList &removed)
{
    const QDir target(folder);
    QTemporaryDir staging(target.filePath(QStringLiteral(".download-XXXXXX")));
    if (!staging.isValid())
        return QStringLiteral("cannot write into %1: %2").arg(folder, staging.errorString());
    const QDir stage(staging.path());
    if (!stage.mkdir(QStringLiteral("new")) || !stage.mkdir(QStringLiteral("old")))
        return QStringLiteral("cannot write into %1: %2").arg(folder, systemReason());
    QStringList written;
    for (const auto &[name, bytes] : files) {
        if (const QString error =
                DatFile::save(stage.filePath(QStringLiteral("new/") + name), bytes);
            !error.isEmpty())
            return QStringLiteral("cannot write %1: %2").arg(target.filePath(name), error);
        written << name;
    }

    // The swap: the earlier set files aside, the new ones in. A rename that fails puts
    // every file back where it was.
    const QStringList earlier = setFiles(folder);
    QStringList movedAside;
    QStringList movedIn;
    const auto undo = [&] {
        for (const QString &name : movedIn)
            moveFile(target.filePath(name), stage.filePath(QStringLiteral("new/") + name));
        for (const QString &name : movedAside)
            moveFile(stage.filePath(QStringLiteral("old/") + name), target.filePath(name));
    };
    for (const QString &name : earlier) {
        if (const QString reason =
                moveFile(target.filePath(name), stage.filePath(QStringLiteral("old/") + name));
            !reason.isEmpty()) {
            undo();
            return QStringLiteral("cannot replace %1: %2").arg(target.filePath(name), reason);
        }
        movedAside << name;
    }
    for (const QString &name : written) {
        if (const QString reason =
                moveFile(stage.filePath(QStringLiteral("new/") + name), target.filePath(name));
            !reason.isEmpty()) {
            undo();
            return QStringLiteral("cannot write %1: %2").arg(target.filePath(name), reason);
        }
        movedIn << name;
    }
    syncFolder(folder);
    removed.clear();
    for (const QString &name : earlier) {
        if (!written.contains(name))
            removed << name;
    }
    return {}; // the staging folder goes, and the earlier set files with it
}

} // namespace cli
