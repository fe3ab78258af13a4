#include "data/LoggerImage.h"
#include "data/LoggerRun.h"
#include "data/PlotColumn.h"
#include "data/RunStamp.h"
#include "support/TestMain.h"

#include <QTest>

class TestRunDecoding : public QObject {
    Q_OBJECT

private slots:
    void stampCarries_data()
    {
        // clang-format off
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("intervalTenths");
        QTest::addColumn<int>("samples");
        QTest::addColumn<QString>("lastDate");
        QTest::addColumn<QString>("lastTime");

        QTest::newRow("half-second-before-new-year")
            << "2009/12/31" << "23:59:59" << 5 << 1 << "2009/12/31" << "23:59:59.5";
        QTest::newRow("half-second-into-new-year")
            << "2009/12/31" << "23:59:59" << 5 << 2 << "2010/01/01" << "00:00:00.0";
        QTest::newRow("hourly-onto-leap-day-2008")
            << "2008/02/28" << "00:00:00" << 36000 << 24 << "2008/02/29" << "00:00:00.0";
        QTest::newRow("hourly-past-february-2009")
            << "2009/02/28" << "00:00:00" << 36000 << 24 << "2009/03/01" << "00:00:00.0";
        QTest::newRow("century-leap-year-2000")
            << "2000/02/28" << "12:00:00" << 36000 << 24 << "2000/02/29" << "12:00:00.0";
        QTest::newRow("century-no-leap-2100")
            << "2100/02/28" << "12:00:00" << 36000 << 24 << "2100/03/01" << "12:00:00.0";
        QTest::newRow("two-minutes-keep-seconds")
            << "2009/11/30" << "10:58:30" << 1200 << 2 << "2009/11/30" << "11:02:30.0";
        QTest::newRow("thirty-day-month")
            << "2009/04/30" << "23:30:00" << 36000 << 1 << "2009/05/01" << "00:30:00.0";
        QTest::newRow("thirty-one-day-month")
            << "2009/05/30" << "23:30:00" << 36000 << 1 << "2009/05/31" << "00:30:00.0";
        QTest::newRow("largest-interval-over-new-year")
            << "2009/12/31" << "23:00:00" << 65535 << 1 << "2010/01/01" << "00:49:13.5";
        QTest::newRow("tenths-add-up-exactly")
            << "2009/11/30" << "10:00:00" << 1 << 600 << "2009/11/30" << "10:01:00.0";
        QTest::newRow("point-three-never-drifts")
            << "2009/11/30" << "10:00:00" << 3 << 12000 << "2009/11/30" << "11:00:00.0";
        QTest::newRow("a-whole-year-of-hours")
            << "2009/01/01" << "00:00:00" << 36000 << 24 * 365 << "2010/01/01" << "00:00:00.0";
        QTest::newRow("a-leap-year-of-hours")
            << "2008/01/01" << "00:00:00" << 36000 << 24 * 366 << "2009/01/01" << "00:00:00.0";
        // clang-format on
    }
    void stampCarries()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(int, intervalTenths);
        QFETCH(int, samples);
        RunStamp stamp = RunStamp::fromTexts(date, time);
        for (int i = 0; i < samples; ++i)
            stamp.advance(intervalTenths);
        QTEST(stamp.dateText(), "lastDate");
        QTEST(stamp.timeText(), "lastTime");
    }

    // Set texts that are no date and time must neither hang the listing nor overflow:
    // they give some date and the listing goes on.
    void damagedStampStillMovesOn_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("nextDate");
        QTest::addColumn<QString>("nextTime");
        QTest::newRow("fields-out-of-range") << "2009/45/99"
                                             << "99:99:99"
                                             << "2010/03/13"
                                             << "04:40:40.0";
        QTest::newRow("exponent-year") << "20E9/12/05"
                                       << "10:00:00"
                                       << "9999/12/05"
                                       << "10:00:01.0";
        QTest::newRow("exponent-fields") << "2009/1E/9E"
                                         << "9E:1E:2E"
                                         << "2009/01/09"
                                         << "09:01:03.0";
        QTest::newRow("no-digits") << "20AE/AE/AE"
                                   << "AE:AE:AE"
                                   << "20/00/00"
                                   << "00:00:01.0";
    }
    void damagedStampStillMovesOn()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        RunStamp stamp = RunStamp::fromTexts(date, time);
        stamp.advance(10);
        QTEST(stamp.dateText(), "nextDate");
        QTEST(stamp.timeText(), "nextTime");
    }

    // Three streams of the same bytes, each damaged as the row says, merged into their
    // first `length` bytes (the first byte is the stream's leading byte, no register).
    void mergeStreams_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<QByteArray>("c");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("merged");
        const QByteArray clean = "*0123456789ABCDEFGHIJKLMNOPQRSTUV";
        const QByteArray whole = clean.left(24);
        QTest::newRow("alike") << clean << clean << clean << 24 << whole;
        QTest::newRow("leading-bytes-differ")
            << clean << "#" + clean.mid(1) << "%" + clean.mid(1) << 24 << whole;
        QTest::newRow("changed") << clean << clean
                                 << QByteArray("*0123x56789ABCDEFGHIJKLMNOPQRSTUV") << 24 << whole;
        QTest::newRow("lost") << clean << QByteArray("*012346789ABCDEFGHIJKLMNOPQRSTUV") << clean
                              << 24 << whole;
        QTest::newRow("added") << QByteArray("*01234y56789ABCDEFGHIJKLMNOPQRSTUV") << clean << clean
                               << 24 << whole;
        QTest::newRow("lost-in-two-streams")
            << QByteArray("*01234678ABCDEFGHIJKLMNOPQRSTUV") << clean
            << QByteArray("*0123456789ABCDEFHIJKLMNOPQRSTUV") << 24 << whole;
        QTest::newRow("lost-in-a-repeat") << QByteArray("*0111123") << QByteArray("*011123")
                                          << QByteArray("*0111123") << 7 << QByteArray("*011112");
        QTest::newRow("all-three-differ")
            << clean << QByteArray("*0123x56789ABCDEFGHIJKLMNOPQRSTUV")
            << QByteArray("*0123y56789ABCDEFGHIJKLMNOPQRSTUV") << 24 << QByteArray("*0123");
        QTest::newRow("streams-run-out")
            << clean.left(10) << clean.left(10) << clean << 24 << clean.left(10);
    }
    void mergeStreams()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(QByteArray, c);
        QFETCH(int, length);
        QTEST(LoggerImage::merge(a, b, c, length), "merged");
    }

    void levelText_data()
    {
        // clang-format off
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("text");

        QTest::newRow("leading-zero-dropped") << 0x45 << 0x09 << 0 << "94.5";
        QTest::newRow("three-digits") << 0x34 << 0x12 << 0 << "123.4";
        QTest::newRow("zero-keeps-two-digits") << 0x00 << 0x00 << 0 << "00.0";
        QTest::newRow("one-zero-dropped-only") << 0x05 << 0x00 << 0 << "00.5";
        QTest::newRow("overload-flag") << 0x45 << 0x09 << 0x40 << "OL";
        QTest::newRow("overload-with-other-flags") << 0x00 << 0x00 << 0xFF << "OL";
        QTest::newRow("other-flags-ignored") << 0x45 << 0x09 << 0xBF << "94.5";
        QTest::newRow("non-bcd-shown-as-is") << 0x4A << 0x0B << 0 << "B4.A";
        // clang-format on
    }
    void levelText()
    {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, flags);
        QTEST(LoggerRun::levelText(quint8(low), quint8(high), quint8(flags)), "text");
    }

    void intervalText_data()
    {
        // clang-format off
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("text");
        QTest::newRow("one-digit") << 5 << "0.5";
        QTest::newRow("zero") << 0 << "0.0";
        QTest::newRow("one-second") << 10 << "1.0";
        QTest::newRow("twelve-and-a-half") << 125 << "12.5";
        QTest::newRow("minute") << 600 << "60.0";
        QTest::newRow("largest") << 65535 << "6553.5";
        // clang-format on
    }
    void intervalText()
    {
        QFETCH(int, tenths);
        QTEST(LoggerRun::intervalText(tenths), "text");
    }

    void remainingText_data()
    {
        // clang-format off
        QTest::addColumn<bool>("full");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty-logger") << false << 0 << 0x0300 << "32 K";
        QTest::newRow("one-small-run-truncated") << false << 1 << 0x031B << "29.7 K";
        QTest::newRow("whole-kib") << false << 3 << 0x7A00 - 2048 << "2 K";
        QTest::newRow("just-under-a-tenth") << false << 3 << 0x7A00 - 102 << "0 K";
        QTest::newRow("at-the-end") << false << 9 << 0x7A00 << "0 K";
        QTest::newRow("full-flag-wins") << true << 1 << 0x031B << "0";
        QTest::newRow("full-flag-even-when-empty") << true << 0 << 0x0300 << "0";
        // clang-format on
    }
    void remainingText()
    {
        QFETCH(bool, full);
        QFETCH(int, runs);
        QFETCH(int, end);
        QTEST(LoggerImage::remainingText(full, runs, end), "text");
    }

    void setLine_data()
    {
        // clang-format off
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("samplesText");
        QTest::addColumn<int>("whole");
        // The run of six samples from 0x0300 to 0x031A; the first free address 0x031B.
        QTest::newRow("six-samples") << 0x031A << "6" << 6;
        QTest::newRow("unaligned-shown-unrounded") << 0x031B << "6.33333333333333" << 6;
        QTest::newRow("header-only") << 0x0308 << "0" << 0;
        QTest::newRow("shorter-than-header") << 0x0305 << "-1" << 0;
        // clang-format on
    }
    void setLine()
    {
        QFETCH(int, last);
        const QByteArray header = QByteArray::fromHex("0912312359595802");
        const LoggerRun::SetLine line = LoggerRun::setLine(3, header, 0x0300, last);
        QCOMPARE(line.cells().mid(0, 4), QStringList({"3", "2009/12/31", "23:59:59", "60.0"}));
        QTEST(line.cells().at(4), "samplesText");
        QTEST(line.wholeSamples(), "whole");
    }

    void recordsOfASet()
    {
        // Three samples: 94.5, 00.0, an overload; the run's closing byte and two more.
        const QByteArray run = QByteArray::fromHex("0912312359590500"
                                                   "450900"
                                                   "000000"
                                                   "341240"
                                                   "ff0000");
        const QStringList set{"1", "2009/12/31", "23:59:59", "0.5", "3"};
        const RecordTable table = LoggerRun::records(set, run);
        QCOMPARE(table.recordCount(), 3);
        QCOMPARE(table.record(0), QStringList({"1", "2009/12/31", "23:59:59.5", "94.5"}));
        QCOMPARE(table.record(1), QStringList({"2", "2010/01/01", "00:00:00.0", "00.0"}));
        QCOMPARE(table.record(2), QStringList({"3", "2010/01/01", "00:00:00.5", "OL"}));
    }

    void recordsStopAtTheRunsEnd()
    {
        // A count larger than the bytes hold (a damaged run table) lists what is there.
        const QByteArray run = QByteArray::fromHex("0912312359590500"
                                                   "450900"
                                                   "0000");
        QCOMPARE(
            LoggerRun::records({"1", "2009/12/31", "23:59:59", "0.5", "1000"}, run).recordCount(),
            1);
        QCOMPARE(
            LoggerRun::records({"1", "2009/12/31", "23:59:59", "0.5", "-1"}, run).recordCount(), 0);
    }

    void plotColumn()
    {
        RecordTable table;
        table.appendRecord({"1", "2009/11/30", "10:00:02.0", "094.5"});
        table.appendRecord({"2", "2009/11/30", "10:00:04.0", "----"});
        table.appendRecord({"3", "2009/11/30", "10:00:06.0", "135.2"});
        const PlotColumn plot = PlotColumn::fromTable(table, 3);
        QCOMPARE(plot.x, QVector<double>({1, 2, 3}));
        QCOMPARE(plot.y, QVector<double>({double(94.5f), double(67.9f), double(135.2f)}));
        QCOMPARE(plot.xMin, 1.0);
        QCOMPARE(plot.xMax, 3.0);
        QCOMPARE(plot.yMin, 68.0);
        QCOMPARE(plot.yMax, 140.0);
    }
};

DOSEMETER_TEST(TestRunDecoding)
#include "tst_RunDecoding.moc"
