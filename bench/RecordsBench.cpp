// bench-records: how fast record grids reach the user. Prints
//   - the time to read a data file of a million records (the grid form, 35 MB);
//   - the time to read a day's recording of one record a second (86,400 records, the
//     recording form), with CR LF line ends and with lone CRs;
//   - the time to list 10,000 logger samples in the Memory window and paint its first
//     rows (offscreen).
//
//   bench-records

#include "BenchRecords.h"
#include "data/DatFile.h"
#include "data/FileState.h"
#include "data/LoggerResults.h"
#include "data/LoggerWindow.h"
#include "link/Clock.h"
#include "link/Meter.h"
#include "link/MeterState.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

// Milliseconds to read a data file of these bytes, which hold `records` records.
double readBytes(QTextStream &out, const QByteArray &bytes, int records)
{
    QElapsedTimer timer;
    timer.start();
    const DatFile::Content content = DatFile::parse(bytes);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (!content.ok() || content.table.recordCount() != records)
        out << "read failed: " << content.error << "\n";
    return ms;
}

double readMillionRecords(QTextStream &out)
{
    RecordTable table;
    for (int i = 1; i <= 1000000; ++i)
        table.appendRecord({QString::number(i), QStringLiteral("2009/11/30"),
                            QStringLiteral("10:07:02.0"), QStringLiteral("94.5")});
    return readBytes(out, DatFile::gridBytes(table, {"a", "b", "c"}), 1000000);
}

double readDayRecording(QTextStream &out, bool loneCr)
{
    QByteArray bytes = DatFile::recordingBytes(benchRecords(86400));
    if (loneCr)
        bytes.replace("\r\n", "\r");
    return readBytes(out, bytes, 86400);
}

double listTenThousandSamples()
{
    FakeClock clock;
    VirtualMeter vm;
    VirtualMeter::Run run{QDateTime(QDate(2009, 12, 31), QTime(23, 0, 0)), 5, {}};
    for (int i = 0; i < 10000; ++i)
        run.samples.append({80.0 + 0.1 * (i % 500), i % 7 == 6});
    vm.setClock(clock.now(), clock.monotonicSeconds());
    vm.loadMemory(VirtualMeter::memoryWithRuns({run}, 1, 5));
    VirtualMeterLink link(vm, clock);
    link.open();
    MeterState state;
    Meter meter(link, clock, state);
    LoggerResults logger;
    FileState files;
    ScriptedDialogs dialogs;
    LoggerWindow window(meter, logger, files, dialogs);
    window.show();
    window.download();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    window.showSet(1);
    QApplication::processEvents(); // the view paints its first rows
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << "read a million records:        " << QString::number(readMillionRecords(out), 'f', 0)
        << " ms\n";
    out << "read a day of 86,400 records:  "
        << QString::number(readDayRecording(out, false), 'f', 1) << " ms\n";
    out << "  the same with lone CR ends:  " << QString::number(readDayRecording(out, true), 'f', 1)
        << " ms\n";
    out << "list 10,000 logger samples:    " << QString::number(listTenThousandSamples(), 'f', 0)
        << " ms\n";
    return 0;
}
