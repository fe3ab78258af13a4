#include "AverageRig.h"

#include "averaging/AverageDialogs.h"
#include "averaging/IntervalPrompt.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

#include <QTest>

class TestIntervalPrompt : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("short-fields") << "1:2:3" << true << "01:02:03" << 3723;
        QTest::newRow("wrapped") << "25:61:61" << true << "01:01:01" << 3661;
        QTest::newRow("last-two-digits") << "100:00:00" << true << "00:00:00" << 0;
        QTest::newRow("default") << "00:00:10" << true << "00:00:10" << 10;
        QTest::newRow("one-colon-no-minutes") << "05:30" << true << "05:00:30" << 18030;
        QTest::newRow("seconds-two-characters") << "1:2:345" << true << "01:02:34" << 3754;
        QTest::newRow("letters-read-as-0") << "a:b:c" << true << "00:00:00" << 0;
        QTest::newRow("blanks-around") << " 2 : 3 : 4" << true << "02:03:04" << 7384;
        QTest::newRow("no-colon") << "0010" << false << "" << 0;
        QTest::newRow("negative") << "-1:00:00" << false << "" << 0;
        QTest::newRow("fraction") << "0.5:00:00" << false << "" << 0;
    }
    void parse()
    {
        QFETCH(QString, reply);
        QFETCH(bool, valid);
        const std::optional<IntervalPrompt::Interval> interval = IntervalPrompt::parse(reply);
        QCOMPARE(interval.has_value(), valid);
        if (!interval)
            return;
        QTEST(interval->text, "text");
        QTEST(interval->seconds, "seconds");
    }

    void prompt_data()
    {
        QTest::addColumn<QList<std::optional<QString>>>("replies");
        QTest::addColumn<QStringList>("shown"); // kinds of the dialogs shown
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        using Replies = QList<std::optional<QString>>;
        QTest::newRow("valid") << Replies{QString("0:5:0")} << QStringList{"input"} << "00:05:00"
                               << 300;
        QTest::newRow("invalid-then-valid")
            << Replies{QString("abc"), QString("1:2:3")} << QStringList{"input", "message", "input"}
            << "01:02:03" << 3723;
        QTest::newRow("cancelled")
            << Replies{std::nullopt} << QStringList{"input"} << "00:00:10" << 10;
        QTest::newRow("empty") << Replies{QString()} << QStringList{"input"} << "00:00:10" << 10;
        QTest::newRow("invalid-then-cancelled")
            << Replies{QString("10"), std::nullopt} << QStringList{"input", "message", "input"}
            << "00:00:10" << 10;
    }
    void prompt()
    {
        QFETCH(QList<std::optional<QString>>, replies);
        QFETCH(QStringList, shown);
        AverageRig rig;
        ScriptedDialogs dialogs;
        for (const std::optional<QString> &reply : replies)
            dialogs.inputs.enqueue(reply);
        AverageDialogs::askInterval(dialogs, nullptr, rig.run);
        QStringList kinds;
        for (const ScriptedDialogs::Shown &s : dialogs.shown) {
            kinds << s.kind;
            if (s.kind == "input") {
                QCOMPARE(s.title, QStringLiteral("Input Interval"));
                QCOMPARE(s.text, QStringLiteral("Enter interval\r\n (hh:nn:ss) "));
            } else {
                QCOMPARE(s.text, QStringLiteral("Invalid, try again!\r\n"));
                QCOMPARE(s.icon, Dialogs::Icon::Critical);
            }
        }
        QCOMPARE(kinds, shown);
        QTEST(rig.state.IntervalText, "text");
        QTEST(rig.state.IntervalSeconds, "seconds");
        // The interval shows from the next fresh start on.
        QVERIFY(rig.start());
        QTEST(rig.run.labels().interval, "text");
    }

    void noPromptDuringARun()
    {
        AverageRig rig;
        QVERIFY(rig.start());
        ScriptedDialogs dialogs;
        dialogs.inputs.enqueue(QString("1:0:0"));
        QVERIFY(!AverageDialogs::askInterval(dialogs, nullptr, rig.run));
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(rig.state.IntervalSeconds, 10);
    }
};

DOSEMETER_TEST(TestIntervalPrompt)
#include "tst_IntervalPrompt.moc"
