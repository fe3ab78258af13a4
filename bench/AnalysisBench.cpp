// bench-analysis: how long the histogram counting and the exposure statistics take for
// a day of one-second records (86,400), the largest recording a shift produces. The
// records are read from a generated ".dat" file as "View File" reads them; the figures
// are the median of the runs.
//
//   bench-analysis [--repeat N]   (default 21)

#include "analysis/ExposureStatistics.h"
#include "analysis/HistogramState.h"
#include "analysis/LevelHistogram.h"
#include "data/DatFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int kRecords = 86400;

// A day of levels between 60 and 120 dB with some under-range and overload records.
QByteArray dayOfRecords()
{
    RecordTable table;
    QDateTime stamp(QDate(2009, 11, 30), QTime(0, 0));
    for (int i = 0; i < kRecords; ++i) {
        QString level;
        if (i % 997 == 0)
            level = QStringLiteral("----");
        else if (i % 1499 == 0)
            level = QStringLiteral(" OL ");
        else
            level = QString::number(60.0 + (i * 7919 % 600) / 10.0, 'f', 1)
                        .rightJustified(5, QLatin1Char('0'));
        table.appendRecord({QString::number(i + 1), stamp.toString(QStringLiteral("yyyy/MM/dd")),
                            stamp.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral(".0"),
                            level});
        stamp = stamp.addSecs(1);
    }
    return DatFile::gridBytes(table, {});
}

template <typename Work> double medianMilliseconds(int repeat, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int repeat = 21;
    const QStringList args = app.arguments();
    if (const int i = int(args.indexOf(QStringLiteral("--repeat"))); i > 0 && i + 1 < args.size())
        repeat = std::max(1, args.at(i + 1).toInt());

    const DatFile::Content content = DatFile::parse(dayOfRecords());
    const RecordTable &table = content.table;
    if (!content.ok() || table.recordCount() != kRecords) {
        out << "the generated file did not read back: " << content.error << "\n";
        return 1;
    }

    qint64 counted = 0;
    const double histogram = medianMilliseconds(repeat, [&] {
        HistogramState state;
        const LevelHistogram::Opening opening =
            LevelHistogram::open(table, LevelHistogram::Resolution::TenthDb, state);
        counted = opening.counts.TenthDbCounts[680];
    });
    ExposureStatistics statistics;
    const double stats = medianMilliseconds(repeat, [&] {
        statistics = ExposureStatistics::compute(table, ExposureStatistics::Settings());
    });

    out << "records: " << table.recordCount() << "\n"
        << "histogram counting (opening step, both resolutions): "
        << QString::number(histogram, 'f', 2) << " ms (goal <= 20 ms)\n"
        << "statistics (with dose): " << QString::number(stats, 'f', 2) << " ms (goal <= 20 ms)\n"
        << "check: " << counted << " under range, laeq " << statistics.laeqTenths / 10.0
        << " dB, dose " << statistics.dosePercent.value_or(0.0) << " %\n";
    return 0;
}
