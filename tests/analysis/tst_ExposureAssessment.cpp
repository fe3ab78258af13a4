// The exposure assessment's rules: the dose and TWA under each criterion set, measured and
// projected to the shift; LAeq, LEX,8h, the time above levels and the EU status; excluded
// spans; records of several files pooled with their own periods. Every expected figure
// was worked out by hand from the rule.

#include "AnalysisRig.h"

#include "analysis/ExposureAssessment.h"
#include "support/TestMain.h"

#include <QRegularExpression>
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
        const QStringList lines = result.lines();
        QCOMPARE(lines.at(lines.size() - 2), "excluded-span: minutes.dat:31-60:lunch break");
        QVERIFY(lines.last().startsWith("advisory: the measurement covers 19 % of the shift"));
    }

    // The sampling time changes during a recording: an hour of 1-s records at 85 dB, then
    // 420 one-minute records at 95 dB, 8 h in all. LAeq = 10 lg((3600 × 10^8.5 + 25200 ×
    // 10^9.5) / 28800) = 94.48; osha-pel counts 7 h at 95 dB against 4 h allowed, 175 %;
    // osha-hc adds 1 h at 85 dB against 16 h, 181.25 %; niosh (3600 + 25200 × 2^(10/3)) s
    // over 8 h, 894.44 %.
    // Overloads and under-range records among those used, and the advisory that the
    // figures are then lower bounds.
    void overloadsAndUnderRange_data()
    {
        QTest::addColumn<QStringList>("levels"); // one-minute records
        QTest::addColumn<QList<ExcludedSpan>>("spans");
        QTest::addColumn<QStringList>("expected"); // overloads, under-range, laeq, advisory
        QStringList four = rig::repeated("085.0", 480);
        four[100] = four[101] = four[300] = four[301] = " OL ";
        QStringList under = rig::repeated("085.0", 10);
        under[0] = under[9] = "----";
        // 10 lg((476 × 10^8.5 + 4 × 10^14) / 480) = 119.21 dB; 85.0 without them.
        // clang-format off
        QTest::newRow("four-overloads-among-85") << four << QList<ExcludedSpan>{}
            << QStringList{"4", "0", "119.2", "advisory: 4 overload records (above the meter's "
                           "140 dB range) among those used: LAeq, LEX,8h, the doses and the TWAs "
                           "are lower bounds; overloads add 34.2 dB to LAeq"};
        QTest::newRow("overloads-excluded") << four
            << QList<ExcludedSpan>{{0, 101, 102, "knocked"}, {0, 301, 302, "knocked"}}
            << QStringList{"0", "0", "85.0", ""};
        QTest::newRow("one-of-two-excluded") << four
            << QList<ExcludedSpan>{{0, 101, 102, "knocked"}, {0, 302, 302, "knocked"}}
            << QStringList{"1", "0", "113.2", "advisory: 1 overload record (above the meter's "
                           "140 dB range) among those used: LAeq, LEX,8h, the doses and the TWAs "
                           "are lower bounds; overloads add 28.2 dB to LAeq"};
        QTest::newRow("overloads-only") << rig::repeated(" OL ", 480) << QList<ExcludedSpan>{}
            << QStringList{"480", "0", "140.0", "advisory: 480 overload records (above the "
                           "meter's 140 dB range) among those used: LAeq, LEX,8h, the doses and "
                           "the TWAs are lower bounds"};
        QTest::newRow("under-range") << under + rig::repeated("085.0", 470) << QList<ExcludedSpan>{}
            << QStringList{"0", "2", "85.0", ""};
        // clang-format on
    }
    void overloadsAndUnderRange()
    {
        QFETCH(QStringList, levels);
        QFETCH(QList<ExcludedSpan>, spans);
        const AssessmentResult result =
            assessed(rig::records(levels, kStart, 60), "niosh", 8.0, spans);
        const QHash<QString, QString> values = figures(result);
        QStringList actual{values.value("overloads"), values.value("under-range"),
                           values.value("laeq"), QString()};
        for (const QString &line : result.lines()) {
            if (line.startsWith("advisory: "))
                actual.last() = line;
        }
        QTEST(actual, "expected");
        // The counts follow "excluded:".
        QCOMPARE(result.lines().mid(3, 3).join('|'), "excluded: " + values.value("excluded") +
                                                         "|overloads: " + actual.at(0) +
                                                         "|under-range: " + actual.at(1));
    }

    // T over Te, whole percent, and the advisory below 50 %.
    void coverage_data()
    {
        QTest::addColumn<RecordTable>("records");
        QTest::addColumn<double>("shiftHours");
        QTest::addColumn<QString>("coverage");
        QTest::addColumn<bool>("advisory");
        QTest::newRow("whole-shift") << minutes("085.0", 480) << 8.0 << "100 %" << false;
        QTest::newRow("half") << minutes("085.0", 240) << 8.0 << "50 %" << false;
        // 237 of 480 minutes: 49.4 %.
        QTest::newRow("just-below-half") << minutes("085.0", 237) << 8.0 << "49 %" << true;
        QTest::newRow("five-minutes")
            << rig::records(rig::repeated("085.0", 300), kStart, 1) << 8.0 << "1 %" << true;
        QTest::newRow("8-h-of-a-10-h-shift") << minutes("085.0", 480) << 10.0 << "80 %" << false;
    }
    void coverage()
    {
        QFETCH(RecordTable, records);
        QFETCH(double, shiftHours);
        QFETCH(bool, advisory);
        const AssessmentResult result = assessed(records, "niosh", shiftHours);
        const QStringList lines = result.lines();
        const qsizetype shift = lines.indexOf(QRegularExpression("^shift: .*"));
        QVERIFY(shift > 0);
        QFETCH(QString, coverage);
        QCOMPARE(lines.at(shift + 1), "coverage: " + coverage);
        QCOMPARE(lines.last() ==
                     QStringLiteral("advisory: the measurement covers %1 of the shift: the "
                                    "projection to the shift assumes the unmeasured part is "
                                    "like the measured part")
                         .arg(figures(result).value("coverage")),
                 advisory);
    }

    // Records more than 4 h apart are different shifts, each with its own line.
    void shifts_data()
    {
        QTest::addColumn<QDateTime>("secondStart"); // the second list's
        QTest::addColumn<int>("gapMinutes");        // between the first list's two halves
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        // 4 h at 85 dB, then 2 h at 90 dB the next morning: two shifts.
        const QDateTime nextMorning(kStart.date().addDays(1), QTime(8, 0));
        QTest::newRow("two-days") << nextMorning << 0 << QStringList{
            "shift 1: start 2009-11-30 08:00:00 measured 04:00:00 laeq 85.0 lex8h 85.0 "
            "eu-status upper action value",
            "shift 2: start 2009-12-01 08:00:00 measured 02:00:00 laeq 90.0 lex8h 90.0 "
            "eu-status limit value exceeded",
            "advisory: the records fall in 2 shifts, more than 4 hours apart: the pooled "
            "figures mix days; each shift's own are on its shift line"};
        // A 5-h pause in the first list makes three.
        QTest::newRow("pause-of-5-h") << nextMorning << 300 << QStringList{
            "shift 1: start 2009-11-30 08:00:00 measured 02:00:00 laeq 85.0 lex8h 85.0 "
            "eu-status upper action value",
            "shift 2: start 2009-11-30 15:00:00 measured 02:00:00 laeq 85.0 lex8h 85.0 "
            "eu-status upper action value",
            "shift 3: start 2009-12-01 08:00:00 measured 02:00:00 laeq 90.0 lex8h 90.0 "
            "eu-status limit value exceeded",
            "advisory: the records fall in 3 shifts, more than 4 hours apart: the pooled "
            "figures mix days; each shift's own are on its shift line"};
        // A pause of 4 h (09:59 to 13:59) does not, and a list 2 h after the day's last
        // record joins it too.
        QTest::newRow("pause-of-4-h") << QDateTime(kStart.date(), QTime(18, 0)) << 239
                                      << QStringList{};
        // clang-format on
    }
    void shifts()
    {
        QFETCH(QDateTime, secondStart);
        QFETCH(int, gapMinutes);
        RecordTable first = minutes("085.0", 120);
        const RecordTable later =
            rig::records(rig::repeated("085.0", 120), kStart.addSecs(7200 + 60 * gapMinutes), 60);
        for (int r = 0; r < later.recordCount(); ++r)
            first.appendRecord(
                {QString::number(121 + r), later.cell(r, 1), later.cell(r, 2), later.cell(r, 3)});
        ExposureAssessment assessment;
        assessment.addRecords("day.dat", first);
        assessment.addRecords("next.dat",
                              rig::records(rig::repeated("090.0", 120), secondStart, 60));
        const AssessmentResult result =
            assessment.assess({{*CriterionSet::parse("niosh")}, 8.0, {}});
        QStringList actual;
        for (const QString &line : result.lines()) {
            if (line.startsWith("shift ") || line.startsWith("advisory: the records"))
                actual << line;
        }
        QTEST(actual, "expected");
        // The pooled figures stand before the shifts' lines, the criterion set's last.
        if (!actual.isEmpty())
            QVERIFY(result.lines()
                        .at(result.lines().indexOf(actual.first()) - 1)
                        .startsWith("niosh.projected-twa: "));
    }

    // Spans worth a look: isolated spikes of up to 3 records 15 dB or more above the
    // median of the 10 records on each side, and runs of overloads.
    void suggestions_data()
    {
        QTest::addColumn<QList<int>>("high"); // records (from 1) at the level, among 80 dB
        QTest::addColumn<QString>("level");
        QTest::addColumn<QList<ExcludedSpan>>("spans");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("one-record") << QList<int>{30} << "095.0" << QList<ExcludedSpan>{}
            << QStringList{"suggested: shift.dat:30-30: spike 15.0 dB above the records around it"};
        QTest::newRow("three-records") << QList<int>{30, 31, 32} << "101.5" << QList<ExcludedSpan>{}
            << QStringList{"suggested: shift.dat:30-32: spike 21.5 dB above the records around it"};
        QTest::newRow("four-records-are-no-spike") << QList<int>{30, 31, 32, 33} << "101.5"
            << QList<ExcludedSpan>{} << QStringList{};
        QTest::newRow("14.9-db-is-no-spike") << QList<int>{30} << "094.9" << QList<ExcludedSpan>{}
            << QStringList{};
        QTest::newRow("two-spikes") << QList<int>{30, 45} << "110.0" << QList<ExcludedSpan>{}
            << QStringList{"suggested: shift.dat:30-30: spike 30.0 dB above the records around it",
                           "suggested: shift.dat:45-45: spike 30.0 dB above the records around it"};
        QTest::newRow("overloads") << QList<int>{30, 31, 50} << " OL " << QList<ExcludedSpan>{}
            << QStringList{"suggested: shift.dat:30-31: overload",
                           "suggested: shift.dat:50-50: overload"};
        QTest::newRow("excluded-is-not-suggested") << QList<int>{30} << "110.0"
            << QList<ExcludedSpan>{{0, 29, 31, "knocked"}} << QStringList{};
        // clang-format on
    }
    void suggestions()
    {
        QFETCH(QList<int>, high);
        QFETCH(QString, level);
        QFETCH(QList<ExcludedSpan>, spans);
        QStringList levels = rig::repeated("080.0", 60);
        for (int record : std::as_const(high))
            levels[record - 1] = level;
        ExposureAssessment assessment;
        assessment.addRecords("shift.dat", rig::records(levels, kStart, 60));
        ExposureAssessment::Inputs inputs{{*CriterionSet::parse("niosh")}, 8.0, spans};
        QStringList unasked;
        for (const QString &line : assessment.assess(inputs).lines()) {
            if (line.startsWith("suggested: "))
                unasked << line;
        }
        QCOMPARE(unasked, QStringList());
        inputs.suggest = true;
        QStringList actual;
        for (const QString &line : assessment.assess(inputs).lines()) {
            if (line.startsWith("suggested: "))
                actual << line;
        }
        QTEST(actual, "expected");
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
