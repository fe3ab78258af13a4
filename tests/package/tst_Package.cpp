#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &arguments, int milliseconds = 60000,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(milliseconds)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("%1 did not end in time").arg(program);
        return result;
    }
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

} // namespace

// The Debian package, built from what the build made, unpacked with dpkg-deb into a
// folder of its own and run from there.
class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(work_.isValid());
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
            QSKIP("dpkg-deb is not installed: no Debian package can be built here");
        const Run cpack = run(QStringLiteral(DOSEMETER_CPACK),
                              {QStringLiteral("-G"), QStringLiteral("DEB"),
                               QStringLiteral("--config"), QStringLiteral(DOSEMETER_CPACK_CONFIG),
                               QStringLiteral("-B"), work_.filePath(QStringLiteral("out"))},
                              600000);
        QVERIFY2(cpack.code == 0, qPrintable(cpack.out + cpack.err));
        const QStringList debs = QDir(work_.filePath(QStringLiteral("out")))
                                     .entryList({QStringLiteral("dosemeter_*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        deb_ = work_.filePath(QStringLiteral("out/") + debs.first());
        root_ = work_.filePath(QStringLiteral("root"));
        const Run unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, root_});
        QVERIFY2(unpack.code == 0, qPrintable(unpack.err));
    }

    void fileName()
    {
        const Run arch = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")});
        QCOMPARE(QFileInfo(deb_).fileName(),
                 QStringLiteral("dosemeter_" DOSEMETER_EXPECTED_VERSION "_%1.deb")
                     .arg(arch.out.trimmed()));
    }

    void controlField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value"); // the whole value, or its start when it ends in "..."

        QTest::newRow("package") << "Package"
                                 << "dosemeter";
        QTest::newRow("version") << "Version" << DOSEMETER_EXPECTED_VERSION;
        QTest::newRow("section") << "Section"
                                 << "science";
        QTest::newRow("maintainer") << "Maintainer"
                                    << "The Dose Meter developers <...";
        QTest::newRow("description") << "Description"
                                     << "companion program for a personal noise dosimeter\n...";
    }

    void controlField()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        const Run got = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb_, field});
        QCOMPARE(got.code, 0);
        const QString text = got.out.trimmed();
        if (value.endsWith(QLatin1String("...")))
            QVERIFY2(text.startsWith(value.chopped(3)), qPrintable(text));
        else
            QCOMPARE(text, value);
    }

    // dpkg-shlibdeps found the libraries the programs link.
    void dependsOnTheLibrariesLinked_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("qt-core") << "libqt6core6";
        QTest::newRow("qt-widgets") << "libqt6widgets6";
        QTest::newRow("qt-serial-port") << "libqt6serialport6";
        QTest::newRow("qt-print-support") << "libqt6printsupport6";
        QTest::newRow("plot") << "libqcustomplot";
        QTest::newRow("c-library") << "libc6";
    }

    void dependsOnTheLibrariesLinked()
    {
        QFETCH(QString, library);
        const Run depends = run(QStringLiteral("dpkg-deb"),
                                {QStringLiteral("-f"), deb_, QStringLiteral("Depends")});
        QVERIFY2(depends.out.contains(library), qPrintable(depends.out));
    }

    void holds_data()
    {
        QTest::addColumn<QString>("path");
        const QString id = QStringLiteral("io.github.dosemeter.DoseMeter");
        for (const char *program : {"dosemeter", "dosemeter-cli", "dosemeter-sim"}) {
            QTest::addRow("bin-%s", program) << QStringLiteral("usr/bin/%1").arg(program);
            QTest::addRow("man-%s", program)
                << QStringLiteral("usr/share/man/man1/%1.1.gz").arg(program);
        }
        QTest::newRow("desktop-entry") << "usr/share/applications/" + id + ".desktop";
        QTest::newRow("metainfo") << "usr/share/metainfo/" + id + ".metainfo.xml";
        QTest::newRow("mime-types") << "usr/share/mime/packages/" + id + ".xml";
        QTest::newRow("icon-svg") << "usr/share/icons/hicolor/scalable/apps/" + id + ".svg";
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QTest::addRow("icon-%d", size)
                << QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id);
        QTest::newRow("completion") << "usr/share/bash-completion/completions/dosemeter-cli";
        QTest::newRow("copyright") << "usr/share/doc/dosemeter/copyright";
        QTest::newRow("changelog") << "usr/share/doc/dosemeter/changelog.gz";
        QTest::newRow("readme") << "usr/share/doc/dosemeter/README.md";
        QTest::newRow("readme-picture") << "usr/share/doc/dosemeter/docs/main-window.png";
        QTest::newRow("file-formats") << "usr/share/doc/dosemeter/docs/file-formats.md";
    }

    void holds()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(root_ + QLatin1Char('/') + path).isFile(), qPrintable(path));
    }

    void runsFromTheUnpackedPackage_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");

        const QString version = QStringLiteral(DOSEMETER_EXPECTED_VERSION "\n");
        QTest::newRow("cli-version")
            << "dosemeter-cli" << QStringList{"--version"} << "dosemeter-cli " + version;
        // The built-in virtual meter: status 0x15 (84 dB, 4 dB, Fast), threshold 80 dB.
        QTest::newRow("cli-status-on-the-virtual-meter")
            << "dosemeter-cli" << QStringList{"--port", "sim", "status"}
            << "criterion: 84\nexchange-rate: 4\nresponse: Fast\nthreshold: 80\n";
        QTest::newRow("gui-version")
            << "dosemeter" << QStringList{"--version"} << "dosemeter " + version;
        QTest::newRow("sim-version")
            << "dosemeter-sim" << QStringList{"--version"} << "dosemeter-sim " + version;
    }

    void runsFromTheUnpackedPackage()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const Run got =
            run(root_ + QStringLiteral("/usr/bin/") + program, arguments, 60000, environment);
        QCOMPARE(got.err, QString());
        QCOMPARE(got.code, 0);
        QCOMPARE(got.out, out);
    }

    void validates_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        const QString id = QStringLiteral("io.github.dosemeter.DoseMeter");
        QTest::newRow("desktop-entry") << "desktop-file-validate" << QStringList{}
                                       << "usr/share/applications/" + id + ".desktop";
        QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                  << "usr/share/metainfo/" + id + ".metainfo.xml";
    }

    void validates()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed")));
        const Run got = run(tool, arguments << root_ + QLatin1Char('/') + path);
        QVERIFY2(got.code == 0, qPrintable(got.out + got.err));
    }

    // The MIME types the package installs tell our files by their first line, whatever
    // their name.
    void recognisesOurFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");

        const auto golden = [](const char *name) {
            QFile file(testsupport::golden(QString::fromLatin1(name)));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTest::newRow("bank-menu") << golden("banks-menu.bnk") << "shift.bnk"
                                   << "application/x-dosemeter-bank";
        QTest::newRow("bank-toolbar-by-content") << golden("banks-toolbar.bnk") << "shift"
                                                 << "application/x-dosemeter-bank";
        QTest::newRow("bank-menu-by-content") << golden("banks-menu.bnk") << "shift"
                                              << "application/x-dosemeter-bank";
        QTest::newRow("average-by-content") << golden("average.avg") << "shift"
                                            << "application/x-dosemeter-average";
        QTest::newRow("data-grid") << golden("grid-form.dat") << "set-1.dat"
                                   << "application/x-dosemeter-data";
        QTest::newRow("data-recording-by-content") << golden("recording-form.dat") << "recording"
                                                   << "application/x-dosemeter-data";
        // ".dat" alone claims nothing: other programs' .dat files stay theirs.
        QTest::newRow("other-dat-text") << QByteArray("width=12\nheight=4\n") << "other.dat"
                                        << "text/plain";
    }

    void recognisesOurFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QString, type);
        QVERIFY(!content.isEmpty());
        const QString path = work_.filePath(QStringLiteral("mime/") + name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QCOMPARE(mimeDatabase().mimeTypeForFile(path).name(), type);
        QFile::remove(path);
    }

private:
    // Qt's MIME database over the unpacked package's definitions, read from XDG_DATA_DIRS
    // on first use.
    QMimeDatabase &mimeDatabase()
    {
        if (!mimeDatabase_) {
            // The system's database gives the types ours derive from (text/plain).
            qputenv("XDG_DATA_DIRS",
                    QFile::encodeName(root_ + QStringLiteral("/usr/share:/usr/share")));
            qputenv("XDG_DATA_HOME", QFile::encodeName(work_.filePath(QStringLiteral("home"))));
            mimeDatabase_ = std::make_unique<QMimeDatabase>();
        }
        return *mimeDatabase_;
    }

    QTemporaryDir work_;
    QString deb_;
    QString root_;
    std::unique_ptr<QMimeDatabase> mimeDatabase_;
};

DOSEMETER_TEST(TestPackage)
#include "tst_Package.moc"
