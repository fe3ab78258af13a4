#pragma once

// dosemeter-cli: the meter and file operations without windows.
//   dosemeter-cli [--library URL|PATH] --port PORT [--timeout SECONDS] COMMAND [ARGS]
// Exit status: 0 done, 1 a file cannot be read or written (or is no regular file, or
// standard output cannot be written), or the measurement library cannot be opened, reached
// or written, 2 usage or argument error, an existing file without --overwrite or a path
// that cannot be created (all found before the port is opened; for library commands also an
// unknown measurement ID), 3 the meter does not answer within the time-out, a stream stalls
// or what the meter sent arrived damaged (for histogram, stats, assess and iso9612: the files
// hold no levels to count; for setup and standard: the meter could not be set), 4 the port
// cannot be opened.

#include "data/DatFile.h"
#include "data/RecordTable.h"
#include "link/Error.h"

#include "library/MeasurementReader.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class Meter;
class QTextStream;

namespace cli {

enum Exit { kOk = 0, kFailed = 1, kUsage = 2, kNoAnswer = 3, kPortFailed = 4 };

// The exit status of a failure, by its kind: the one table of the program. A wrong
// request (an option, an existing file, an unknown name, a path that cannot be made) is
// kUsage; a meter that does not answer kNoAnswer; every other failure kFailed. (A port
// that cannot be opened is kPortFailed, said where the port is opened.)
int exitStatus(const Error &error);
// Says a failure on `err` as every command says one, "dosemeter-cli: TEXT", and gives its
// exit status.
int failed(QTextStream &err, const Error &error);

// A file a command wrote that goes into the measurement library when the command ends.
struct KeptFile {
    QString path;
    MeasurementReader::Known known;
};

struct Context {
    Meter &meter;
    QTextStream &out;
    QTextStream &err;
    double timeoutSeconds = 10.0;
    bool progressToTerminal = false; // stderr is a terminal
    // Opens the port and says why it cannot (exit status), or kOk. Unset: the meter's link
    // is open already.
    std::function<int()> openPort = {};
    // Where download, record, banks and average note their files; null with --no-library.
    QList<KeptFile> *keptFiles = nullptr;

    // A meter command checks all of its arguments first, so that a wrong one exits 2
    // whatever the port, and then opens the port with this: kOk, or the exit status.
    int connect() const { return openPort ? openPort() : int(Exit::kOk); }
};

// Notes a file for the library (nothing with --no-library).
void keepFile(Context &context, const QString &path, const MeasurementReader::Known &known);

// The whole program; app/dosemeter-cli.cpp only calls this.
int run(const QStringList &arguments);

// Commands that talk to the meter. args: what follows the command name.
int status(Context &context, const QStringList &args);
int display(Context &context, const QStringList &args);
int read(Context &context, const QStringList &args);
int write(Context &context, const QStringList &args);
int download(Context &context, const QStringList &args);
int erase(Context &context, const QStringList &args);
int setId(Context &context, const QStringList &args);
int setInterval(Context &context, const QStringList &args);
// Interval averages of the live level until --count intervals are done, the meter's
// display leaves dBA mode, or SIGINT/SIGTERM; then the run's figures (and --out FILE.avg).
int average(Context &context, const QStringList &args);

int banks(Context &context, const QStringList &args);
// Records the live level into a data file (the recording form, every record on the disk
// as it is taken) until --count records, --duration seconds, the end of dBA mode, or
// SIGINT/SIGTERM; then prints "records: N".
int record(Context &context, const QStringList &args);

// The meter's settings through its setup menu, as the Setup window sets them; options
// not given keep the meter's value. Runs for minutes (every key press takes 2.1 s); ends
// on its own when the meter stops answering for the time-out.
int setup(Context &context, const QStringList &args);
// A country's criterion level and exchange rate, as the Standard window sets them.
int standard(Context &context, const QStringList &args);

// Commands on files only (no --port needed).
int convert(QTextStream &out, QTextStream &err, const QStringList &args);
// The level histogram of a data file, as the histogram windows count it.
int histogram(QTextStream &out, QTextStream &err, const QStringList &args);
// The exposure statistics of a data file, as the statistics window shows them.
int stats(QTextStream &out, QTextStream &err, const QStringList &args);
int twa(QTextStream &out, QTextStream &err, const QStringList &args);
// The exposure assessment of one or more data files: the figures under several criterion
// sets, projected to the shift, with excluded record spans.
int assess(QTextStream &out, QTextStream &err, const QStringList &args);
// LEX,8h and its uncertainty by ISO 9612 (task-based, job-based or full-day) from typed
// samples or data files' LAeq.
int iso9612(QTextStream &out, QTextStream &err, const QStringList &args);
// LEX,w of a week from the days' LEX,8h (CalculatorCommands.cpp).
int weekly(QTextStream &out, QTextStream &err, const QStringList &args);
// The statistics of a similar exposure group's daily levels and its decision against an
// exposure limit.
int group(QTextStream &out, QTextStream &err, const QStringList &args);
// The A-weighted level under a hearing protector by every method its ratings allow (ISO
// 4869-2 SNR, HML and octave band, OSHA, OSHA field, NIOSH), each with its EN 458 adequacy.
int protect(QTextStream &out, QTextStream &err, const QStringList &args);
// The shift report of one or more data files as a PDF: the assessment's options, the
// worker, site and job, and a bank file's results; prints the PDF's path.
int report(QTextStream &out, QTextStream &err, const QStringList &args);

// Whether the command of `arguments` (as run() takes them) draws with Qt Gui, so that
// the program must start a GUI application (on the offscreen platform).
bool needsGuiApplication(const QStringList &arguments);

// The records of a data file as "View File" reads it; nothing (with the reason on `err`)
// when the file cannot be read whole.
std::optional<RecordTable> readRecords(QTextStream &err, const QString &path);
// The same with the file's note lines.
std::optional<DatFile::Content> readDataFile(QTextStream &err, const QString &path);

// The measurement library: library import|list|show|set|export|delete (LibraryCommands.cpp).
// `location`: the --library text, empty for the remembered choice or the default file.
int library(QTextStream &out, QTextStream &err, const QString &location, const QStringList &args);
// Stores the kept files in the library, quietly; kOk, or kFailed with the reason on `err`
// when the library cannot keep them.
int storeKeptFiles(QTextStream &err, const QString &location, const QList<KeptFile> &files);
// Opens the library once before a long command, so that an unreachable one is said before
// the meter is asked anything; kOk or kFailed (kUsage for a malformed address).
int checkLibrary(QTextStream &err, const QString &location);

// A number argument: whole decimal or 0x.. hex; false when it is not one.
bool parseInteger(const QString &text, qint64 &value);

} // namespace cli
