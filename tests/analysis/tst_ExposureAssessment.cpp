// The exposure assessment's rules: the dose and TWA under each criterion set, measured and
// projected to the shift; LAeq, LEX,8h, the time above levels and the EU status; excluded
// spans; records of several files pooled with their own periods. Every expected figure
// was worked out by hand from the rule.

#include "AnalysisRig.h"

#include "analysis/ExposureAssessment.h"
#include "support/TestMain.h"

#include <QTest>

Q_DECLARE_METATYPE(ExcludedSpan)
Q_DECLARE_METATYPE(RecordTable)

namespace {

const QDateTime kStart(QDate(2009, 11, 30), QTime(8, 0));

// `minutes` one-minute records at `level`, then `more` at `level2`.
RecordTable minutes(const QString &level, int count, const QString &level2 = {}, int more = 0)
{
    return rig::records(rig::repeated(level, count) + rig::repeated(level2, more), kStart, 60);
}

QHash<QString, QString> figures(const AssessmentResult &result)
{
    QHash<QString, QString> values;
    for (const QString &line : result.lines())
        values.insert(line.section(QStringLiteral(": "), 0, 0),
                      line.section(QStringLiteral(": "), 1));
    return values;
}

AssessmentResult assessed(const RecordTable &table, const QString &criterion, double shiftHours,
                          const QList<ExcludedSpan> &spans = {})
{
    ExposureAssessment assessment;
    assessment.addRecords(QStringLiteral("shift.dat"), table);
    return assessment.assess(
        {{*CriterionSet::parse(criterion)}, shiftHours, QList<ExcludedSpan>(spans)});
}

} // namespace

class TestExposureAssessment : public QObject {
    Q_OBJECT

private slots:
    void dose_data()
    {
        QTest::addColumn<RecordTable>("records");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<double>("shiftHours");
        QTest::addColumn<QStringList>("expected"); // dose, twa, projected dose and twa
        // clang-format off
        QTest::newRow("4-h-at-95-osha-pel") << minutes("095.0", 240) << "osha-pel" << 8.0
            << QStringList{"100.00", "90.0", "200.00", "95.0"};
        QTest::newRow("8-h-at-88-niosh") << minutes("088.0", 480) << "niosh" << 8.0
            << QStringList{"200.00", "88.0", "200.00", "88.0"};
        QTest::newRow("pel-threshold-leaves-89.9-out") << minutes("089.9", 480) << "osha-pel" << 8.0
            << QStringList{"0.00", "", "0.00", ""};
        QTest::newRow("hc-threshold-counts-89.9") << minutes("089.9", 480) << "osha-hc" << 8.0
            << QStringList{"98.62", "89.9", "98.62", "89.9"};
        QTest::newRow("custom-4-db-rate") << minutes("089.0", 240) << "85:4:75" << 8.0
            << QStringList{"100.00", "85.0", "200.00", "89.0"};
        QTest::newRow("10-h-shift") << minutes("090.0", 480) << "osha-pel" << 10.0
            << QStringList{"100.00", "90.0", "125.00", "91.6"};
        // 8 minutes at 90 dB are 1.67 %; projected from the unrounded 1.6667 % to 8 h,
        // not from 1.67 % × 60.
        QTest::newRow("projection-not-from-the-rounded-dose") << minutes("090.0", 8)
            << "osha-pel" << 8.0 << QStringList{"1.67", "60.5", "100.00", "90.0"};
        // clang-format on
    }
    void dose()
    {
        QFETCH(RecordTable, records);
        QFETCH(QString, criterion);
        QFETCH(double, shiftHours);
        QFETCH(QStringList, expected);
        const QHash<QString, QString> values = figures(assessed(records, criterion, shiftHours));
        QCOMPARE((QStringList{values.value(criterion + ".dose"), values.value(criterion + ".twa"),
                              values.value(criterion + ".projected-dose"),
                              values.value(criterion + ".projected-twa")}),
                 expected);
    }

    void levelsAndStatus_data()
    {
        QTest::addColumn<RecordTable>("records");
        QTest::addColumn<double>("shiftHours");
        QTest::addColumn<QStringList>("expected"); // laeq, lex8h, max, above 80/85/90, status
        // clang-format off
        QTest::newRow("halves-of-80-and-100") << minutes("080.0", 30, "100.0", 30) << 8.0
            << QStringList{"97.0", "97.0", "100.0", "01:00:00", "00:30:00", "00:30:00",
                           "limit value exceeded"};
        QTest::newRow("79.9-is-below") << minutes("079.9", 60) << 8.0
            << QStringList{"79.9", "79.9", "79.9", "00:00:00", "00:00:00", "00:00:00",
                           "below the lower action value"};
        QTest::newRow("80-is-a-lower-action-value") << minutes("080.0", 60) << 8.0
            << QStringList{"80.0", "80.0", "80.0", "01:00:00", "00:00:00", "00:00:00",
                           "lower action value"};
        QTest::newRow("85-for-a-4-h-shift") << minutes("088.0", 60) << 4.0
            << QStringList{"88.0", "85.0", "88.0", "01:00:00", "01:00:00", "00:00:00",
                           "upper action value"};
        // 90 dB for 4 h is 86.99 dB, shown and judged as 87.0.
        QTest::newRow("86.99-judged-as-shown") << minutes("090.0", 60) << 4.0
            << QStringList{"90.0", "87.0", "90.0", "01:00:00", "01:00:00", "01:00:00",
                           "limit value exceeded"};
        QTest::newRow("under-range-and-overload") << minutes("----", 59, " OL ", 1) << 8.0
            << QStringList{"122.2", "122.2", "140.0", "00:01:00", "00:01:00", "00:01:00",
                           "limit value exceeded"};
        // clang-format on
    }
    void levelsAndStatus()
    {
        QFETCH(RecordTable, records);
        QFETCH(double, shiftHours);
        const QHash<QString, QString> values = figures(assessed(records, "niosh", shiftHours));
        QStringList actual;
        for (const char *name : {"laeq", "lex8h", "max", "time-above-80", "time-above-85",
                                 "time-above-90", "eu-status"})
            actual << values.value(QLatin1String(name));
        QTEST(actual, "expected");
    }

    void excludedSpans_data()
    {
        QTest::addColumn<QList<ExcludedSpan>>("spans");
        QTest::addColumn<QStringList>("expected"); // records, skipped, excluded, measured, max
        // Ten minutes at 85 dB, 110 dB in minutes 4 to 6, no level in minute 9.
        const auto span = [](int first, int last) {
            return ExcludedSpan{0, first, last, QStringLiteral("microphone knocked")};
        };
        // clang-format off
        QTest::newRow("none") << QList<ExcludedSpan>{}
            << QStringList{"10", "1", "0", "00:09:00", "110.0"};
        QTest::newRow("the-knocks") << QList<ExcludedSpan>{span(4, 6)}
            << QStringList{"10", "1", "3", "00:06:00", "85.0"};
        QTest::newRow("overlapping-count-once") << QList<ExcludedSpan>{span(4, 5), span(5, 6)}
            << QStringList{"10", "1", "3", "00:06:00", "85.0"};
        QTest::newRow("no-level-inside-is-excluded") << QList<ExcludedSpan>{span(8, 10)}
            << QStringList{"10", "0", "3", "00:07:00", "110.0"};
        QTest::newRow("past-the-end-is-left-out") << QList<ExcludedSpan>{span(9, 11)}
            << QStringList{"10", "1", "0", "00:09:00", "110.0"};
        // clang-format on
    }
    void excludedSpans()
    {
        QFETCH(QList<ExcludedSpan>, spans);
        QStringList levels = rig::repeated("085.0", 10);
        levels[3] = levels[4] = levels[5] = "110.0";
        levels[8] = "n/a";
        const QHash<QString, QString> values =
            figures(assessed(rig::records(levels, kStart, 60), "niosh", 8.0, spans));
        QStringList actual;
        for (const char *name : {"records", "skipped", "excluded", "measured", "max"})
            actual << values.value(QLatin1String(name));
        QTEST(actual, "expected");
    }

    void noFigures_data()
    {
        QTest::addColumn<RecordTable>("records");
        QTest::addColumn<QList<ExcludedSpan>>("spans");
        QTest::addColumn<QString>("message");
        RecordTable unstamped;
        unstamped.appendRecord({"1", "", "", "085.0"});
        unstamped.appendRecord({"2", "", "", "085.0"});
        QTest::newRow("no-level") << minutes("n/a", 3) << QList<ExcludedSpan>{}
                                  << QString(ExposureAssessment::kNoLevels);
        QTest::newRow("all-excluded")
            << minutes("085.0", 3) << QList<ExcludedSpan>{{0, 1, 3, "meter on the bench"}}
            << "There are no levels to assess: every record with a level is excluded.";
        QTest::newRow("no-period") << unstamped << QList<ExcludedSpan>{}
                                   << "shift.dat: its time stamps give no period (fewer than two "
                                      "can be read), so its records have no duration.";
    }
    void noFigures()
    {
        QFETCH(RecordTable, records);
        QFETCH(QList<ExcludedSpan>, spans);
        QTEST(assessed(records, "niosh", 8.0, spans).message, "message");
    }

    // An hour of 1-s records at 80 dB and half an hour of 1-min records at 90 dB: each
    // record stands for its own file's period, so 3600 records weigh twice 30.
    void filesPooledWithTheirPeriods()
    {
        ExposureAssessment assessment;
        assessment.addRecords("seconds.dat", rig::records(rig::repeated("080.0", 3600), kStart, 1));
        assessment.addRecords("minutes.dat", minutes("090.0", 60));
        const AssessmentResult result = assessment.assess(
            {CriterionSet::named(), 8.0, {{1, 31, 60, QStringLiteral("lunch break")}}});
        const QHash<QString, QString> values = figures(result);
        QCOMPARE(values.value("files"), "2");
        QCOMPARE(values.value("records"), "3660");
        QCOMPARE(values.value("measured"), "01:30:00");
        QCOMPARE(values.value("laeq"), "86.0");
        QCOMPARE(values.value("osha-hc.dose"), "9.38");
        QCOMPARE(result.lines().last(), "excluded-span: minutes.dat:31-60:lunch break");
    }

    // The sampling time changes during a recording: an hour of 1-s records at 85 dB, then
    // 420 one-minute records at 95 dB, 8 h in all. LAeq = 10 lg((3600 × 10^8.5 + 25200 ×
    // 10^9.5) / 28800) = 94.48; osha-pel counts 7 h at 95 dB against 4 h allowed, 175 %;
    // osha-hc adds 1 h at 85 dB against 16 h, 181.25 %; niosh (3600 + 25200 × 2^(10/3)) s
    // over 8 h, 894.44 %.
    void eachRecordStandsForItsOwnTime()
    {
        RecordTable table = rig::records(rig::repeated("085.0", 3600), kStart, 1);
        const RecordTable later = minutes("095.0", 420);
        for (int r = 0; r < later.recordCount(); ++r)
            table.appendRecord({QString::number(3601 + r), later.cell(r, 1),
                                QTime::fromString(later.cell(r, 2), "hh:mm:ss.z")
                                    .addSecs(3600)
                                    .toString("hh:mm:ss.0"),
                                later.cell(r, 3)});
        ExposureAssessment assessment;
        assessment.addRecords("changed.dat", table);
        const QHash<QString, QString> values =
            figures(assessment.assess({CriterionSet::named(), 8.0, {}}));
        QStringList actual;
        for (const char *name :
             {"measured", "laeq", "lex8h", "time-above-90", "osha-pel.dose", "osha-pel.twa",
              "osha-hc.dose", "niosh.dose", "niosh.twa", "niosh.projected-dose"})
            actual << values.value(QLatin1String(name));
        QCOMPARE(actual, (QStringList{"08:00:00", "94.5", "94.5", "07:00:00", "175.00", "94.0",
                                      "181.25", "894.44", "94.5", "894.44"}));
    }

    // Two runs of 10 one-minute records an hour apart in one list: the hour between them is
    // a pause, not measured time.
    void pauseIsNotMeasured()
    {
        RecordTable table = minutes("090.0", 10);
        const RecordTable later =
            rig::records(rig::repeated("090.0", 10), kStart.addSecs(70 * 60), 60);
        for (int r = 0; r < later.recordCount(); ++r)
            table.appendRecord(
                {QString::number(11 + r), later.cell(r, 1), later.cell(r, 2), later.cell(r, 3)});
        const QHash<QString, QString> values = figures(assessed(table, "osha-pel", 8.0));
        QCOMPARE(values.value("measured"), "00:20:00");
        QCOMPARE(values.value("osha-pel.dose"), "4.17");
    }

    void criterionSets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed"); // Lc/Q/Lt, empty when refused
        QTest::newRow("osha-pel") << "osha-pel"
                                  << "90/5/90";
        QTest::newRow("acgih") << "acgih"
                               << "85/3/80";
        QTest::newRow("custom") << "85:4:75.5"
                                << "85/4/75.5";
        QTest::newRow("custom-edges") << "100:6:0"
                                      << "100/6/0";
        QTest::newRow("criterion-below-70") << "69:3:80"
                                            << "";
        QTest::newRow("rate-7") << "85:7:80"
                                << "";
        QTest::newRow("threshold-above-140") << "85:3:140.5"
                                             << "";
        QTest::newRow("two-fields") << "85:3"
                                    << "";
        QTest::newRow("capitals") << "OSHA-PEL"
                                  << "";
    }
    void criterionSets()
    {
        QFETCH(QString, text);
        QString problem;
        const std::optional<CriterionSet> set = CriterionSet::parse(text, &problem);
        QTEST(set ? QStringLiteral("%1/%2/%3")
                        .arg(set->criterionDb)
                        .arg(set->exchangeRateDb)
                        .arg(set->thresholdDb)
                  : QString(),
              "parsed");
        QCOMPARE(problem.isEmpty(), bool(set));
        if (set)
            QCOMPARE(set->name, text);
    }

    void spanProblems_data()
    {
        QTest::addColumn<ExcludedSpan>("span");
        QTest::addColumn<QString>("problem");
        QTest::newRow("fine") << ExcludedSpan{0, 2, 2, "lunch"} << "";
        QTest::newRow("from-0") << ExcludedSpan{0, 0, 2, "lunch"}
                                << "Records 0-2 of shift.dat: records are numbered from 1.";
        QTest::newRow("reversed") << ExcludedSpan{0, 3, 2, "lunch"}
                                  << "Records 3-2 of shift.dat: the first record is after the "
                                     "last.";
        QTest::newRow("past-the-end") << ExcludedSpan{0, 2, 4, "lunch"}
                                      << "Records 2-4 are outside shift.dat: it has 3 records.";
        QTest::newRow("no-reason") << ExcludedSpan{0, 1, 2, " "}
                                   << "Give a reason for excluding records 1-2 of shift.dat.";
    }
    void spanProblems()
    {
        QFETCH(ExcludedSpan, span);
        ExposureAssessment assessment;
        assessment.addRecords("shift.dat", minutes("085.0", 3));
        QTEST(assessment.spanProblem(span), "problem");
    }
};

DOSEMETER_TEST(TestExposureAssessment)
#include "tst_ExposureAssessment.moc"
