#include "SimProcess.h"
#include "support/TestMain.h"

#include "cli/Grammars.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// The type bits of what stands at `path`, symbolic links followed; 0 when nothing does.
unsigned nodeType(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

// Makes a "file" (holding "old\n"), a "fifo" or a "device" (like /dev/null; root only) at
// `path`, or a "link" to such a device; the type bits of what was made, 0 on failure.
unsigned makeNode(const QString &path, const QString &kind)
{
    const QString target = kind == "link" ? path + ".dev" : path;
    const QByteArray name = QFile::encodeName(target);
    QFile file(path);
    const bool made = kind == "file" ? file.open(QIODevice::WriteOnly) && file.write("old\n")
                      : kind == "fifo"
                          ? ::mkfifo(name.constData(), 0600) == 0
                          : ::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0 &&
                                (kind == "device" || QFile::link(target, path));
    return made ? nodeType(path) : 0;
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
        QTest::newRow("bad-argument-and-missing-port")
            << QStringList{"--port", "/dev/nonexistent", "setup", "--criterion", "99"} << 2;
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
    // file without --overwrite (2), an earlier download's set files (2), an unwritable
    // path (2), and what is no regular file, a link to one too (1); nothing is touched.
    void writesRefused_data()
    {
        QTest::addColumn<QStringList>("command"); // %PATH%: `node`; %DIR%: its folder
        QTest::addColumn<QString>("node");
        QTest::addColumn<int>("code");
        const QStringList average{"average", "--interval", "0:0:1", "--count", "1", "--out"};
        QTest::newRow("record-existing") << QStringList{"record", "--out", "%PATH%"} << "file" << 2;
        QTest::newRow("download-earlier-sets")
            << QStringList{"download", "--out", "%DIR%"} << "file" << 2;
        QTest::newRow("average-unwritable") << average + QStringList{"/proc/x.avg"} << "file" << 2;
        QTest::newRow("average-empty-name") << average + QStringList{""} << "file" << 2;
        QTest::newRow("record-fifo")
            << QStringList{"record", "--out", "%PATH%", "--overwrite"} << "fifo" << 1;
        QTest::newRow("banks-link-to-a-device")
            << QStringList{"banks", "--out", "%PATH%", "--overwrite"} << "link" << 1;
    }
    void writesRefused()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, node);
        QTemporaryDir dir;
        const QString path = dir.filePath("set-5.dat");
        const unsigned type = makeNode(path, node);
        if (type == 0)
            QSKIP("device nodes can only be made as root");
        command.replaceInStrings("%PATH%", path).replaceInStrings("%DIR%", dir.path());
        QString err;
        QTEST(runCli(QStringList{"--port", "/dev/nonexistent"} + command, nullptr, &err), "code");
        QVERIFY2(err.startsWith("dosemeter-cli: ") && !err.contains("port"), qPrintable(err));
        QCOMPARE(nodeType(path), type);
        if (node == "file")
            QCOMPARE(QFileInfo(path).size(), 4); // "old\n"
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(),
                 node.startsWith("link") ? 2 : 1);
    }

    // With --overwrite a download removes the earlier download's set files it does not
    // replace (the built-in meter holds four runs), and names them.
    void downloadOverwriteRemovesOldSets()
    {
        QTemporaryDir dir;
        for (int set = 1; set <= 6; ++set)
            makeNode(dir.filePath(QStringLiteral("set-%1.dat").arg(set)), "file");
        QString err;
        QCOMPARE(runCli({"--port", "sim", "download", "--out", dir.path(), "--overwrite"}, nullptr,
                        &err),
                 0);
        QCOMPARE(err, "dosemeter-cli: removed set-5.dat, set-6.dat of an earlier download\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
    }

    // A failed write to standard output (a full disk) is said on stderr and exits 1: a
    // script must not take a cut conversion for a whole one.
    void failedStandardOutputExits1()
    {
        QProcess cli;
        cli.setStandardOutputFile(QStringLiteral("/dev/full"));
        cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
                  {"convert", testsupport::golden("grid-form.dat"), "--csv"});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(cli.readAllStandardError(),
                 "dosemeter-cli: cannot write to standard output: No space left on device\n");
    }

    // A command line of the wrong shape is said as each command says it, one row for each
    // way of saying it, and exits 2 before a file or the port is touched. The two setup
    // rows are the mended ones: an unknown option is never "--x needs a value".
    void wrongShapeIsSaid_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString record = "record takes --out FILE.dat [--overwrite] [--period SECONDS] "
                               "[--count N | --duration SECONDS]";
        const QString weekly = "weekly takes --lex8h L1,L2,... (1 to 7 days)";
        QTest::newRow("second-file")
            << QStringList{"histogram", "a.dat", "b.dat"}
            << "only one file, please ('b.dat' is a second); histogram takes FILE.dat "
               "--resolution 0.1|1 [--records FIRST-LAST]";
        QTest::newRow("file-option-without-value")
            << QStringList{"stats", "a.dat", "--criterion", "85", "--criterion"}
            << "--criterion needs a value; stats takes FILE.dat [--criterion 80|84|85|90] "
               "[--exchange-rate 3|4|5|6] [--threshold DB]";
        QTest::newRow("calculator-twice-before-value")
            << QStringList{"weekly", "--lex8h", "85", "--lex8h"}
            << "--lex8h is given twice; " + weekly;
        QTest::newRow("assess-twice")
            << QStringList{"assess", "a.dat", "--criteria", "x", "--criteria", "y"}
            << "--criteria is given twice";
        QTest::newRow("assess-blank-reason")
            << QStringList{"assess", "a.dat", "--exclude-overloads", "  "}
            << "--exclude-overloads needs a reason, such as \"microphone knocked\"";
        QTest::newRow("switch-twice")
            << QStringList{"protect", "--la", "90", "--dual", "--dual"} << "--dual is given twice";
        QTest::newRow("live-unknown")
            << QStringList{"--port", "sim", "record", "zzz"} << "unknown argument 'zzz'; " + record;
        QTest::newRow("terse-second-value-checked")
            << QStringList{"--port", "sim", "banks", "--bank", "1", "--bank", "9"}
            << "banks takes [--bank N] [--out FILE.bnk [--overwrite]], N 1..5";
        QTest::newRow("setup-unknown-option-last")
            << QStringList{"--port", "sim", "setup", "--zzz"} << "unknown option '--zzz'";
        QTest::newRow("setup-unknown-word")
            << QStringList{"--port", "sim", "setup", "zzz", "1"} << "unknown argument 'zzz'";
    }
    void wrongShapeIsSaid()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QString err;
        QCOMPARE(runCli(arguments, nullptr, &err), 2);
        QCOMPARE(err, "dosemeter-cli: " + message + "\n");
    }

    // The packaged bash completion offers each command the options it parses, and no
    // other: a command's grammar and its completion cannot drift apart unnoticed.
    void completionOffersTheGrammarsOptions()
    {
        QFile script(QFileInfo(testsupport::golden("grid-form.dat"))
                         .dir()
                         .filePath("../../packaging/bash-completion/dosemeter-cli"));
        QVERIFY2(script.open(QIODevice::ReadOnly), qPrintable(script.fileName()));
        const QString text = QString::fromUtf8(script.readAll());
        QHash<QString, QStringList> offered;
        static const QRegularExpression entry(
            QStringLiteral("([\\w-]+)\\)(?:(?!;;).)*?options=\"([^\"]*)\""),
            QRegularExpression::DotMatchesEverythingOption);
        for (auto m = entry.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch match = m.next();
            QStringList options = match.captured(2).simplified().split(' ');
            options.sort();
            offered.insert(match.captured(1), options);
        }
        // These commands' files also go into the library unless --no-library is given.
        const QStringList keeping{"download", "record", "banks", "average"};
        for (const QString &command : cli::grammarCommands()) {
            QStringList options;
            for (const cli::Option &option : cli::grammarOf(command).options)
                options << QString::fromLatin1(option.name);
            if (options.isEmpty())
                continue;
            if (keeping.contains(command))
                options << "--no-library";
            options.sort();
            const QString key = command.section(' ', -1);
            QVERIFY2(offered.contains(key), qPrintable(command + " is not completed"));
            QVERIFY2(offered.value(key) == options,
                     qPrintable(command + " offers " + offered.value(key).join(' ') +
                                "; it parses " + options.join(' ')));
        }
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
