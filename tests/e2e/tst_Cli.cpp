#include "SimProcess.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// The type bits of what stands at `path`, the link itself when it is one.
mode_t typeAt(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void statusFromTheSimulator()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--status", "0x15", "--threshold", "77"}));
        QString out;
        QCOMPARE(runCli({"--port", sim.port(), "status"}, &out), 0);
        QCOMPARE(out, QStringLiteral(
                          "criterion: 84\nexchange-rate: 4\nresponse: Fast\nthreshold: 77\n"));
        QCOMPARE(sim.stop(), 0);
    }

    void displayFromTheSimulator()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--level", "94.5", "--mode", "dba", "--battery", "3", "--locked"}));
        QString out;
        QCOMPARE(runCli({"--port", sim.port(), "display"}, &out), 0);
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.mid(0, 4), (QStringList{"value: 94.5", "unit: dBA", "level-text: 094.5",
                                               "level-value: 94.5"}));
        QVERIFY(lines.contains("DbaMode: 1"));
        QVERIFY(lines.contains("KeysLocked: 1"));
        QVERIFY(lines.contains("BatteryLevel: 3"));
        QCOMPARE(sim.stop(), 0);
    }

    void registerWriteLandsInTheMeter()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath("memory.bin");
        SimProcess sim;
        QVERIFY(sim.start({"--save-memory", image}));
        QCOMPARE(runCli({"--port", sim.port(), "write", "1000", "200"}), 0);
        QString out;
        QCOMPARE(runCli({"--port", sim.port(), "read", "1000"}, &out), 0);
        QCOMPARE(out, QStringLiteral("200\n"));
        QCOMPARE(sim.stop(), 0);
        QFile file(image);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray memory = file.readAll();
        QVERIFY(memory.size() > 1000);
        QCOMPARE(quint8(memory.at(1000)), quint8(200));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::newRow("no-command") << QStringList{"--port", "sim"} << 2;
        QTest::newRow("unknown-command") << QStringList{"--port", "sim", "dance"} << 2;
        QTest::newRow("no-port") << QStringList{"status"} << 2;
        QTest::newRow("address-too-big") << QStringList{"--port", "sim", "read", "65536"} << 2;
        QTest::newRow("address-not-a-number") << QStringList{"--port", "sim", "read", "abc"} << 2;
        QTest::newRow("value-too-big") << QStringList{"--port", "sim", "write", "10", "256"} << 2;
        QTest::newRow("missing-port") << QStringList{"--port", "/dev/nonexistent", "status"} << 4;
        // Arguments are checked before the port is opened: a wrong one exits 2 whatever
        // the port.
        const auto noPort = [](const QStringList &command) {
            return QStringList{"--port", "/dev/nonexistent"} + command;
        };
        QTest::newRow("bad-argument-and-missing-port")
            << noPort({"setup", "--criterion", "99"}) << 2;
        QTest::newRow("bad-address-and-missing-port") << noPort({"read", "65536"}) << 2;
        QTest::newRow("bad-interval-and-missing-port")
            << noPort({"average", "--interval", "0:0:0", "--count", "1"}) << 2;
        QTest::newRow("erase-without-yes-and-missing-port") << noPort({"erase"}) << 2;
        QTest::newRow("good-arguments-and-missing-port")
            << noPort({"setup", "--criterion", "85"}) << 4;
        QTest::newRow("not-a-port") << QStringList{"--port", "nowhere", "status"} << 2;
        QTest::newRow("in-process-sim") << QStringList{"--port", "sim", "read", "59"} << 0;
        // --timeout: finite, from a tenth of a second to a day.
        const auto timeout = [](const char *seconds) {
            return QStringList{"--port", "sim", "--timeout", seconds, "read", "59"};
        };
        QTest::newRow("timeout-shortest") << timeout("0.1") << 0;
        QTest::newRow("timeout-a-day") << timeout("86400") << 0;
        QTest::newRow("timeout-not-a-number") << timeout("nan") << 2;
        QTest::newRow("timeout-infinite") << timeout("inf") << 2;
        QTest::newRow("timeout-too-short") << timeout("0.09") << 2;
        QTest::newRow("timeout-zero") << timeout("0") << 2;
        QTest::newRow("timeout-negative") << timeout("-5") << 2;
        QTest::newRow("timeout-over-a-day") << timeout("86400.5") << 2;
        QTest::newRow("timeout-beyond-int") << timeout("2147483648") << 2;
        QTest::newRow("timeout-words") << timeout("ten") << 2;
    }
    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QString err;
        const int code = runCli(arguments, nullptr, &err);
        QTEST(code, "code");
        if (code != 0)
            QVERIFY2(!err.trimmed().isEmpty(), "a failure says why on stderr");
    }

    // A command that writes a new file refuses, before it opens the port, an existing
    // file without --overwrite (2), an earlier download's set files (2), and anything that
    // is no regular file (1, through a link too); what stands there is left as it was.
    void writesRefused_data()
    {
        QTest::addColumn<QStringList>("command"); // %PATH%: what stands there, per `what`
        QTest::addColumn<QString>("what");        // file, fifo, link-to-fifo, device, sets
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QStringList record{"record", "--out", "%PATH%", "--count", "1"};
        const QStringList average{"average", "--interval", "0:0:1", "--count",
                                  "1",       "--out",      "%PATH%"};
        const QStringList banks{"banks", "--out", "%PATH%"};
        const QString exists = "exists; give --overwrite";
        const QString notRegular = "it is not a regular file";
        QTest::newRow("record-existing") << record << "file" << 2 << exists;
        QTest::newRow("average-existing") << average << "file" << 2 << exists;
        QTest::newRow("banks-existing") << banks << "file" << 2 << exists;
        QTest::newRow("download-earlier-sets")
            << QStringList{"download", "--out", "%PATH%"} << "sets" << 2
            << "holds the set files of an earlier download (set-1.dat, set-5.dat)";
        QTest::newRow("record-fifo") << record << "fifo" << 1 << notRegular;
        QTest::newRow("record-fifo-overwrite")
            << record + QStringList{"--overwrite"} << "fifo" << 1 << notRegular;
        QTest::newRow("average-link-to-fifo") << average << "link-to-fifo" << 1 << notRegular;
        QTest::newRow("banks-device") << banks << "device" << 1 << notRegular;
        QTest::newRow("banks-link-to-device-overwrite")
            << banks + QStringList{"--overwrite"} << "link-to-device" << 1 << notRegular;
        QTest::newRow("record-empty-name")
            << QStringList{"record", "--out", ""} << "file" << 2 << "--out needs a file name";
        QTest::newRow("average-empty-name")
            << QStringList{"average", "--interval", "0:0:1", "--count", "1", "--out", ""} << "file"
            << 2 << "--out needs a file name";
        // Found before hours of sampling, not after them.
        QTest::newRow("average-unwritable")
            << QStringList{"average", "--interval",         "0:0:1", "--count", "1",
                           "--out",   "/proc/dosemeter.avg"}
            << "file" << 2 << "cannot write /proc/dosemeter.avg";
    }
    void writesRefused()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QString target = dir.filePath("target");
        const QByteArray name = QFile::encodeName(target);
        QString path = target;
        if (what == "file") {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old\n");
        } else if (what == "sets") {
            QVERIFY(QDir().mkdir(target));
            for (const char *set : {"set-1.dat", "set-5.dat", "notes.txt"}) {
                QFile file(QDir(target).filePath(set));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("old\n");
            }
        } else if (what.endsWith("fifo")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
            QSKIP("device nodes can only be made as root");
        }
        if (what.startsWith("link-to-")) {
            path = dir.filePath("link");
            QVERIFY(QFile::link(target, path));
        }
        const mode_t before = typeAt(target);
        for (QString &argument : command)
            argument.replace("%PATH%", path);
        QString err;
        QTEST(runCli(QStringList{"--port", "/dev/nonexistent"} + command, nullptr, &err), "code");
        QFETCH(QString, message);
        QVERIFY2(err.startsWith("dosemeter-cli: ") && err.contains(message), qPrintable(err));
        QCOMPARE(typeAt(target), before);
        if (what == "file")
            QCOMPARE(fileBytes(target), QByteArray("old\n"));
        if (what == "sets")
            QCOMPARE(QDir(target).entryList(QDir::Files).size(), 3);
    }

    // --overwrite replaces the file, and a download the earlier download's set files it
    // does not replace.
    void overwriteReplaces()
    {
        QTemporaryDir dir;
        const QString banks = dir.filePath("e.bnk");
        QFile file(banks);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old\n");
        file.close();
        QCOMPARE(runCli({"--port", "sim", "banks", "--out", banks, "--overwrite"}), 0);
        QVERIFY(fileBytes(banks).startsWith("\t \t E1\t E2"));

        const QString folder = dir.filePath("shift");
        QVERIFY(QDir().mkdir(folder));
        for (int set = 1; set <= 9; ++set) {
            QFile old(QDir(folder).filePath(QStringLiteral("set-%1.dat").arg(set)));
            QVERIFY(old.open(QIODevice::WriteOnly));
        }
        QString out, err;
        QCOMPARE(runCli({"--port", "sim", "download", "--out", folder, "--overwrite"}, &out, &err),
                 0);
        const int sets = int(out.count("\nset "));
        QVERIFY(sets > 0 && sets < 9);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), sets);
        QStringList removed;
        for (int set = sets + 1; set <= 9; ++set)
            removed << QStringLiteral("set-%1.dat").arg(set);
        QCOMPARE(err, "dosemeter-cli: removed " + removed.join(", ") + " of an earlier download\n");
    }

    // A write to standard output that fails (a full disk) is said on stderr and exits 1: a
    // script must not take a cut conversion for a whole one.
    void failedStandardOutputExits1_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("convert") << QStringList{"convert", testsupport::golden("grid-form.dat"),
                                                "--csv"};
        QTest::newRow("twa") << QStringList{"twa", "--dose",          "50", "--criterion",
                                            "90",  "--exchange-rate", "5"};
        QTest::newRow("help") << QStringList{"--help"};
        QTest::newRow("meter-command") << QStringList{"--port", "sim", "read", "59"};
    }
    void failedStandardOutputExits1()
    {
        QFETCH(QStringList, arguments);
        QProcess cli;
        cli.setStandardOutputFile(QStringLiteral("/dev/full"));
        cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"), arguments);
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(QString::fromLocal8Bit(cli.readAllStandardError()),
                 QStringLiteral("dosemeter-cli: cannot write to standard output: No space left on "
                                "device\n"));
    }

    void silentMeterTimesOut()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "silent"}));
        QString err;
        double seconds = 0;
        QCOMPARE(
            runCli({"--port", sim.port(), "--timeout", "1", "status"}, nullptr, &err, &seconds), 3);
        QVERIFY(err.contains("does not answer"));
        QVERIFY(seconds >= 1.0);
        QVERIFY(seconds < 10.0);
        QCOMPARE(sim.stop(), 0);
    }
};

DOSEMETER_TEST(TestCli)
#include "tst_Cli.moc"
