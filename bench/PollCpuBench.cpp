// bench-poll-cpu: CPU time the desktop program uses while it polls the meter and the
// user does nothing. Starts dosemeter-sim on a pseudo-terminal and dosemeter on it
// (offscreen), lets it settle, then reads the program's CPU time and memory from /proc
// over the measured span.
//
// With --windows the program also opens the real-time graph and the analog and digital
// displays, which redraw from the polled level two and almost seven times a second.
//
// First it measures the line time of the poll itself, in process on the virtual meter with
// a fake clock (whose waits are the line time): display requests and milliseconds per
// tick for a steady level, for a level that changes at every display step, and for a
// steady level on a line that changes 1 % of the bytes. A frame is taken only once two
// agree, so a change costs a second request; a steady display must cost none. --line
// prints only these figures.
//
//   bench-poll-cpu [--seconds N] [--windows] [--line]   (default 30 s, no windows)

#include "link/Clock.h"
#include "link/Meter.h"
#include "main/Poller.h"
#include "sim/VirtualMeter.h"
#include "sim/VirtualMeterLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTextStream>
#include <QThread>

#include <unistd.h>

namespace {

struct Usage {
    double cpuSeconds = 0;
    long rssKiB = 0;
};

Usage usageOf(qint64 pid)
{
    Usage usage;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QString line = QString::fromLatin1(stat.readAll());
        // Fields after the command name, which is in parentheses and may hold blanks.
        const QStringList f =
            line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        const double ticks = double(sysconf(_SC_CLK_TCK));
        usage.cpuSeconds =
            (f.value(11).toDouble() + f.value(12).toDouble()) / ticks; // utime, stime
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &l : status.readAll().split('\n'))
            if (l.startsWith("VmRSS:"))
                usage.rssKiB = l.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return usage;
}

struct LineTime {
    double requestsPerTick = 0.0;
    double msPerTick = 0.0;  // line time inside a tick: requests, waits, refreshes
    double decodedShare = 0; // ticks that gave a confirmed frame
};

// `ticks` polls 250 ms apart. level: fixed, or nullopt for the level that wanders at
// every display step; corrupt: the share of reply bytes the line changes.
LineTime lineTime(std::optional<double> level, double corrupt, int ticks)
{
    FakeClock clock;
    VirtualMeter meter(7);
    meter.setClock(clock.now(), clock.monotonicSeconds());
    meter.setFixedLevel(level);
    VirtualMeter::Faults faults;
    faults.corrupt = corrupt;
    meter.setFaults(faults);
    VirtualMeterLink link(meter, clock);
    link.open();
    MeterState state;
    Meter m(link, clock, state);
    Poller poller(m);
    poller.tick(); // the first frame is always asked for twice
    clock.advance(0.25);
    LineTime figures;
    int decoded = 0;
    for (int i = 0; i < ticks; ++i) {
        const double start = clock.monotonicSeconds();
        const Poller::Result result = poller.tick();
        const double inside = clock.monotonicSeconds() - start;
        figures.requestsPerTick += result.requests;
        figures.msPerTick += 1000.0 * inside;
        decoded += result.outcome == Poller::Outcome::Decoded ? 1 : 0;
        if (inside < 0.25)
            clock.advance(0.25 - inside);
    }
    figures.requestsPerTick /= ticks;
    figures.msPerTick /= ticks;
    figures.decodedShare = double(decoded) / ticks;
    return figures;
}

void printLineTimes(QTextStream &out)
{
    constexpr int kTicks = 20000; // 83 minutes of polling
    const LineTime steady = lineTime(85.0, 0.0, kTicks);
    const LineTime changing = lineTime(std::nullopt, 0.0, kTicks);
    const LineTime damaged = lineTime(85.0, 0.01, kTicks);
    // One request and its wait: what a tick cost before frames were confirmed.
    const double oneRequestMs = steady.msPerTick / steady.requestsPerTick;
    const auto line = [&](const char *what, const LineTime &t) {
        out << what << QString::number(t.requestsPerTick, 'f', 3) << " requests, "
            << QString::number(t.msPerTick, 'f', 1) << " ms a tick (extra over one request: "
            << QString::number(t.msPerTick - oneRequestMs, 'f', 1) << " ms; "
            << QString::number(100.0 * t.decodedShare, 'f', 1) << " % of ticks confirmed)\n";
    };
    out << "line time of the poll, " << kTicks << " ticks 250 ms apart on the virtual meter:\n";
    line("  steady level:              ", steady);
    line("  level changing each step:  ", changing);
    line("  steady, 1 % bytes changed: ", damaged);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int seconds = 30;
    const QStringList args = app.arguments();
    if (const int i = int(args.indexOf(QStringLiteral("--seconds"))); i > 0 && i + 1 < args.size())
        seconds = args.at(i + 1).toInt();
    const bool windows = args.contains(QStringLiteral("--windows"));
    const QString bin = QCoreApplication::applicationDirPath();
    printLineTimes(out);
    if (args.contains(QStringLiteral("--line")))
        return 0;

    QProcess sim;
    sim.start(bin + QStringLiteral("/dosemeter-sim"), {});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        out << "dosemeter-sim did not start\n";
        return 1;
    }
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed().mid(6);

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    QStringList programArgs{QStringLiteral("--port"), port};
    if (windows)
        programArgs << QStringLiteral("--open") << QStringLiteral("Graph,Analog,Digital");
    program.start(bin + QStringLiteral("/dosemeter"), programArgs);
    if (!program.waitForStarted()) {
        out << "dosemeter did not start\n";
        return 1;
    }
    // Start-up, the first refresh and the opening of the windows (a second after the
    // start) are not measured.
    QThread::sleep(3);
    const qint64 pid = program.processId();
    const Usage before = usageOf(pid);
    QElapsedTimer wall;
    wall.start();
    QThread::sleep(seconds);
    const Usage after = usageOf(pid);
    const double elapsed = double(wall.elapsed()) / 1000.0;

    program.kill();
    program.waitForFinished();
    sim.terminate();
    sim.waitForFinished();

    // What the program said went wrong (a window that did not open, say).
    for (const QByteArray &line : program.readAllStandardError().split('\n')) {
        if (line.startsWith("dosemeter:"))
            out << line << "\n";
    }

    const double cpu = after.cpuSeconds - before.cpuSeconds;
    out << "polled for:        " << elapsed << " s (4 display requests a second)"
        << (windows ? ", graph, analog and digital open" : "") << "\n";
    out << "cpu time:          " << cpu << " s\n";
    out << "cpu share:         " << QString::number(100.0 * cpu / elapsed, 'f', 2)
        << " % of one core (goal: " << (windows ? "< 3 %" : "<= 1 %") << ")\n";
    out << "resident memory:   " << before.rssKiB << " KiB -> " << after.rssKiB << " KiB\n";
    return 0;
}
