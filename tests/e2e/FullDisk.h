#pragma once

// A small file system of its own (a tmpfs), filled up, for the tests of what the commands
// do on a full disk. Mounting takes root: where it cannot be had, mounted() is false and
// the test skips.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class FullDisk {
public:
    explicit FullDisk(int kilobytes = 64)
    {
        mounted_ = dir_.isValid() && QProcess::execute(QStringLiteral("mount"),
                                                       {"-t", "tmpfs", "-o",
                                                        QStringLiteral("size=%1k").arg(kilobytes),
                                                        "tmpfs", dir_.path()}) == 0;
    }
    ~FullDisk()
    {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {dir_.path()});
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return QDir(dir_.path()).filePath(name); }

    // Fills what is free with the file "filler", leaving about `freeBytes` (whole 4 KiB
    // pages) free.
    void fill(qint64 freeBytes = 0)
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        filler.resize((filler.size() - freeBytes) / 4096 * 4096);
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};
