// dosemeter-cli assess and iso9612, run as the built program: the whole output of a shift
// with an excluded span, and the exit status and message of each refusal. The shift file
// is written here: 4 h at 85 dB, 3 h at 95 dB and a last hour at 100 dB, 30-s records.

#include "AnalysisRig.h"
#include "data/DatFile.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const RecordTable &table)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(DatFile::recordingBytes(table));
}

} // namespace

class TestAssessCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        const QDateTime start(QDate(2009, 11, 30), QTime(6, 0));
        writeFile(path("shift.dat"),
                  rig::records(rig::repeated("085.0", 480) + rig::repeated("095.0", 360) +
                                   rig::repeated("100.0", 120),
                               start, 30));
        writeFile(path("blank.dat"), rig::records(rig::repeated("n/a", 3), start, 30));
        RecordTable changed = rig::records(rig::repeated("085.0", 3600), start, 1);
        const RecordTable minutes =
            rig::records(rig::repeated("095.0", 420), start.addSecs(3600), 60);
        for (int r = 0; r < minutes.recordCount(); ++r)
            changed.appendRecord({QString::number(3601 + r), minutes.cell(r, 1), minutes.cell(r, 2),
                                  minutes.cell(r, 3)});
        writeFile(path("changed.dat"), changed);
        QStringList overloads = rig::repeated("085.0", 60);
        overloads[19] = overloads[20] = " OL ";
        overloads[40] = "----";
        writeFile(path("overloads.dat"), rig::records(overloads, start, 60));
    }

    void output_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString common = "files: 1\nrecords: 960\nskipped: 0\nexcluded: 120\n"
                               "overloads: 0\nunder-range: 0\nmeasured: 07:00:00\n";
        const QString levels = "laeq: 91.9\n";
        const QString above = "max: 95.0\ntime-above-80: 07:00:00\ntime-above-85: 07:00:00\n"
                              "time-above-90: 03:00:00\neu-status: limit value exceeded\n";
        // clang-format off
        QTest::newRow("default-criteria") << QStringList{"assess", "shift.dat", "--exclude",
                                                         "shift.dat:841-960:microphone knocked"}
            << common + "shift: 08:00:00\ncoverage: 88 %\n" + levels + "lex8h: 91.9\n" + above +
               "osha-pel.dose: 75.00\nosha-pel.twa: 87.9\nosha-pel.projected-dose: 85.71\n"
               "osha-pel.projected-twa: 88.9\n"
               "osha-hc.dose: 100.00\nosha-hc.twa: 90.0\nosha-hc.projected-dose: 114.29\n"
               "osha-hc.projected-twa: 91.0\n"
               "niosh.dose: 427.98\nniosh.twa: 91.3\nniosh.projected-dose: 489.12\n"
               "niosh.projected-twa: 91.9\n"
               "excluded-span: shift.dat:841-960:microphone knocked\n";
        QTest::newRow("custom-and-10-h") << QStringList{"assess", "--criteria", "85:4:75,acgih",
                                                        "shift.dat", "--shift", "10",
                                                        "--exclude", "shift.dat:841-960:lunch"}
            << common + "shift: 10:00:00\ncoverage: 70 %\n" + levels + "lex8h: 92.8\n" + above +
               "85:4:75.dose: 262.13\n85:4:75.twa: 90.6\n85:4:75.projected-dose: 374.47\n"
               "85:4:75.projected-twa: 92.6\n"
               "acgih.dose: 427.98\nacgih.twa: 91.3\nacgih.projected-dose: 611.39\n"
               "acgih.projected-twa: 92.9\n"
               "excluded-span: shift.dat:841-960:lunch\n";
        // The sampling time changed: 3600 one-second records at 85 dB, then 420 one-minute
        // records at 95 dB, 8 h in all (worked out in TestExposureAssessment).
        QTest::newRow("period-changes") << QStringList{"assess", "changed.dat", "--criteria",
                                                       "osha-pel,niosh"}
            << "files: 1\nrecords: 4020\nskipped: 0\nexcluded: 0\noverloads: 0\n"
               "under-range: 0\nmeasured: 08:00:00\nshift: 08:00:00\ncoverage: 100 %\n"
               "laeq: 94.5\nlex8h: 94.5\nmax: 95.0\ntime-above-80: 08:00:00\n"
               "time-above-85: 08:00:00\ntime-above-90: 07:00:00\n"
               "eu-status: limit value exceeded\n"
               "osha-pel.dose: 175.00\nosha-pel.twa: 94.0\nosha-pel.projected-dose: 175.00\n"
               "osha-pel.projected-twa: 94.0\n"
               "niosh.dose: 894.44\nniosh.twa: 94.5\nniosh.projected-dose: 894.44\n"
               "niosh.projected-twa: 94.5\n";
        // 57 minutes at 85 dB, one under range (67.9 dB) and two overloads:
        // 10 lg((57 × 10^8.5 + 10^6.79 + 2 × 10^14) / 60) = 125.2 dB, 40.3 dB above the 84.9 dB
        // without them. niosh: (57 × 60 + 120 × 2^(55/3)) s over 8 h is 137628.85 %.
        QTest::newRow("overloads") << QStringList{"assess", "overloads.dat", "--criteria", "niosh",
                                                  "--suggest"}
            << "files: 1\nrecords: 60\nskipped: 0\nexcluded: 0\noverloads: 2\n"
               "under-range: 1\nmeasured: 01:00:00\nshift: 08:00:00\ncoverage: 13 %\n"
               "laeq: 125.2\nlex8h: 125.2\nmax: 140.0\ntime-above-80: 00:59:00\n"
               "time-above-85: 00:59:00\ntime-above-90: 00:02:00\n"
               "eu-status: limit value exceeded\n"
               "niosh.dose: 137628.85\nniosh.twa: 116.4\nniosh.projected-dose: 1101030.81\n"
               "niosh.projected-twa: 125.4\n"
               "suggested: overloads.dat:20-21: overload\n"
               "advisory: 2 overload records (above the meter's 140 dB range) among those used: "
               "LAeq, LEX,8h, the doses and the TWAs are lower bounds; overloads add 40.3 dB to "
               "LAeq\n"
               "advisory: the measurement covers 13 % of the shift: the projection to the shift "
               "assumes the unmeasured part is like the measured part\n";
        QTest::newRow("exclude-overloads") << QStringList{"assess", "overloads.dat", "--criteria",
                                                          "niosh", "--exclude-overloads",
                                                          "microphone knocked", "--suggest"}
            << "files: 1\nrecords: 60\nskipped: 0\nexcluded: 2\noverloads: 0\n"
               "under-range: 1\nmeasured: 00:58:00\nshift: 08:00:00\ncoverage: 12 %\n"
               "laeq: 84.9\nlex8h: 84.9\nmax: 85.0\ntime-above-80: 00:57:00\n"
               "time-above-85: 00:57:00\ntime-above-90: 00:00:00\n"
               "eu-status: lower action value\n"
               "niosh.dose: 11.88\nniosh.twa: 75.7\nniosh.projected-dose: 98.28\n"
               "niosh.projected-twa: 84.9\n"
               "excluded-span: overloads.dat:20-21:microphone knocked\n"
               "advisory: the measurement covers 12 % of the shift: the projection to the shift "
               "assumes the unmeasured part is like the measured part\n";
        QTest::newRow("iso9612-job") << QStringList{"iso9612", "job", "--samples", "84,84,86,88,88",
                                                    "--te", "8"}
            << "strategy: job\nsamples: 5\nlaeq: 86.4\nlex8h: 86.4\nu1: 2.0\nc1u1: 1.7\n"
               "u2: 1.5\nu3: 1.0\nu: 2.5\nU: 4.1\nupper: 90.4\n";
        QTest::newRow("iso9612-task") << QStringList{"iso9612", "task", "--task",
                                                     "press:4:88,90,89:3-5", "--task",
                                                     "assembly:3:82,83,81", "--task", "break:1:70"}
            << "strategy: task\nsamples: 7\nlex8h: 86.7\n"
               "task press: laeq 89.1 contribution 86.1 samples 3\n"
               "task assembly: laeq 82.1 contribution 77.8 samples 3\n"
               "task break: laeq 70.0 contribution 61.0 samples 1\n"
               "u2: 1.5\nu3: 1.0\nu: 1.9\nU: 3.1\nupper: 89.8\n"
               "advisory: task break: 1 of the 3 samples the standard asks for per task; its "
               "u1a is not estimated\n";
        // The file's LAeq,T over its 8 hours, 94.14 dB, beside two samples typed: u1 1.60 dB
        // puts c1u1 at 3.54 dB, just above where the plan should be revised.
        QTest::newRow("iso9612-file") << QStringList{"iso9612", "full-day", "--instrument",
                                                     "class1", "--samples", "91,92",
                                                     "--files", "shift.dat", "--te", "8"}
            << "strategy: full-day\nsamples: 3\nlaeq: 92.6\nlex8h: 92.6\nu1: 1.6\nc1u1: 3.5\n"
               "u2: 0.7\nu3: 1.0\nu: 3.7\nU: 6.2\nupper: 98.8\n"
               "advisory: c1u1 is 3.54 dB, above 3.5 dB: the measurement plan should be "
               "revised\n";
        // clang-format on
    }
    void output()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const rig::Run run = runHere(arguments);
        QVERIFY2(run.code == 0, run.err.constData());
        QCOMPARE(QString::fromUtf8(run.out), expected);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("missing-file") << QStringList{"assess", "none.dat"} << 1
            << "The file none.dat could not be opened";
        QTest::newRow("no-level") << QStringList{"assess", "blank.dat"} << 3
            << "There are no levels to assess: no record of the files holds a level.";
        QTest::newRow("file-with-no-level") << QStringList{"iso9612", "job", "--files", "blank.dat", "--te", "8"} << 3
            << "blank.dat: There are no levels to assess";
        QTest::newRow("unknown-criterion") << QStringList{"assess", "shift.dat", "--criteria", "osha"} << 2
            << "'osha' is no criterion set";
        QTest::newRow("threshold-150") << QStringList{"assess", "shift.dat", "--criteria", "85:3:150"} << 2
            << "'85:3:150' is no criterion set";
        QTest::newRow("criterion-twice") << QStringList{"assess", "shift.dat", "--criteria", "niosh,niosh"} << 2
            << "--criteria names niosh twice";
        QTest::newRow("shift-25-h") << QStringList{"assess", "shift.dat", "--shift", "25"} << 2
            << "--shift is the shift length in hours, 0.5 to 24";
        QTest::newRow("same-file-twice") << QStringList{"assess", "shift.dat", "./shift.dat"} << 2
            << "./shift.dat is given twice: its records would count twice";
        QTest::newRow("exclude-other-file") << QStringList{"assess", "shift.dat", "--exclude", "other.dat:1-2:x"} << 2
            << "--exclude names other.dat, which is not among the files";
        QTest::newRow("exclude-past-the-end") << QStringList{"assess", "shift.dat", "--exclude", "shift.dat:900-961:x"} << 2
            << "Records 900-961 are outside shift.dat: it has 960 records.";
        QTest::newRow("exclude-overloads-without-reason") << QStringList{"assess", "shift.dat", "--exclude-overloads", " "} << 2
            << "--exclude-overloads needs a reason";
        QTest::newRow("exclude-without-reason") << QStringList{"assess", "shift.dat", "--exclude", "shift.dat:1-2:"} << 2
            << "--exclude shift.dat:1-2 needs a reason";
        QTest::newRow("job-of-4") << QStringList{"iso9612", "job", "--samples", "84,85,86,87", "--te", "8"} << 2
            << "Job-based needs at least 5 samples; 4 given.";
        QTest::newRow("sample-150") << QStringList{"iso9612", "full-day", "--samples", "84,85,150", "--te", "8"} << 2
            << "A sample of 150 dB is outside 0 to 140 dB.";
        QTest::newRow("te-missing") << QStringList{"iso9612", "full-day", "--samples", "84,85,86"} << 2
            << "--te is needed";
        QTest::newRow("task-option-for-job") << QStringList{"iso9612", "job", "--task", "a:1:85"} << 2
            << "--task is not for job";
        QTest::newRow("task-shape") << QStringList{"iso9612", "task", "--task", "press:4"} << 2
            << "--task takes NAME:HOURS:L1,L2,...";
        // clang-format on
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const rig::Run run = runHere(arguments);
        QTEST(run.code, "code");
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    }

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    // Runs in the test's folder, so files are named as a user in that folder names them.
    rig::Run runHere(const QStringList &arguments) const
    {
        const QString current = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        const rig::Run run = rig::runCli(arguments);
        QDir::setCurrent(current);
        return run;
    }

    QTemporaryDir dir_;
};

DOSEMETER_TEST(TestAssessCli)
#include "tst_AssessCli.moc"
