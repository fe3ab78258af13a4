#include "support/TestMain.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The Debian package, made from what the build made, unpacked with dpkg-deb into a folder
// of its own, and the programs run from there without a display.
class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(run(DOSEMETER_CPACK,
                     {"-G", "DEB", "--config", DOSEMETER_CPACK_CONFIG, "-B", work_.path()}),
                 0);
        const QStringList debs = QDir(work_.path()).entryList({"dosemeter_*.deb"});
        QCOMPARE(debs.size(), 1);
        deb_ = work_.filePath(debs.first());
        QCOMPARE(run("dpkg-deb", {"-x", deb_, work_.filePath("root")}), 0);
    }

    // The Qt SQL drivers are plugins the library loads by name, which dpkg-shlibdeps does
    // not see: without the SQLite one every save into the library fails. Fonts are found
    // by name too: without Symbola a report drops what DejaVu cannot draw.
    void controlNamesWhatIsLoaded_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("package");
        QTest::newRow("sqlite-driver-depended-on") << "Depends"
                                                   << "libqt6sql6-sqlite";
        QTest::newRow("postgresql-driver-recommended") << "Recommends"
                                                       << "libqt6sql6-psql";
        QTest::newRow("report-fallback-font-depended-on") << "Depends"
                                                          << "fonts-symbola";
        QTest::newRow("linked-libraries-still-found") << "Depends"
                                                      << "libqt6widgets6";
    }
    void controlNamesWhatIsLoaded()
    {
        QFETCH(QString, field);
        QFETCH(QString, package);
        QString value;
        QCOMPARE(run("dpkg-deb", {"-f", deb_, field}, &value), 0);
        QStringList names;
        for (const QString &entry : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            names << entry.trimmed().section(QLatin1Char(' '), 0, 0);
        QVERIFY2(names.contains(package), qPrintable(field + QStringLiteral(": ") + value));
    }

    void unpacked_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");
        const QString version = QStringLiteral(DOSEMETER_EXPECTED_VERSION "\n");
        QTest::newRow("cli-version")
            << "dosemeter-cli" << QStringList{"--version"} << "dosemeter-cli " + version;
        QTest::newRow("cli-status-of-the-built-in-meter")
            << "dosemeter-cli" << QStringList{"--port", "sim", "status"}
            << "criterion: 84\nexchange-rate: 4\nresponse: Fast\nthreshold: 80\n";
        // --version answers before the GUI application exists, so no display is needed.
        QTest::newRow("gui-version")
            << "dosemeter" << QStringList{"--version"} << "dosemeter " + version;
        QTest::newRow("sim-version")
            << "dosemeter-sim" << QStringList{"--version"} << "dosemeter-sim " + version;
    }

    void unpacked()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        QString printed;
        QCOMPARE(run(work_.filePath("root/usr/bin/" + program), arguments, &printed), 0);
        QCOMPARE(printed, out);
    }

private:
    // Runs a program without a display; its exit code, -1 when it did not end normally.
    int run(const QString &program, const QStringList &arguments, QString *out = nullptr)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        const bool ended = process.waitForFinished(300000);
        if (out)
            *out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const int code =
            ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        if (code != 0)
            qWarning("%s: %s", qPrintable(program), process.readAllStandardError().constData());
        return code;
    }

    QTemporaryDir work_;
    QString deb_;
};

DOSEMETER_TEST(TestPackage)
#include "tst_Package.moc"
