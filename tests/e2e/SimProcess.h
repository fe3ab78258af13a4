#pragma once

// dosemeter-sim started as a separate process on a pseudo-terminal, for end-to-end tests.

#include <QProcess>
#include <QStringList>

class SimProcess {
public:
    ~SimProcess();
    // Starts it with the options; false when it did not print its port line in time.
    bool start(const QStringList &options = {});
    // SIGTERM, then the exit code (0 expected).
    int stop();
    QString port() const { return port_; }

private:
    QProcess process_;
    QString port_;
};

// Runs dosemeter-cli to the end; returns its exit code and fills out and err.
int runCli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr,
           double *seconds = nullptr);
