// What the file-writing commands leave on the disk when the disk is full, a download
// fails part way, the folder cannot be made or the path is a symbolic link to nothing.

#include "FullDisk.h"
#include "SimProcess.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestWritePathsE2e : public QObject {
    Q_OBJECT

private slots:
    // Nothing is measured for a file that cannot be saved, and no empty file is left.
    void fullDisk_data()
    {
        QTest::addColumn<QStringList>("command"); // %PATH%: the file on the full disk
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        QTest::newRow("record") << QStringList{"--port", "sim",     "record", "--out",
                                               "%PATH%", "--count", "3",      "--no-library"}
                                << 1 << "No space left on device";
        // Found before the port is opened: the port does not exist.
        QTest::newRow("average") << QStringList{"--port",  "/dev/nonexistent",
                                                "average", "--interval",
                                                "0:0:1",   "--count",
                                                "60",      "--out",
                                                "%PATH%"}
                                 << 1 << "no space left on the disk";
        QTest::newRow("banks") << QStringList{"--port", "/dev/nonexistent", "banks", "--out",
                                              "%PATH%"}
                               << 1 << "no space left on the disk";
    }
    void fullDisk()
    {
        QFETCH(QStringList, command);
        FullDisk disk;
        if (!disk.mounted())
            QSKIP("a small file system can only be mounted as root");
        disk.fill();
        const QString path = disk.filePath("out.file");
        command.replaceInStrings("%PATH%", path);
        QString err;
        QTEST(runCli(command, nullptr, &err), "code");
        QFETCH(QString, said);
        QVERIFY2(err.contains(said), qPrintable(err));
        QVERIFY2(!QFileInfo::exists(path), qPrintable(err));
        QCOMPARE(entries(disk.path()), QStringList{"filler"});
    }

    // A download that cannot be saved whole leaves the folder as it was: no set file of its
    // own, no earlier set file replaced or removed, no temporary folder.
    void downloadFailsPartWay_data()
    {
        QTest::addColumn<bool>("earlierSets");
        QTest::newRow("into-an-empty-folder") << false;
        QTest::newRow("over-an-earlier-download") << true;
    }
    void downloadFailsPartWay()
    {
        QFETCH(bool, earlierSets);
        // The sizes of the built-in meter's set files, downloaded where there is room.
        QTemporaryDir roomy;
        QCOMPARE(runCli({"--port", "sim", "download", "--out", roomy.path(), "--no-library"}), 0);
        const QStringList sets{"set-1.dat", "set-2.dat", "set-3.dat", "set-4.dat"};
        QCOMPARE(QDir(roomy.path()).entryList(QDir::Files, QDir::Name), sets);

        FullDisk disk(256);
        if (!disk.mounted())
            QSKIP("a small file system can only be mounted as root");
        const QString folder = disk.filePath("download");
        QVERIFY(QDir().mkdir(folder));
        if (earlierSets) {
            for (const QString &name : sets) {
                QFile old(QDir(folder).filePath(name));
                QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
            }
        }
        // Room for the first set file, not for the second.
        disk.fill(QFileInfo(QDir(roomy.path()).filePath("set-1.dat")).size() + 4096);
        QStringList command{"--port", "sim", "download", "--out", folder, "--no-library"};
        if (earlierSets)
            command << "--overwrite";
        QString out;
        QString err;
        QCOMPARE(runCli(command, &out, &err), 1);
        QVERIFY2(err.contains("No space left on device"), qPrintable(err));
        QCOMPARE(out, QString());
        QCOMPARE(entries(folder), earlierSets ? sets : QStringList());
        for (const QString &name : entries(folder))
            QCOMPARE(fileBytes(QDir(folder).filePath(name)), QByteArray("old\n"));
    }

    // A folder that cannot be made is found before the port is opened.
    void uncreatableDownloadFolder_data()
    {
        QTest::addColumn<QString>("folder"); // %DIR%: a temporary folder holding "file"
        QTest::newRow("below-a-file") << "%DIR%/file/sets";
        QTest::newRow("below-a-read-only-file-system") << "/proc/sets";
    }
    void uncreatableDownloadFolder()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        folder.replace("%DIR%", dir.path());
        QString err;
        QCOMPARE(runCli({"--port", "/dev/nonexistent", "download", "--out", folder}, nullptr, &err),
                 2);
        QVERIFY2(err.startsWith("dosemeter-cli: cannot create the folder " + folder + ": "),
                 qPrintable(err));
        QVERIFY(!QFileInfo::exists(folder));
    }

    // Writing through a symbolic link to nothing would create a file wherever it points:
    // without --overwrite every file-writing command refuses it, before the port is opened.
    void danglingLinkRefused_data()
    {
        QTest::addColumn<QStringList>("command"); // %PATH%: the link; %DIR%: its folder
        QTest::newRow("record") << QStringList{"record", "--out", "%PATH%"};
        QTest::newRow("average") << QStringList{"average", "--interval", "0:0:1", "--count",
                                                "1",       "--out",      "%PATH%"};
        QTest::newRow("banks") << QStringList{"banks", "--out", "%PATH%"};
        QTest::newRow("report") << QStringList{"report", "--out", "%PATH%",
                                               testsupport::golden("levels.dat")};
        QTest::newRow("download") << QStringList{"download", "--out", "%DIR%"};
    }
    void danglingLinkRefused()
    {
        QFETCH(QStringList, command);
        QTemporaryDir dir;
        const QString path = dir.filePath("set-1.dat");
        const QString target = dir.filePath("elsewhere");
        QVERIFY(QFile::link(target, path));
        command.replaceInStrings("%PATH%", path).replaceInStrings("%DIR%", dir.path());
        QString err;
        QCOMPARE(runCli(QStringList{"--port", "/dev/nonexistent"} + command, nullptr, &err), 2);
        QVERIFY2(err.startsWith("dosemeter-cli: ") && err.contains("--overwrite") &&
                     !err.contains("port"),
                 qPrintable(err));
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(QFileInfo(path).symLinkTarget(), target);
    }
};

DOSEMETER_TEST(TestWritePathsE2e)
#include "tst_WritePathsCli.moc"
