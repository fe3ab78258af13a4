// bench-report: how long the shift report takes to write as a PDF, and how large the PDF
// is, for a day of one-second records (86,400) and for a week (604,800), under three
// criterion sets with an excluded hour. The time is from the records in memory to the
// PDF on the disk (the assessment, the distribution, the time history and the pages);
// the figures are the median of the runs. Targets: a day in at most 1 s and 1 MB, a week
// in at most 3 s.
//
//   bench-report [--repeat N]   (default 5)

#include "BenchRecords.h"

#include "report/ShiftReport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int repeat = 5;
    const QStringList args = QCoreApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--repeat"));
        at > 0 && at + 1 < args.size())
        repeat = std::max(1, args.at(at + 1).toInt());

    QTemporaryDir dir;
    QTextStream out(stdout);
    for (const int records : {86400, 604800}) {
        const RecordTable table = benchRecords(records);
        ExposureAssessment::Inputs inputs;
        for (const QString &name :
             {QStringLiteral("osha-pel"), QStringLiteral("osha-hc"), QStringLiteral("niosh")})
            inputs.criteria << *CriterionSet::parse(name);
        inputs.excluded << ExcludedSpan{0, 3601, 7200, QStringLiteral("lunch break")};
        const QString path = dir.filePath(QStringLiteral("report-%1.pdf").arg(records));
        std::vector<double> times;
        for (int run = 0; run < repeat; ++run) {
            QElapsedTimer timer;
            timer.start();
            ShiftReport report({{QStringLiteral("bench.dat"), table, {}}}, inputs,
                               {QStringLiteral("Bench Worker"), QStringLiteral("Site"),
                                QStringLiteral("Job"), QString(), QDateTime::currentDateTime()});
            const QString problem = report.writePdf(path);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (!problem.isEmpty()) {
                out << "the report could not be written: " << problem << "\n";
                return 1;
            }
        }
        std::sort(times.begin(), times.end());
        out << QStringLiteral("report of %1 records: %2 ms, %3 bytes\n")
                   .arg(records)
                   .arg(times[times.size() / 2], 0, 'f', 1)
                   .arg(QFileInfo(path).size());
    }
    return 0;
}
