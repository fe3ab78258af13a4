#include "support/TestMain.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

// --help and --version of the three programs, answered without a display and without a
// meter.
class TestProgramOptions : public QObject {
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        // The whole output, or its start when it ends in "..."; %1 is the program's path.
        QTest::addColumn<QString>("out");

        const QString version = QStringLiteral(DOSEMETER_EXPECTED_VERSION "\n");
        QTest::newRow("gui-version")
            << "dosemeter" << QStringList{"--version"} << 0 << "dosemeter " + version;
        QTest::newRow("gui-version-short")
            << "dosemeter" << QStringList{"-v"} << 0 << "dosemeter " + version;
        QTest::newRow("gui-help") << "dosemeter" << QStringList{"--help"} << 0
                                  << "usage: dosemeter [--port PORT [--open ENTRIES]]\n...";
        QTest::newRow("gui-version-after-port")
            << "dosemeter" << QStringList{"--port", "sim", "--version"} << 0
            << "dosemeter " + version;
        QTest::newRow("cli-version")
            << "dosemeter-cli" << QStringList{"--version"} << 0 << "dosemeter-cli " + version;
        QTest::newRow("cli-help") << "dosemeter-cli" << QStringList{"--help"} << 0
                                  << "usage: dosemeter-cli --port PORT...";
        QTest::newRow("sim-version")
            << "dosemeter-sim" << QStringList{"--version"} << 0 << "dosemeter-sim " + version;
        QTest::newRow("sim-help") << "dosemeter-sim" << QStringList{"--help"} << 0
                                  << "Usage: %1 [options]\n...";
    }

    // No display: neither an X server nor Wayland nor Qt's offscreen platform.
    void answers()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, out);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        const QString path = testsupport::binDir() + QLatin1Char('/') + program;
        process.start(path, arguments);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), code);
        const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput());
        out.replace(QLatin1String("%1"), path);
        if (out.endsWith(QLatin1String("...")))
            QVERIFY2(printed.startsWith(out.chopped(3)), qPrintable(printed));
        else
            QCOMPARE(printed, out);
        QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()), QString());
    }

    // A bad option needs the GUI application to be told from Qt's own options.
    void guiUsageError()
    {
        QProcess process;
        process.start(testsupport::binDir() + QStringLiteral("/dosemeter"), {"--colour", "red"});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 2);
        // Qt may have said something of its own first.
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(err.endsWith(QLatin1String(
                     "dosemeter: Unknown option 'colour'.\nTry 'dosemeter --help'.\n")),
                 qPrintable(err));
    }
};

DOSEMETER_TEST(TestProgramOptions)
#include "tst_ProgramOptions.moc"
