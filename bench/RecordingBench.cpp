// bench-recording: the recording's figures. Prints
//   - the time and the resident memory it takes to open a full recording (86,400 records)
//     in the saved-file view, offscreen, for either form of the file, each in a fresh
//     process: as the first window of the process (cold) and after another one (warm, as
//     in the program); the same file read with Python's csv module, and the ratio (each
//     figure the best of three runs);
//   - what appending one sampled row to the list window costs at row 10 and at row 80,000;
//   - what writing one record to the recording file costs (written, flushed, synced).
//
//   bench-recording [--keep DIR]     (--keep: leave the files made in DIR)

#include "data/DatFile.h"
#include "data/FileState.h"
#include "data/RecordListWindow.h"
#include "data/RecordingFile.h"
#include "data/SavedFileWindow.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/ScriptedDialogs.h"
#include "ui/GridView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <memory>

namespace {

constexpr int kRecords = 86400;

// Resident memory of this process in MB.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0.0;
}

// A day of samples at one a second, as a recording takes them.
RecordTable dayOfRecords()
{
    RecordTable table;
    const QDateTime start(QDate(2009, 11, 30), QTime(6, 0));
    for (int i = 0; i < kRecords; ++i) {
        const QDateTime t = start.addSecs(i);
        const int tenths = 700 + (i * 37) % 450;
        const QString level = i % 997 == 0 ? QStringLiteral(" OL ")
                              : i % 991 == 0
                                  ? QStringLiteral("----")
                                  : QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
        table.appendRecord({QString::number(i + 1), t.toString(QStringLiteral("yyyy/MM/dd")),
                            t.toString(QStringLiteral("hh:mm:ss.")) + QString::number(i % 10),
                            level});
    }
    return table;
}

// The meter every window needs, here only a stand-in.
struct Stage {
    FakeClock clock;
    VirtualMeter vm;
    VirtualMeterLink link{vm, clock};
    MeterState state;
    Meter meter{link, clock, state};
    ScriptedDialogs dialogs;
};

// Child process: opens `path` in the saved-file view and prints "ms MB records". `warm`: as
// in the program, where another window has been shown before (fonts and styles loaded).
int openInView(const QString &path, bool warm)
{
    Stage stage;
    if (warm) {
        SavedFileWindow first(stage.meter, stage.dialogs);
        first.show();
        QApplication::processEvents();
    }
    QApplication::processEvents();
    const double before = residentMb();
    QElapsedTimer timer;
    timer.start();
    auto window = std::make_unique<SavedFileWindow>(stage.meter, stage.dialogs);
    window->show();
    if (!window->load(path))
        return 1;
    QApplication::processEvents(); // the first rows painted: the window is usable
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const double after = residentMb();
    QTextStream(stdout) << ms << ' ' << (after - before) << ' ' << window->records().recordCount()
                        << '\n';
    return 0;
}

// Seconds Python's csv module takes to read every row of `path`; negative without python3.
double pythonCsvSeconds(const QString &path)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return -1.0;
    QProcess process;
    process.start(python, {QStringLiteral("-c"),
                           QStringLiteral("import csv, sys, time\n"
                                          "t = time.perf_counter()\n"
                                          "with open(sys.argv[1], newline='', "
                                          "encoding='latin-1') as f:\n"
                                          "    rows = list(csv.reader(f, delimiter='\\t'))\n"
                                          "print(time.perf_counter() - t, len(rows))\n"),
                           path});
    if (!process.waitForFinished(120000))
        return -1.0;
    return QString::fromLatin1(process.readAllStandardOutput()).split(' ').value(0).toDouble();
}

// The best of three runs: the machine's other work only ever adds time.
double bestOfThree(const std::function<double()> &run)
{
    double best = -1.0;
    for (int i = 0; i < 3; ++i) {
        const double t = run();
        if (t >= 0 && (best < 0 || t < best))
            best = t;
    }
    return best;
}

// Microseconds one row appended to the list window costs, over `count` rows, after
// `existing` rows: the model and the view's bookkeeping (the new row current, its place in
// the view known), and with `paint` also the repaint that shows it.
double appendMicroseconds(int existing, int count, bool paint)
{
    Stage stage;
    FileState files;
    RecordListWindow list(stage.meter, files, stage.dialogs);
    list.show();
    const QStringList cells{QStringLiteral("1"), QStringLiteral("2009/11/30"),
                            QStringLiteral("10:00:00.0"), QStringLiteral("94.5")};
    for (int i = 0; i < existing; ++i)
        list.appendRecord(cells);
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    auto *view = list.findChild<GridView *>(QStringLiteral("grid"));
    for (int i = 0; i < count; ++i) {
        list.appendRecord(cells);
        if (paint) {
            list.repaint();
            QApplication::processEvents();
        } else {
            view->visualRect(view->currentIndex());
        }
    }
    return double(timer.nsecsElapsed()) / 1e3 / count;
}

double recordWriteMicroseconds(const QString &dir)
{
    RecordingFile file;
    if (!file.create(dir + QStringLiteral("/sync.dat")).isEmpty())
        return -1.0;
    const QStringList cells{QStringLiteral("1"), QStringLiteral("2009/11/30"),
                            QStringLiteral("10:00:00.0"), QStringLiteral("94.5")};
    constexpr int kCount = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kCount; ++i) {
        if (!file.append(cells).isEmpty())
            return -1.0;
    }
    return double(timer.nsecsElapsed()) / 1e3 / kCount;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--open"))
        return openInView(args.at(3), args.at(2) == QLatin1String("warm"));

    QTextStream out(stdout);
    QTemporaryDir temporary;
    QString dir = temporary.path();
    if (args.size() == 3 && args.at(1) == QLatin1String("--keep")) {
        dir = args.at(2);
        QDir().mkpath(dir);
    }
    const RecordTable table = dayOfRecords();
    const struct {
        const char *name;
        QByteArray bytes;
    } forms[] = {
        {"recording form", DatFile::recordingBytes(table)},
        {"grid form", DatFile::gridBytes(table, {QStringLiteral("Press shop line 2"),
                                                 QStringLiteral("Operator 7"), QString()})},
    };
    out << "open " << kRecords << " records in the saved-file view (offscreen):\n";
    for (const auto &form : forms) {
        const QString path = dir + QLatin1Char('/') +
                             QString::fromLatin1(form.name).section(' ', 0, 0) +
                             QStringLiteral(".dat");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(form.bytes) != form.bytes.size())
            return 1;
        file.close();
        const double python = bestOfThree([&] { return pythonCsvSeconds(path); }) * 1000.0;
        out << "  " << form.name << " (" << QString::number(form.bytes.size() / 1e6, 'f', 1)
            << " MB):";
        if (python >= 0)
            out << " Python csv read " << QString::number(python, 'f', 0) << " ms\n";
        else
            out << " python3 not found\n";
        for (const char *start : {"cold", "warm"}) {
            QStringList figures;
            for (int run = 0; run < 3; ++run) {
                QProcess child;
                child.start(QCoreApplication::applicationFilePath(),
                            {QStringLiteral("--open"), QLatin1String(start), path});
                if (!child.waitForFinished(120000) || child.exitCode() != 0)
                    break;
                const QStringList these =
                    QString::fromLatin1(child.readAllStandardOutput()).simplified().split(' ');
                if (figures.isEmpty() || these.value(0).toDouble() < figures.value(0).toDouble())
                    figures = these;
            }
            if (figures.isEmpty()) {
                out << "    could not be opened\n";
                continue;
            }
            const double ms = figures.value(0).toDouble();
            out << "    " << start << " (" << figures.value(2)
                << " records): " << QString::number(ms, 'f', 0) << " ms, +"
                << QString::number(figures.value(1).toDouble(), 'f', 1) << " MB resident";
            if (python >= 0)
                out << ", " << QString::number(python / ms, 'f', 1) << "x faster than Python";
            out << "\n";
            out.flush();
        }
    }

    out << "append one row to the list window (model and view, then with the repaint):\n";
    for (int existing : {10, 80000})
        out << "  at row " << existing << ": "
            << QString::number(appendMicroseconds(existing, 500, false), 'f', 1) << " us, "
            << QString::number(appendMicroseconds(existing, 100, true), 'f', 0)
            << " us with a repaint\n";
    out << "write one record to the recording file (written, flushed, synced): "
        << QString::number(recordWriteMicroseconds(dir), 'f', 0) << " us\n";
    return 0;
}
