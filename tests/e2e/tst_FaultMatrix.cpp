#include "SimProcess.h"

#include "link/MeterProtocol.h"
#include "sim/MemoryImage.h"
#include "sim/VirtualMeter.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <map>
#include <memory>

// dosemeter-cli against dosemeter-sim's line faults, each with fixed seeds: every command
// ends within its time-out plus a second of the meter falling silent, none crashes,
// every exit status is one the README lists for it, and a download or bank read that
// exits 0 brings exactly what it brings on a clean line.
//
// setup, whose paced keys take half a minute a run, has a matrix row of its own: its runs
// go on side by side, and one that exits 0 must leave the meter set as a clean run does.
//
// record and average, which sample the live level for minutes, have a row of their own
// under drop and corrupt: their runs of 300 records (120 with one seed) go on side by
// side, and every level they take must be the clean line's, with no early stop.
//
// A command joins the matrix with one entry in commands(). DOSEMETER_FAULT_SEEDS=N runs
// N seeds of every fault that draws on them (drop, corrupt, short) instead of two, and
// the table of runs that printed wrong figures with exit 0 is printed at the end.

namespace {

// The meter's silence that ends a command, in seconds.
constexpr double kTimeout = 1.0;
// When the meter vanishes, after dosemeter-sim has started.
constexpr double kVanishSeconds = 0.8;

struct CommandRow {
    enum Check {
        Exact, // an exit 0 must bring the clean run's output and files
        // Exact where the line loses bytes; where it changes them, counted as Compared: a
        // changed sample byte can look real, and only a verified download guards it.
        ExactUnlessChanged,
        Compared, // output unlike the clean run's with exit 0 is counted, not failed
        Timed,    // output that differs from run to run (times of day): only ending counts
    };
    const char *name;
    QStringList arguments; // "%DIR%" is a fresh folder for the command's files
    Check check;
};

// The commands of the matrix, one row each.
const QList<CommandRow> &commands()
{
    static const QList<CommandRow> rows{
        {"status", {"status"}, CommandRow::Compared},
        {"display", {"display"}, CommandRow::Compared},
        {"read", {"read", "59"}, CommandRow::Compared},
        {"download", {"download", "--out", "%DIR%"}, CommandRow::ExactUnlessChanged},
        {"download-verify", {"download", "--out", "%DIR%", "--verify"}, CommandRow::Exact},
        {"banks", {"banks", "--bank", "1", "--out", "%DIR%/e1.bnk"}, CommandRow::Exact},
        // A command that runs until it is done, not until one reply has come.
        {"average", {"average", "--interval", "00:00:01", "--count", "2"}, CommandRow::Timed},
    };
    return rows;
}

// record and average take liveRecords() records of the steady level of simOptions() under
// each of kLiveFaults, which leave the meter answering.
const QStringList kLiveFaults{"drop=0.001", "corrupt=0.01"};

struct FaultRow {
    const char *name;
    QString fault;     // dosemeter-sim --fault
    bool seeded;       // draws on the seed: several seeds are run
    bool changesBytes; // the line changes bytes rather than losing them
    // Seconds from the command's start until the meter falls silent for good: the command
    // must end within this plus the time-out plus a second. Negative: it never does, the
    // command may take as long as a clean run would several times over.
    double silentAfter;
};

const QList<FaultRow> &faults()
{
    static const QList<FaultRow> rows{
        {"drop", QStringLiteral("drop=0.001"), true, false, -1.0},
        {"corrupt", QStringLiteral("corrupt=0.01"), true, true, -1.0},
        {"short", QStringLiteral("short=0.3"), true, false, -1.0},
        {"stall", QStringLiteral("stall-after=200"), false, false, -2.0},
        {"silent", QStringLiteral("silent"), false, false, 0.0},
        {"vanish", QStringLiteral("vanish-after=%1").arg(kVanishSeconds), false, false,
         kVanishSeconds},
    };
    return rows;
}

// Two logger runs of 40 samples and a used bank E1: a download streams about 1 KiB.
QByteArray matrixImage()
{
    QList<VirtualMeter::Run> runs;
    for (int r = 0; r < 2; ++r) {
        VirtualMeter::Run run{QDateTime(QDate(2009, 11, 28 + r), QTime(8, 0, 5)), 10, {}};
        for (int i = 0; i < 40; ++i)
            run.samples.append({72.0 + 0.7 * ((i * 7 + r) % 50), i % 13 == 12});
        runs << run;
    }
    QByteArray image = VirtualMeter::memoryWithRuns(runs, 4321, 10);
    const QDateTime start(QDate(2009, 11, 27), QTime(7, 30));
    const QByteArray bank = MemoryImage::bankRecord(
        {0x15, 80, start, start.addSecs(8 * 3600), 8 * 3600, 63.25, {}, 0.0, false});
    image.replace(MemoryMap::bankAddress(1), bank.size(), bank);
    const QByteArray copy = MemoryImage::bankTimeCopy(start, start.addSecs(8 * 3600));
    image.replace(MemoryMap::bankTimeCopyAddress(1), copy.size(), copy);
    return image;
}

// What a command left: its exit status, its output, the files it wrote, its time.
struct Outcome {
    int exit = -1;
    QString out;
    QString err;
    QMap<QString, QByteArray> files;
    double seconds = 0.0;

    bool sameAs(const Outcome &clean) const { return out == clean.out && files == clean.files; }
};

Outcome runCommand(const QString &port, const CommandRow &command)
{
    QTemporaryDir dir;
    QStringList arguments{"--port", port, "--timeout", QString::number(kTimeout)};
    for (const QString &a : command.arguments)
        arguments << QString(a).replace(QLatin1String("%DIR%"), dir.path());
    Outcome outcome;
    outcome.exit = runCli(arguments, &outcome.out, &outcome.err, &outcome.seconds);
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
        outcome.files.insert(name, [&] {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }());
    return outcome;
}

// setup sets all but the clock; a clean run takes about half a minute of paced keys.
const QStringList kSetup{
    "--timeout", QString::number(kTimeout), "setup", "--criterion", "85",  "--threshold",
    "78",        "--exchange-rate",         "5",     "--response",  "slow"};

int seedCount()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("DOSEMETER_FAULT_SEEDS", &ok);
    return ok && n > 0 ? n : 2;
}

// With one seed (`make test`) each live run samples for two minutes instead of five: the
// same faults on the same paths, a shorter exposure to them. CI's two seeds run the full
// five minutes.
int liveRecords()
{
    return seedCount() >= 2 ? 300 : 120;
}

// The live commands; "%FILE%" is a fresh file.
QList<QStringList> liveCommands()
{
    const QString count = QString::number(liveRecords());
    return {{"record", "--out", "%FILE%", "--period", "0.2", "--count", count},
            {"average", "--interval", "0:0:1", "--count", count}};
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(image_.open());
        image_.write(matrixImage());
        image_.flush();
        // The setup runs go on side by side, while the other commands run one by one.
        for (const FaultRow &f : faults()) {
            for (int seed = 1; seed <= (f.seeded ? seedCount() : 1); ++seed) {
                auto &run = setups_[setupKey(f.fault, seed)];
                run = std::make_unique<CliRun>();
                QVERIFY(run->start(
                    setupSimOptions({"--fault", f.fault, "--seed", QString::number(seed)}),
                    kSetup));
            }
        }
        cleanSetup_ = std::make_unique<CliRun>();
        QVERIFY(cleanSetup_->start(setupSimOptions({}), kSetup));
        for (const QString &fault : kLiveFaults) {
            for (const QStringList &command : liveCommands()) {
                for (int seed = 1; seed <= seedCount(); ++seed) {
                    auto &run = live_[liveKey(fault, command.first(), seed)];
                    run = std::make_unique<LiveRun>();
                    QVERIFY(run->cli.start(
                        simOptions({"--fault", fault, "--seed", QString::number(seed)}),
                        QStringList{"--timeout", QString::number(kTimeout)} +
                            QStringList(command).replaceInStrings("%FILE%", run->file())));
                }
            }
        }
        for (const CommandRow &command : commands()) {
            SimProcess sim;
            QVERIFY(sim.start(simOptions({})));
            const Outcome outcome = runCommand(sim.port(), command);
            QCOMPARE(sim.stop(), 0);
            QVERIFY2(outcome.exit == 0, qPrintable(command.name + (": " + outcome.err)));
            clean_.insert(command.name, outcome);
        }
    }

    void faultyLine_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("seed");
        for (int f = 0; f < faults().size(); ++f) {
            const int seeds = faults().at(f).seeded ? seedCount() : 1;
            for (int c = 0; c < commands().size(); ++c) {
                for (int seed = 1; seed <= seeds; ++seed)
                    QTest::addRow("%s-%s-%d", faults().at(f).name, commands().at(c).name, seed)
                        << f << c << seed;
            }
        }
    }
    void faultyLine()
    {
        QFETCH(int, fault);
        QFETCH(int, command);
        QFETCH(int, seed);
        const FaultRow &f = faults().at(fault);
        const CommandRow &c = commands().at(command);
        const Outcome &clean = clean_.value(c.name);

        SimProcess sim;
        QVERIFY(sim.start(simOptions({"--fault", f.fault, "--seed", QString::number(seed)})));
        const Outcome outcome = runCommand(sim.port(), c);
        QCOMPARE(sim.stop(), 0);
        runs_[QStringLiteral("%1 %2").arg(f.fault, c.name)] += 1;

        const QString context = QStringLiteral("exit %1 after %2 s: %3")
                                    .arg(outcome.exit)
                                    .arg(outcome.seconds)
                                    .arg(outcome.err.trimmed());
        // Ended, and not by a crash: 0 done, 3 no answer or damaged, 4 the port went
        // away before it could be opened. 1 and 2 would be wrong for these commands.
        QVERIFY2(outcome.exit == 0 || outcome.exit == 3 || outcome.exit == 4, qPrintable(context));
        // No hang: within the time-out and a second of the meter falling silent, or,
        // on a line that keeps answering, within a few clean runs and the time-out.
        const double bound = f.silentAfter >= 0.0   ? f.silentAfter + kTimeout + 1.0
                             : f.silentAfter < -1.5 ? clean.seconds + kTimeout + 1.0
                                                    : 6.0 * clean.seconds + kTimeout + 1.0;
        QVERIFY2(outcome.seconds <= bound,
                 qPrintable(context + QStringLiteral(" (bound %1 s)").arg(bound)));
        if (outcome.exit != 0) {
            // A failure prints no figure; the banks that were read and the figures of an
            // averaging run so far are printed all the same, as their commands document.
            QVERIFY2(outcome.out.isEmpty() || c.name == QLatin1String("banks") ||
                         c.check == CommandRow::Timed,
                     qPrintable(context));
            return;
        }
        if (c.check == CommandRow::Timed)
            return;
        const bool wrong = !outcome.sameAs(clean);
        const QString key = QStringLiteral("%1 %2").arg(f.fault, c.name);
        exit0_[key] += 1;
        if (wrong)
            wrongWithExit0_[key] += 1;
        if (c.check == CommandRow::Exact ||
            (c.check == CommandRow::ExactUnlessChanged && !f.changesBytes))
            QVERIFY2(!wrong, qPrintable(QStringLiteral("exit 0 with other output:\n") +
                                        outcome.out + QStringLiteral("\nclean:\n") + clean.out));
    }

    // setup ends with the meter set as asked, or says it did not and prints nothing.
    void setupOnAFaultyLine_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("seed");
        for (int f = 0; f < faults().size(); ++f) {
            for (int seed = 1; seed <= (faults().at(f).seeded ? seedCount() : 1); ++seed)
                QTest::addRow("%s-setup-%d", faults().at(f).name, seed) << f << seed;
        }
    }
    void setupOnAFaultyLine()
    {
        QFETCH(int, fault);
        QFETCH(int, seed);
        const FaultRow &f = faults().at(fault);
        if (cleanSettings_.isEmpty()) {
            QCOMPARE(cleanSetup_->finish(), 0);
            QCOMPARE(cleanSetup_->sim.stop(), 0);
            cleanSettings_ = cleanSetup_->sim.output();
            QVERIFY2(cleanSettings_.startsWith("settings: "), qPrintable(cleanSettings_));
        }
        CliRun &run = *setups_.at(setupKey(f.fault, seed));
        const int exit = run.finish();
        QCOMPARE(run.sim.stop(), 0);
        const QString key = QStringLiteral("%1 setup").arg(f.fault);
        runs_[key] += 1;
        const QString context = QStringLiteral("exit %1 after %2 s: %3")
                                    .arg(exit)
                                    .arg(run.seconds)
                                    .arg(run.err.trimmed());
        QVERIFY2(exit == 0 || exit == 3 || exit == 4, qPrintable(context));
        const double bound = f.silentAfter >= 0.0 ? f.silentAfter + kTimeout + 1.0
                                                  : 6.0 * cleanSetup_->seconds + kTimeout + 1.0;
        QVERIFY2(run.seconds <= bound,
                 qPrintable(context + QStringLiteral(" (bound %1 s)").arg(bound)));
        if (exit != 0) {
            QVERIFY2(run.out.isEmpty(), qPrintable(context));
            return;
        }
        exit0_[key] += 1;
        if (run.sim.output() != cleanSettings_)
            wrongWithExit0_[key] += 1;
        QCOMPARE(run.sim.output(), cleanSettings_);
    }

    // record and average under a line that drops or changes bytes: every level they take
    // is the steady level, and they take all of them.
    void liveOnAFaultyLine_data()
    {
        QTest::addColumn<QString>("key");
        for (const QString &fault : kLiveFaults) {
            for (const QStringList &command : liveCommands()) {
                for (int seed = 1; seed <= seedCount(); ++seed)
                    QTest::newRow(qPrintable(liveKey(fault, command.first(), seed)))
                        << liveKey(fault, command.first(), seed);
            }
        }
    }
    void liveOnAFaultyLine()
    {
        QFETCH(QString, key);
        LiveRun &run = *live_.at(key);
        const int exit = run.cli.finish(liveRecords() + 60); // a second a record at most
        QCOMPARE(run.cli.sim.stop(), 0);
        const QString context = QStringLiteral("exit %1 after %2 s: %3")
                                    .arg(exit)
                                    .arg(run.cli.seconds)
                                    .arg(run.cli.err.trimmed());
        QVERIFY2(exit == 0 || exit == 3, qPrintable(context));
        // The levels: the recording's records, or the interval lines (right-aligned).
        QFile file(run.file());
        const QString text =
            file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : run.cli.out;
        int levels = 0;
        for (const QString &line : text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
            const QStringList cells = line.split(QLatin1Char('\t'));
            if (cells.size() != 4 || cells.first() == QLatin1String("No.s"))
                continue;
            ++levels;
            QVERIFY2(cells.at(3).trimmed() == QLatin1String("94.5"), qPrintable(line + context));
        }
        if (exit != 0)
            return;
        QVERIFY2(levels == liveRecords() && !run.cli.err.contains(QLatin1String("left dBA")),
                 qPrintable(QStringLiteral("%1 records; ").arg(levels) + context));
        if (key.contains(QLatin1String("average")))
            QVERIFY2(run.cli.out.endsWith("spl-max: 94.5\n140-peak: No\nlaeq: 94.5\n"),
                     qPrintable(run.cli.out));
    }

    void cleanupTestCase()
    {
        qInfo("Runs that printed wrong figures with exit 0 / runs that exited 0 / runs, of %d "
              "seeds per fault:",
              seedCount());
        for (const FaultRow &f : faults()) {
            if (!f.seeded)
                continue;
            QStringList line;
            for (const CommandRow &c : commands()) {
                if (c.check == CommandRow::Timed)
                    continue;
                const QString key = QStringLiteral("%1 %2").arg(f.fault, c.name);
                line << QStringLiteral("%1 %2/%3/%4")
                            .arg(c.name)
                            .arg(wrongWithExit0_.value(key))
                            .arg(exit0_.value(key))
                            .arg(runs_.value(key));
            }
            const QString key = QStringLiteral("%1 setup").arg(f.fault);
            line << QStringLiteral("setup %1/%2/%3")
                        .arg(wrongWithExit0_.value(key))
                        .arg(exit0_.value(key))
                        .arg(runs_.value(key));
            qInfo("  %s: %s", qPrintable(f.fault), qPrintable(line.join(QStringLiteral(", "))));
        }
    }

private:
    QStringList simOptions(const QStringList &extra) const
    {
        // A fixed level, so that the display command prints the same each time.
        return QStringList{"--memory", image_.fileName(), "--level", "94.5", "--mode", "dba"} +
               extra;
    }

    QStringList setupSimOptions(const QStringList &extra) const
    {
        // A meter that ignores keys sooner than 2 s after the last, as a real one does.
        return simOptions({"--key-delay", "2", "--print-settings"}) + extra;
    }
    static QString setupKey(const QString &fault, int seed)
    {
        return fault + QLatin1Char(' ') + QString::number(seed);
    }
    static QString liveKey(const QString &fault, const QString &command, int seed)
    {
        return QStringLiteral("%1-%2-%3").arg(fault.section('=', 0, 0), command).arg(seed);
    }

    // A live command's run and the folder of the file it writes.
    struct LiveRun {
        QTemporaryDir dir;
        CliRun cli;
        QString file() const { return dir.filePath(QStringLiteral("live.dat")); }
    };

    QTemporaryFile image_;
    std::map<QString, std::unique_ptr<CliRun>> setups_;
    std::unique_ptr<CliRun> cleanSetup_;
    std::map<QString, std::unique_ptr<LiveRun>> live_;
    QString cleanSettings_;
    QMap<QString, Outcome> clean_;
    QMap<QString, int> wrongWithExit0_;
    QMap<QString, int> exit0_;
    QMap<QString, int> runs_;
};

DOSEMETER_TEST(TestFaultMatrix)
#include "tst_FaultMatrix.moc"
