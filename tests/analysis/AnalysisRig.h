#pragma once

// Record lists, runs of the command line, PDF reading and graph ranges for the analysis
// tests.

#include "data/RecordTable.h"
#include "support/TestMain.h"

#include <QDateTime>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <qcustomplot.h>

namespace rig {

// One record per level, numbered from 1, stamped from `start` every `stepSeconds`.
inline RecordTable records(const QStringList &levels,
                           const QDateTime &start = QDateTime(QDate(2009, 11, 30), QTime(8, 0)),
                           int stepSeconds = 1)
{
    RecordTable table;
    QDateTime stamp = start;
    for (int i = 0; i < levels.size(); ++i) {
        table.appendRecord({QString::number(i + 1), stamp.toString(QStringLiteral("yyyy/MM/dd")),
                            stamp.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(".0"),
                            levels.at(i)});
        stamp = stamp.addSecs(stepSeconds);
    }
    return table;
}

// `count` copies of one level.
inline QStringList repeated(const QString &level, int count)
{
    QStringList levels;
    levels.reserve(count);
    for (int i = 0; i < count; ++i)
        levels << level;
    return levels;
}

// A run of the built dosemeter-cli: its exit status (-1 when it did not end by itself
// within a minute), standard output and standard error.
struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

inline Run runCli(const QStringList &arguments)
{
    QProcess cli;
    cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"), arguments);
    Run run;
    if (!cli.waitForFinished(60000))
        return run;
    run.out = cli.readAllStandardOutput();
    run.err = cli.readAllStandardError();
    run.code = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    return run;
}

// The text pdftotext finds in a PDF, in reading order.
inline QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// How many raster images a PDF holds (pdfimages -list: two heading lines, then one line
// per image); -1 when it cannot be read.
inline int pdfImageCount(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return int(lines.size()) - 2;
}

} // namespace rig

Q_DECLARE_METATYPE(QCPRange)

// A graph's axis range in failure messages.
inline char *toString(const QCPRange &range)
{
    return QTest::toString(QStringLiteral("%1..%2").arg(range.lower).arg(range.upper));
}
