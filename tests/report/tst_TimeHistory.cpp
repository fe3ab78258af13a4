// The time history's reduction of many records to page columns, and its clock ticks.

#include "AnalysisRig.h"
#include "report/TimeHistory.h"
#include "support/TestMain.h"

#include <QTest>

#include <cmath>

class TestTimeHistory : public QObject {
    Q_OBJECT

private slots:
    void columns_data()
    {
        QTest::addColumn<QStringList>("levels");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected"); // "min-max" per column, "." for an empty one
        QTest::newRow("one-record-a-column")
            << QStringList{"80.0", "90.0", "85.5"} << 3 << "80-80 90-90 85.5-85.5";
        QTest::newRow("many-records-a-column")
            << QStringList{"80.0", "95.0", "70.0", "88.0", "91.0", "60.0"} << 2 << "70-95 60-91";
        QTest::newRow("more-columns-than-records")
            << QStringList{"80.0", "90.0"} << 5 << "80-80 . . . 90-90";
        QTest::newRow("no-level-leaves-a-gap")
            << QStringList{"80.0", "n/a", "n/a", "90.0"} << 4 << "80-80 . . 90-90";
        QTest::newRow("overload-is-140") << QStringList{"80.0", " OL ", "75.0"} << 1 << "75-140";
    }

    void columns()
    {
        QFETCH(QStringList, levels);
        QFETCH(int, count);
        QFETCH(QString, expected);
        const RecordTable table = rig::records(levels);
        std::vector<double> values;
        for (const QString &level : levels) {
            const QString text = level.trimmed();
            values.push_back(text == QLatin1String("OL")    ? 140.0
                             : text == QLatin1String("n/a") ? std::nan("")
                                                            : text.toDouble());
        }
        TimeHistory history;
        history.addList(table, values);
        QStringList shown;
        for (const TimeHistory::Column &column : history.columns(count))
            shown << (column.empty() ? QStringLiteral(".")
                                     : QStringLiteral("%1-%2").arg(column.min).arg(column.max));
        QCOMPARE(shown.join(' '), expected);
    }

    void tickStep_data()
    {
        QTest::addColumn<qint64>("spanTenths");
        QTest::addColumn<int>("most");
        QTest::addColumn<qint64>("stepTenths");
        QTest::newRow("five-minutes-by-minutes") << qint64(3000) << 10 << qint64(600);
        QTest::newRow("an-hour-in-ten") << qint64(36000) << 10 << qint64(6000);
        QTest::newRow("a-shift-by-hours") << qint64(8 * 36000) << 10 << qint64(36000);
        QTest::newRow("a-day-in-six") << qint64(864000) << 6 << qint64(6 * 36000);
        QTest::newRow("a-week-by-days") << qint64(7 * 864000) << 10 << qint64(864000);
        QTest::newRow("a-month-in-six") << qint64(30 * 864000) << 6 << qint64(6 * 864000);
    }

    void tickStep()
    {
        QFETCH(qint64, spanTenths);
        QFETCH(int, most);
        QFETCH(qint64, stepTenths);
        QCOMPARE(TimeHistory::tickStepTenths(spanTenths, most), stepTenths);
    }
};

DOSEMETER_TEST(TestTimeHistory)

#include "tst_TimeHistory.moc"
