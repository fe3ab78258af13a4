// dosemeter-cli report, run as the built program: the PDF's text (every figure as assess
// prints it, the particulars, the spans, the bank results), that it holds no image, the
// exit status of each refusal with no file left behind, and the permissions it is written
// with. The shift is the one of the assess tests: 4 h at 85 dB, 3 h at 95 dB and a last
// hour at 100 dB, 30-s records from 06:00.

#include "AnalysisRig.h"
#include "data/DatFile.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The PDF's text with every run of blanks and line ends made one space.
QString flatText(const QString &path)
{
    return rig::pdfText(path).simplified();
}

} // namespace

class TestReportCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        // The PDFs that are written go into a folder of their own; the refusals count
        // the files beside the inputs.
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("out")));
        const QDateTime start(QDate(2009, 11, 30), QTime(6, 0));
        const RecordTable shift = rig::records(
            rig::repeated("085.0", 480) + rig::repeated("095.0", 360) + rig::repeated("100.0", 120),
            start, 30);
        writeFile(path("shift.dat"), DatFile::gridBytes(shift, {"Ann Smith, press operator",
                                                                "Hall 2", "calibrated 94.0 dB"}));
        writeFile(path("blank.dat"),
                  DatFile::recordingBytes(rig::records(rig::repeated("n/a", 3), start, 30)));
        writeFile(path("broken.bnk"), QByteArray(2000, '\0'));
    }

    void content_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("default-criteria")
            << QStringList{"shift.dat", "--worker", "Ann Smith", "--site", "Press hall",
                           "--job", "Stamping", "--exclude",
                           "shift.dat:841-960:microphone knocked"}
            << QStringList{"Noise Exposure Report", "Ann Smith", "Press hall", "Stamping",
                           "2009-11-30 06:00:00", "2009-11-30 13:59:30", "shift.dat",
                           "75.00 %", "87.9 dB", "85.71 %", "88.9 dB", "100.00 %", "90.0 dB",
                           "114.29 %", "91.0 dB", "427.98 %", "91.3 dB", "489.12 %",
                           "91.9 dB", "95.0 dB", "limit value exceeded", "07:00:00 h:min:s",
                           "03:00:00 h:min:s", "841-960", "microphone knocked",
                           "L10: 95.0 dB", "L50: 85.0 dB", "L90: 85.0 dB",
                           "Ann Smith, press operator", "calibrated 94.0 dB",
                           "Signature of the person responsible", "Page 1 of 2", "Page 2 of 2",
                           "Method", "criterion sets osha-pel, osha-hc, niosh",
                           "exposure limit value (87 dB) of Directive 2003/10/EC"};
        QTest::newRow("custom-and-10-h")
            << QStringList{"--criteria", "85:4:75,acgih", "shift.dat", "--shift", "10",
                           "--exclude", "shift.dat:841-960:lunch"}
            << QStringList{"85:4:75 (Lc 85 dB, Q 4 dB, Lt 75 dB)", "262.13 %", "90.6 dB",
                           "374.47 %", "92.6 dB", "92.8 dB", "10:00:00 h:min:s", "lunch"};
        QTest::newRow("overloads-are-lower-bounds")
            << QStringList{testsupport::golden("overloads.dat")}
            << QStringList{"\u2265 140.0 dB", "\u2265 7.11 %", "\u2265 70.9 dB",
                           "\u2265 33028074.37 %", "LAeq, LEX,8h, the doses and the TWAs are lower bounds"};
        QTest::newRow("with-iso-9612")
            << QStringList{"shift.dat", "--iso", "job", "--samples", "85.0,86.0,87.0,88.0,89.0",
                           "--te", "8"}
            << QStringList{"ISO 9612", "87.2 dB", "3.6 dB", "90.9 dB",
                           "ISO 9612:2009, job-based measurement, with a personal sound exposure "
                           "meter assumed (u2 1.5 dB)",
                           "the true LEX,8h is below LEX,8h + U with 95 % confidence"};
        QTest::newRow("with-banks")
            << QStringList{"shift.dat", "--bnk", testsupport::golden("banks-menu.bnk")}
            << QStringList{"Bank results (banks-menu.bnk)", "Dose Value(%)", "TWA(8hr %Dose)",
                           "Ana Souza", "Metalurgica Uniao", "Excluded spans None"};
        // clang-format on
    }

    // The report holds the figures as assess prints them, each with its unit.
    void content()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        const QString pdf = path(QStringLiteral("out/%1.pdf").arg(QTest::currentDataTag()));
        QFile::remove(pdf);
        const rig::Run run = runIn(QStringList{"report", "--out", pdf} + arguments);
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, pdf.toUtf8() + "\n");
        const QString text = flatText(pdf);
        for (const QString &item : expected)
            QVERIFY2(text.contains(item), qPrintable(item + QStringLiteral(" in: ") + text));

        // And every figure of assess for the same options, whatever they are (the spans
        // are shown as a table of file, records and reason).
        const rig::Run assess = runIn(QStringList{"assess"} + stripped(arguments));
        QCOMPARE(assess.code, 0);
        for (const QString &line : QString::fromUtf8(assess.out).split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("excluded-span: ")))
                continue;
            const QString value = line.section(QStringLiteral(": "), 1);
            QVERIFY2(text.contains(value), qPrintable(line));
        }
        QCOMPARE(rig::pdfImageCount(pdf), 0);
    }

    // A character DejaVu lacks (U+4E2D, and the speaker sign U+1F50A) is drawn from the
    // fallback font, not dropped.
    void charactersTheFontLacks()
    {
        const QString pdf = path(QStringLiteral("out/symbols.pdf"));
        QCOMPARE(
            runIn({"report", "--out", pdf, "shift.dat", "--worker", "Ana \u4E2D \U0001F50A"}).code,
            0);
        QProcess fonts;
        fonts.start(QStringLiteral("pdffonts"), {pdf});
        QVERIFY(fonts.waitForFinished(30000));
        QVERIFY2(fonts.readAllStandardOutput().contains("Symbola"), "no fallback font in the PDF");
        QVERIFY(flatText(pdf).contains(QStringLiteral("Ana \u4E2D")));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no-out") << QStringList{"shift.dat"} << 2 << "--out FILE.pdf is needed";
        QTest::newRow("out-without-value")
            << QStringList{"shift.dat", "--out"} << 2 << "--out needs a value";
        QTest::newRow("unknown-option") << QStringList{"--out", "new.pdf", "shift.dat", "--fast"}
                                        << 2 << "unknown option '--fast'";
        QTest::newRow("no-file") << QStringList{"--out", "new.pdf"} << 2 << "no data file given";
        QTest::newRow("bad-shift") << QStringList{"--out", "new.pdf", "shift.dat", "--shift", "30"}
                                   << 2 << "--shift is the shift length in hours";
        QTest::newRow("worker-twice")
            << QStringList{"--out", "new.pdf", "shift.dat", "--worker", "A", "--worker", "B"} << 2
            << "--worker is given twice";
        QTest::newRow("existing-out")
            << QStringList{"--out", "shift.dat", "blank.dat"} << 2 << "--overwrite";
        QTest::newRow("no-such-folder")
            << QStringList{"--out", "missing/new.pdf", "shift.dat"} << 2 << "missing/new.pdf";
        QTest::newRow("folder-as-out")
            << QStringList{"--out", ".", "shift.dat", "--overwrite"} << 1 << "";
        QTest::newRow("missing-data-file")
            << QStringList{"--out", "new.pdf", "absent.dat"} << 1 << "absent.dat";
        QTest::newRow("unreadable-banks")
            << QStringList{"--out", "new.pdf", "shift.dat", "--bnk", "broken.bnk"} << 1 << "";
        QTest::newRow("missing-banks")
            << QStringList{"--out", "new.pdf", "shift.dat", "--bnk", "absent.bnk"} << 1 << "";
        QTest::newRow("no-levels") << QStringList{"--out", "new.pdf", "blank.dat"} << 3 << "";
        // The ISO 9612 options are iso9612's, checked as it checks them, and only with --iso.
        const QStringList iso{"--out", "new.pdf", "shift.dat", "--iso"};
        QTest::newRow("iso-no-strategy")
            << iso + QStringList{"weekly"} << 2 << "'weekly' is no strategy";
        QTest::newRow("iso-option-without-iso")
            << QStringList{"--out", "new.pdf", "shift.dat", "--te", "8"} << 2
            << "--te goes with --iso";
        QTest::newRow("iso-option-not-for-tasks")
            << iso + QStringList{"task", "--te", "8"} << 2 << "--te is not for task";
    }

    // Each refusal exits with its status, says why, and leaves no PDF.
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const rig::Run run = runIn(QStringList{"report"} + arguments);
        QCOMPARE(run.code, code);
        QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!QFile::exists(path("new.pdf")));
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void permissions_data()
    {
        QTest::addColumn<QString>("umask");
        QTest::addColumn<QString>("mode");
        QTest::newRow("022") << "022"
                             << "644";
        QTest::newRow("077") << "077"
                             << "600";
        QTest::newRow("002") << "002"
                             << "664";
    }

    // The PDF is a new file like any other: its permissions are the umask's.
    void permissions()
    {
        QFETCH(QString, umask);
        QFETCH(QString, mode);
        const QString pdf = path(QStringLiteral("out/mode-%1.pdf").arg(umask));
        QProcess shell;
        shell.setWorkingDirectory(dir_.path());
        shell.start(
            QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("umask %1 && exec \"$0\" \"$@\"").arg(umask),
             testsupport::binDir() + QStringLiteral("/dosemeter-cli"), QStringLiteral("report"),
             QStringLiteral("--out"), pdf, QStringLiteral("shift.dat")});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 0);
        QProcess stat;
        stat.start(QStringLiteral("stat"), {QStringLiteral("-c"), QStringLiteral("%a"), pdf});
        QVERIFY(stat.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(stat.readAllStandardOutput()).trimmed(), mode);
        QFile::remove(pdf);
    }

private:
    QString path(const QString &name) const { return dir_.filePath(name); }

    // A run in the test's folder, so that relative names are its files.
    rig::Run runIn(const QStringList &arguments) const
    {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        const rig::Run run = rig::runCli(arguments);
        QDir::setCurrent(previous);
        return run;
    }

    // The arguments without the report's own options, as assess takes them.
    static QStringList stripped(const QStringList &arguments)
    {
        QStringList rest;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            if (QStringList{"--worker", "--site", "--job", "--bnk", "--iso", "--samples", "--te"}
                    .contains(arguments.at(i)))
                ++i;
            else
                rest << arguments.at(i);
        }
        return rest;
    }

    QTemporaryDir dir_;
};

DOSEMETER_TEST(TestReportCli)

#include "tst_ReportCli.moc"
