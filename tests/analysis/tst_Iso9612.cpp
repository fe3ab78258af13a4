// ISO 9612 by its three strategies: table C.4 read at its nodes, between them and beyond
// its edges; the figures of job-based, full-day and task-based sets of samples; the inputs
// refused. Every expected figure was worked out by hand from the standard's formulas.

#include "analysis/Iso9612.h"
#include "support/TestMain.h"

#include <QTest>

using Strategy = Iso9612::Strategy;
using Instrument = Iso9612::Instrument;

Q_DECLARE_METATYPE(Iso9612::Input)

namespace {

Iso9612::Input samples(Strategy strategy, const QList<double> &levels, double hours = 8.0,
                       Instrument instrument = Instrument::Meter)
{
    Iso9612::Input input;
    input.strategy = strategy;
    input.instrument = instrument;
    input.samplesDb = levels;
    input.effectiveHours = hours;
    return input;
}

Iso9612::Input tasks(const QList<Iso9612::Task> &list, Instrument instrument = Instrument::Meter)
{
    Iso9612::Input input;
    input.strategy = Strategy::Task;
    input.instrument = instrument;
    input.tasks = list;
    return input;
}

} // namespace

class TestIso9612 : public QObject {
    Q_OBJECT

private slots:
    void tableC4_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<double>("u1");
        QTest::addColumn<double>("c1u1");
        QTest::newRow("node-5-1.0") << 5 << 1.0 << 0.7;
        QTest::newRow("node-3-6.0") << 3 << 6.0 << 46.5;
        QTest::newRow("node-30-0.5") << 30 << 0.5 << 0.1;
        QTest::newRow("between-columns") << 5 << 1.25 << 0.95;
        QTest::newRow("between-rows") << 11 << 1.0 << 0.35;
        QTest::newRow("below-the-first-column") << 3 << 0.25 << 0.6;
        QTest::newRow("no-spread") << 5 << 0.0 << 0.0;
        QTest::newRow("u1-beyond-6") << 5 << 7.0 << 12.1;
        QTest::newRow("more-than-30") << 40 << 6.0 << 2.0;
    }
    void tableC4()
    {
        QFETCH(int, samples);
        QFETCH(double, u1);
        QFETCH(double, c1u1);
        QVERIFY2(qAbs(Iso9612::samplingUncertainty(samples, u1) - c1u1) < 1e-9,
                 qPrintable(QString::number(Iso9612::samplingUncertainty(samples, u1))));
    }

    void figures_data()
    {
        QTest::addColumn<Iso9612::Input>("input");
        QTest::addColumn<QStringList>("lines");
        // clang-format off
        // Sample standard deviation 2.0 dB of 5 samples: the node 1.7 dB.
        QTest::newRow("job-at-a-node") << samples(Strategy::Job, {84, 84, 86, 88, 88})
            << QStringList{"strategy: job", "samples: 5", "laeq: 86.4", "lex8h: 86.4", "u1: 2.0",
                           "c1u1: 1.7", "u2: 1.5", "u3: 1.0", "u: 2.5", "U: 4.1", "upper: 90.4"};
        QTest::newRow("job-class-1-short-day")
            << samples(Strategy::Job, {85, 85, 86, 87, 87}, 7.5, Instrument::Class1)
            << QStringList{"strategy: job", "samples: 5", "laeq: 86.1", "lex8h: 85.8", "u1: 1.0",
                           "c1u1: 0.7", "u2: 0.7", "u3: 1.0", "u: 1.4", "U: 2.3", "upper: 88.1"};
        QTest::newRow("full-day-at-a-node") << samples(Strategy::FullDay, {85, 86, 87})
            << QStringList{"strategy: full-day", "samples: 3", "laeq: 86.1", "lex8h: 86.1",
                           "u1: 1.0", "c1u1: 1.6", "u2: 1.5", "u3: 1.0", "u: 2.4", "U: 4.0",
                           "upper: 90.1"};
        QTest::newRow("full-day-too-spread") << samples(Strategy::FullDay, {80, 85, 90})
            << QStringList{"strategy: full-day", "samples: 3", "laeq: 86.7", "lex8h: 86.7",
                           "u1: 5.0", "c1u1: 32.2", "u2: 1.5", "u3: 1.0", "u: 32.3", "U: 53.2",
                           "upper: 140.0", "advisory: c1u1 is 32.2 dB, above 3.5 dB: the "
                           "measurement plan should be revised"};
        QTest::newRow("tasks") << tasks({{"press", 4, {88, 90, 89}, 3.0, 5.0},
                                         {"assembly", 3, {82, 83, 81}, {}, {}},
                                         {"break", 1, {70}, {}, {}}})
            << QStringList{"strategy: task", "samples: 7", "lex8h: 86.7",
                           "task press: laeq 89.1 contribution 86.1 samples 3",
                           "task assembly: laeq 82.1 contribution 77.8 samples 3",
                           "task break: laeq 70.0 contribution 61.0 samples 1",
                           "u2: 1.5", "u3: 1.0", "u: 1.9", "U: 3.1", "upper: 89.8",
                           "advisory: task break: 1 of the 3 samples the standard asks for per "
                           "task; its u1a is not estimated"};
        QTest::newRow("task-spread-3.5-db")
            << tasks({{"grind", 2, {92, 95.5, 93}, {}, {}}, {"office", 6, {65}, {}, {}}},
                     Instrument::Class1)
            << QStringList{"strategy: task", "samples: 4", "lex8h: 87.8",
                           "task grind: laeq 93.8 contribution 87.7 samples 3",
                           "task office: laeq 65.0 contribution 63.8 samples 1",
                           "u2: 0.7", "u3: 1.0", "u: 1.6", "U: 2.6", "upper: 90.4",
                           "advisory: task grind: its samples span 3.5 dB, 3 dB or more; take "
                           "more samples or divide the task",
                           "advisory: task office: 1 of the 3 samples the standard asks for per "
                           "task; its u1a is not estimated"};
        // Two samples give no u1a: u is u2 and u3 alone (1.80 dB; with a u1a of the two
        // samples' 0.5 dB it would be 1.87).
        QTest::newRow("task-of-two-samples") << tasks({{"saw", 8, {90, 91}, {}, {}}})
            << QStringList{"strategy: task", "samples: 2", "lex8h: 90.5",
                           "task saw: laeq 90.5 contribution 90.5 samples 2",
                           "u2: 1.5", "u3: 1.0", "u: 1.8", "U: 3.0", "upper: 93.5",
                           "advisory: task saw: 2 of the 3 samples the standard asks for per "
                           "task; its u1a is not estimated"};
        // 15 samples of 80 dB and 15 of 94: u1 7.12 dB, beyond the table's last column; its
        // c1u1 there for 30 samples, 2.0 dB, is used and said.
        QTest::newRow("thirty-samples-beyond-the-table")
            << samples(Strategy::Job, {80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80,
                                       94, 94, 94, 94, 94, 94, 94, 94, 94, 94, 94, 94, 94, 94, 94})
            << QStringList{"strategy: job", "samples: 30", "laeq: 91.2", "lex8h: 91.2", "u1: 7.1",
                           "c1u1: 2.0", "u2: 1.5", "u3: 1.0", "u: 2.7", "U: 4.4", "upper: 95.6",
                           "advisory: u1 is 7.12 dB, beyond table C.4 (6 dB at most): c1u1 is "
                           "its value at 6 dB, 2 dB, and the true one is larger"};
        // clang-format on
    }
    void figures()
    {
        QFETCH(Iso9612::Input, input);
        const Iso9612::Result result = Iso9612::compute(input);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QTEST(result.lines(), "lines");
    }

    void refused_data()
    {
        QTest::addColumn<Iso9612::Input>("input");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("job-of-4") << samples(Strategy::Job, {85, 86, 87, 88})
            << "Job-based needs at least 5 samples; 4 given.";
        QTest::newRow("full-day-of-2") << samples(Strategy::FullDay, {85, 86})
            << "Full-day needs at least 3 samples; 2 given.";
        QTest::newRow("sample-above-140") << samples(Strategy::FullDay, {85, 86, 140.5})
            << "A sample of 140.5 dB is outside 0 to 140 dB.";
        QTest::newRow("no-day") << samples(Strategy::FullDay, {85, 86, 87}, 0.0)
            << "The effective day Te is more than 0 and at most 24 hours.";
        QTest::newRow("no-task") << tasks({}) << "Task-based needs at least one task.";
        QTest::newRow("task-twice") << tasks({{"press", 2, {88}, {}, {}}, {"press", 2, {89}, {}, {}}})
            << "Task press is given twice.";
        QTest::newRow("range-reversed") << tasks({{"press", 2, {88}, 3.0, 1.0}})
            << "Task press: its duration range runs from a shortest to a longest duration, 0 to "
               "24 hours.";
        QTest::newRow("longer-than-a-day") << tasks({{"a", 20, {88}, {}, {}}, {"b", 5, {80}, {}, {}}})
            << "The tasks last 25 hours together, more than a day.";
        // clang-format on
    }
    void refused()
    {
        QFETCH(Iso9612::Input, input);
        QTEST(Iso9612::compute(input).message, "message");
    }
};

DOSEMETER_TEST(TestIso9612)
#include "tst_Iso9612.moc"
