#include "LoggerRig.h"
#include "link/Messages.h"

#include "cli/Cli.h"
#include "data/DatFile.h"
#include "data/LoggerSettings.h"
#include "data/LoggerWindow.h"
#include "data/RecordGrid.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <sys/stat.h>

namespace {

struct CliRig : LoggerRig {
    QString outText;
    QString errText;
    QTextStream out{&outText};
    QTextStream err{&errText};
    cli::Context context{meter, out, err, 10.0, false};

    using LoggerRig::LoggerRig;
    QStringList outLines()
    {
        out.flush();
        return outText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString errors()
    {
        err.flush();
        return errText;
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLoggerCli : public QObject {
    Q_OBJECT

private slots:
    void downloadWritesEverySet()
    {
        CliRig rig(rig::threeRuns());
        QTemporaryDir dir;
        QCOMPARE(cli::download(rig.context, {"--out", dir.path()}), int(cli::kOk));
        QCOMPARE(rig.outLines(),
                 QStringList({"id-code: 1234", "interval: 1", "memory: 32 K", "remaining: 29.5 K",
                              "set 1\t2009/11/28\t08:00:00\t1.0\t5",
                              "set 2\t2009/11/29\t23:59:30\t60.0\t40",
                              "set 3\t2009/12/31\t23:59:58\t0.5\t12"}));
        QVERIFY(rig.errors().isEmpty());

        // Each file is what the logger window's Save writes for that set, empty notes.
        WindowRigForSave window(rig::threeRuns());
        for (int k = 1; k <= 3; ++k) {
            const QString path = dir.filePath(QStringLiteral("set-%1.dat").arg(k));
            QCOMPARE(fileBytes(path), window.saved(k));
        }
    }

    void stalledDownloadExits3()
    {
        CliRig rig(rig::threeRuns());
        VirtualMeter::Faults faults;
        faults.stallAfter = 9 + 100;
        rig.vm.setFaults(faults);
        QTemporaryDir dir;
        QCOMPARE(cli::download(rig.context, {"--out", dir.path()}), int(cli::kNoAnswer));
        QVERIFY(rig.errors().contains(QStringLiteral("100 of 967 bytes")));
        QVERIFY(rig.outLines().isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    // A download the line damaged is tried again --retries times; a failure prints no
    // figure and writes no file.
    void downloadRetries_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<int>>("damagedStreams");
        QTest::addColumn<int>("exit");
        QTest::addColumn<int>("tries");
        QTest::newRow("clean") << QStringList() << QList<int>{} << int(cli::kOk) << 1;
        QTest::newRow("damaged-once") << QStringList() << QList<int>{1} << int(cli::kOk) << 2;
        QTest::newRow("damaged-once-no-retries")
            << QStringList{"--retries", "0"} << QList<int>{1} << int(cli::kNoAnswer) << 1;
        QTest::newRow("damaged-twice")
            << QStringList() << QList<int>{1, 2} << int(cli::kNoAnswer) << 2;
        QTest::newRow("damaged-twice-two-retries")
            << QStringList{"--retries", "2"} << QList<int>{1, 2} << int(cli::kOk) << 3;
        // Streams 1 and 2 of one verified download disagree; the third decides.
        QTest::newRow("verified") << QStringList{"--verify"} << QList<int>{1} << int(cli::kOk) << 1;
    }
    void downloadRetries()
    {
        QFETCH(QStringList, options);
        QFETCH(QList<int>, damagedStreams);
        QFETCH(int, exit);
        QFETCH(int, tries);
        CliRig rig(rig::threeRuns());
        QList<LineEdit> edits;
        for (int stream : damagedStreams)
            edits.append({stream, 0x0319 + 1, 0x80}); // set 2's month: 0x91
        DamagingLink damaging(rig.link, edits);
        Meter meter(damaging, rig.clock, rig.state);
        cli::Context context{meter, rig.out, rig.err, 10.0, false};
        QTemporaryDir dir;
        QCOMPARE(cli::download(context, QStringList{"--out", dir.path()} + options), exit);
        const QString damaged = QStringLiteral("dosemeter-cli: Set 2 of 3 arrived damaged: its "
                                               "start reads 2009/91/29 23:59:30.") +
                                LoggerDownload::kLineDamagedEnd;
        QCOMPARE(rig.vm.received().count("U"), 2 * (options.contains("--verify") ? 3 : tries));
        if (exit == cli::kOk) {
            QCOMPARE(rig.outLines().size(), 7);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
            QCOMPARE(rig.errors(), QString(damaged + " Trying again.\n").repeated(tries - 1));
        } else {
            QVERIFY(rig.outLines().isEmpty());
            QVERIFY(QDir(dir.path()).isEmpty());
            QCOMPARE(rig.errors(),
                     QString(damaged + " Trying again.\n").repeated(tries - 1) + damaged + "\n");
        }
    }

    void downloadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no-out") << QStringList{"--verify"};
        QTest::newRow("out-without-folder") << QStringList{"--out"};
        QTest::newRow("retries-negative") << QStringList{"--out", "x", "--retries", "-1"};
        QTest::newRow("retries-not-a-number") << QStringList{"--out", "x", "--retries", "one"};
        QTest::newRow("retries-too-many") << QStringList{"--out", "x", "--retries", "101"};
        QTest::newRow("unknown-option") << QStringList{"--out", "x", "--fast"};
    }
    void downloadArguments()
    {
        QFETCH(QStringList, args);
        CliRig rig(rig::threeRuns());
        QCOMPARE(cli::download(rig.context, args), int(cli::kUsage));
        QVERIFY(rig.vm.received().isEmpty());
        QVERIFY(rig.outLines().isEmpty());
    }

    void eraseNeedsYes_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<bool>("erased");
        QTest::newRow("without-yes") << QStringList() << int(cli::kUsage) << false;
        QTest::newRow("something-else") << QStringList({"--no"}) << int(cli::kUsage) << false;
        QTest::newRow("with-yes") << QStringList({"--yes"}) << int(cli::kOk) << true;
        // clang-format on
    }
    void eraseNeedsYes()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, erased);
        CliRig rig(rig::threeRuns());
        QTEST(cli::erase(rig.context, args), "exit");
        QCOMPARE(rig.vm.received().endsWith("EEE"), erased);
        QCOMPARE(rig.vm.reg(MemoryMap::kRunCount) == 0, erased);
        if (!erased)
            QVERIFY(rig.vm.received().isEmpty());
    }

    void registerSettings_data()
    {
        // clang-format off
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("printed");  // stdout on success, stderr on refusal
        QTest::addColumn<int>("address");      // high byte's register
        QTest::addColumn<int>("word");
        QTest::newRow("id-largest") << "set-id" << "65535" << false << int(cli::kOk) << "id-code: 65535" << 0x02 << 65535;
        QTest::newRow("id-too-large") << "set-id" << "65536" << false << int(cli::kUsage) << LoggerSettings::kIdCodeInvalid << 0x02 << 1234;
        QTest::newRow("id-not-digits") << "set-id" << "12a" << false << int(cli::kUsage) << LoggerSettings::kIdCodeInvalid << 0x02 << 1234;
        QTest::newRow("id-keys-locked") << "set-id" << "7" << true << int(cli::kUsage) << Messages::kKeyLocked << 0x02 << 1234;
        QTest::newRow("interval-twelve-and-a-half") << "set-interval" << "12.5" << false << int(cli::kOk) << "interval: 12.5" << 0x13 << 125;
        QTest::newRow("interval-too-small") << "set-interval" << "0.05" << false << int(cli::kUsage) << LoggerSettings::kIntervalInvalid << 0x13 << 10;
        QTest::newRow("interval-negative") << "set-interval" << "-3" << false << int(cli::kUsage) << LoggerSettings::kIntervalInvalid << 0x13 << 10;
        // clang-format on
    }
    void registerSettings()
    {
        QFETCH(QString, command);
        QFETCH(QString, value);
        QFETCH(bool, locked);
        QFETCH(int, exit);
        QFETCH(QString, printed);
        QFETCH(int, address);
        CliRig rig(rig::threeRuns());
        rig.vm.setLocked(locked);
        const int code = command == QLatin1String("set-id")
                             ? cli::setId(rig.context, {value})
                             : cli::setInterval(rig.context, {value});
        QCOMPARE(code, exit);
        if (exit == cli::kOk)
            QCOMPARE(rig.outLines(), QStringList({printed}));
        else
            QCOMPARE(rig.errors(), printed + "\n");
        // The ID code keeps its high byte first in memory, the interval its low byte.
        const int word = address == 0x02 ? rig.vm.reg(0x02) * 256 + rig.vm.reg(0x03)
                                         : rig.vm.reg(0x13) * 256 + rig.vm.reg(0x12);
        QTEST(word, "word");
    }

    void convertPrintsCsv()
    {
        QString outText;
        QString errText;
        QTextStream out(&outText);
        QTextStream err(&errText);
        QCOMPARE(cli::convert(out, err, {testsupport::golden("grid-form.dat"), "--csv"}),
                 int(cli::kOk));
        out.flush();
        QCOMPARE(outText.toUtf8(), fileBytes(testsupport::golden("grid-form.csv")));
        QVERIFY(errText.isEmpty());

        QCOMPARE(cli::convert(out, err, {testsupport::golden("grid-form.dat")}), int(cli::kUsage));
    }

    // What is not a whole regular data file prints nothing on standard output, and no
    // FIFO or device is read at all.
    void convertRefuses_data()
    {
        QTest::addColumn<QString>("path"); // "fifo" and "broken.dat": made in a folder
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "/nonexistent/x.dat"
                                 << "The file x.dat could not be opened: No such file or "
                                    "directory.";
        QTest::newRow("fifo-without-writer") << "fifo"
                                             << "The file fifo is not a regular file.";
        QTest::newRow("endless-device") << "/dev/zero"
                                        << "The file zero is not a regular file.";
        QTest::newRow("folder") << "/tmp"
                                << "The file tmp is not a regular file.";
        QTest::newRow("partly-read")
            << "broken.dat"
            << "Line 2 of broken.dat has no closing quote; it was read to the end of the line.";
    }
    void convertRefuses()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        if (path == QLatin1String("fifo")) {
            path = dir.filePath(path);
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (path == QLatin1String("broken.dat")) {
            path = dir.filePath(path);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\"No.s\tDate\tTime\tdBA\t\"\r\n\"1\t2009/11/30\t10:00:00\t94.5\t\r\n");
        }
        QString outText;
        QString errText;
        QTextStream out(&outText);
        QTextStream err(&errText);
        QCOMPARE(cli::convert(out, err, {path, "--csv"}), int(cli::kFailed));
        out.flush();
        err.flush();
        QVERIFY(outText.isEmpty());
        QFETCH(QString, error);
        QCOMPARE(errText, "dosemeter-cli: " + error + "\n");
    }

private:
    // The logger window after a download, saving set k with empty notes.
    struct WindowRigForSave : LoggerRig {
        QPointer<LoggerWindow> window;
        QTemporaryDir dir;
        explicit WindowRigForSave(const QByteArray &image) : LoggerRig(image)
        {
            window = new LoggerWindow(meter, app.logger, app.files, dialogs);
            window->download();
        }
        ~WindowRigForSave() { delete window.data(); }
        QByteArray saved(int set)
        {
            window->showSet(set);
            const QString path = dir.filePath(QStringLiteral("saved-%1.dat").arg(set));
            dialogs.fileNames << path;
            window->findChild<QPushButton *>(QStringLiteral("saveButton"))->click();
            return fileBytes(path);
        }
    };
};

DOSEMETER_TEST(TestLoggerCli)
#include "tst_LoggerCli.moc"
