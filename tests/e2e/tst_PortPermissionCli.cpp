#include "support/TestMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <grp.h>
#include <unistd.h>
#endif

// dosemeter-cli on a port the user may not open: the advice to join the port's group and
// exit status 4; a port that fails otherwise keeps the plain message. The port is a file
// owned by the user who runs the test; as root, who may open anything, the program runs
// as nobody.
class TestPortPermissionCli : public QObject {
    Q_OBJECT

private slots:
    void cliOnAPortItMayNotOpen_data()
    {
        QTest::addColumn<bool>("denied");
        QTest::addColumn<QString>("err"); // %1: the port; its start when it ends in "..."

        QTest::newRow("no-permission")
            << true
            << "No permission to open %1.\n"
               "To use the meter, your user must be in the dialout group: run\n"
               "    sudo adduser $USER dialout\n"
               "then log out and log in again.\n";
        QTest::newRow("opens-but-is-no-terminal")
            << false << "dosemeter-cli: cannot open the port %1: ...";
    }

    void cliOnAPortItMayNotOpen()
    {
#if defined(Q_OS_UNIX)
        QFETCH(bool, denied);
        QFETCH(QString, err);
        const bool root = ::geteuid() == 0;
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther));
        const QString port = dir.filePath(QStringLiteral("ttyUSB9"));
        QFile file(port);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                  QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        // As root, a file only root may use; otherwise one its owner may not use either.
        if (denied)
            mode = root ? QFile::ReadOwner | QFile::WriteOwner : QFile::Permissions();
        QVERIFY(QFile::setPermissions(port, mode));

        QProcess cli;
        if (root) {
            cli.setChildProcessModifier([] {
                const gid_t nobody = 65534;
                if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                    ::_exit(127);
            });
        }
        cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
                  {"--port", port, "status"});
        QVERIFY(cli.waitForFinished(20000));
        const QString printed = QString::fromLocal8Bit(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), 4);
        const QString expected = err.arg(port);
        if (expected.endsWith(QLatin1String("...")))
            QVERIFY2(printed.startsWith(expected.chopped(3)), qPrintable(printed));
        else
            QCOMPARE(printed, expected);
#else
        QSKIP("Serial devices and their permissions are those of a Unix system.");
#endif
    }
};

DOSEMETER_TEST(TestPortPermissionCli)
#include "tst_PortPermissionCli.moc"
