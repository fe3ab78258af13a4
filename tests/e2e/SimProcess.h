#pragma once

// dosemeter-sim started as a separate process on a pseudo-terminal, for end-to-end tests.

#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

class SimProcess {
public:
    ~SimProcess();
    // Starts it with the options; false when it did not print its port line in time.
    bool start(const QStringList &options = {});
    // SIGTERM, then the exit code (0 expected).
    int stop();
    QString port() const { return port_; }
    // What it printed after the port line, once stopped.
    QString output() const { return output_; }

private:
    QProcess process_;
    QString port_;
    QString output_;
};

// A dosemeter-cli run on its own virtual meter, started at once and waited for on demand,
// so that slow runs (setup paces its keys 2 s apart) go on side by side with other tests.
class CliRun {
public:
    // Starts dosemeter-sim with simOptions, then dosemeter-cli on its port with command.
    bool start(const QStringList &simOptions, const QStringList &command);
    // The exit code (-1 when it did not end within `waitSeconds`, four minutes unless
    // said); fills out, err, seconds.
    int finish(int waitSeconds = 240);

    SimProcess sim;
    QString out;
    QString err;
    double seconds = 0.0;

private:
    QProcess cli_;
    QTemporaryFile endFile_; // the time it ended, in nanoseconds since the epoch
    qint64 startMs_ = 0;
};

// Runs dosemeter-cli to the end; returns its exit code and fills out and err.
int runCli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr,
           double *seconds = nullptr);
