// bench-average: what a long averaging run costs. Runs a week at a record every second
// (604,800 records, the grid's worst case) through the averaging run on a fake clock,
// then saves it as an .avg file and opens that file again into a new run, and prints
// the time of each step and the file's size.
//
//   bench-average [--records N]   (default 604800)

#include "averaging/AverageRun.h"
#include "averaging/AverageState.h"
#include "averaging/AvgFile.h"
#include "link/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int records = 604800;
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--records"))
        records = std::max(1, args.at(2).toInt());

    FakeClock clock;
    AverageState state;
    AverageRun run(state, clock);
    run.reset();
    run.setInterval({QStringLiteral("00:00:00"), 0});
    DisplayFields display;
    display.DbaMode = true;
    run.Start(display, QStringLiteral("85"), QStringLiteral("5"));

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < records; ++i) {
        clock.advance(1.0);
        display.LevelValue = 70.0f + float(i * 37 % 700) / 10.0f;
        run.tick(display);
    }
    run.Stop();
    const double tickSeconds = timer.nsecsElapsed() / 1e9;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("week.avg"));
    timer.restart();
    const QString error = AvgFile::save(path, run.document(QStringLiteral("Bench"), {}, {}));
    const double saveSeconds = timer.nsecsElapsed() / 1e9;
    if (!error.isEmpty()) {
        out << "save failed: " << error << Qt::endl;
        return 1;
    }

    timer.restart();
    const AvgFile::Content content = AvgFile::read(path);
    AverageState otherState;
    AverageRun other(otherState, clock);
    other.reset();
    other.open(content);
    const double openSeconds = timer.nsecsElapsed() / 1e9;

    out << "records: " << records << "\n"
        << "ticks: " << tickSeconds << " s (" << tickSeconds / records * 1e6 << " us a tick)\n"
        << "save: " << saveSeconds << " s, " << QFileInfo(path).size() / 1024 << " KiB\n"
        << "open: " << openSeconds << " s, " << other.grid().rows() - 1 << " records read"
        << (content.ok() ? QString() : QStringLiteral(", error: ") + content.error) << Qt::endl;
    return 0;
}
