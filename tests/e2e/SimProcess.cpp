#include "SimProcess.h"

#include "support/TestMain.h"

#include <QDateTime>
#include <QElapsedTimer>

SimProcess::~SimProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

bool SimProcess::start(const QStringList &options)
{
    process_.setProgram(testsupport::binDir() + QStringLiteral("/dosemeter-sim"));
    process_.setArguments(options);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
    if (!process_.waitForStarted(5000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (!process_.canReadLine() && timer.elapsed() < 5000)
        process_.waitForReadyRead(100);
    const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("port: ")))
        return false;
    port_ = line.mid(6);
    return true;
}

int SimProcess::stop()
{
    process_.terminate();
    if (!process_.waitForFinished(5000))
        return -1;
    output_ = QString::fromLocal8Bit(process_.readAllStandardOutput());
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

int runCli(const QStringList &arguments, QString *out, QString *err, double *seconds)
{
    QProcess cli;
    QElapsedTimer timer;
    timer.start();
    cli.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"), arguments);
    if (!cli.waitForFinished(60000))
        return -1;
    if (seconds)
        *seconds = double(timer.elapsed()) / 1000.0;
    if (out)
        *out = QString::fromLocal8Bit(cli.readAllStandardOutput());
    if (err)
        *err = QString::fromLocal8Bit(cli.readAllStandardError());
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

bool CliRun::start(const QStringList &simOptions, const QStringList &command)
{
    if (!sim.start(simOptions) || !endFile_.open())
        return false;
    // A shell notes the time it ends, so that the run is timed however late it is waited
    // for, even while other tests run.
    startMs_ = QDateTime::currentMSecsSinceEpoch();
    cli_.start(QStringLiteral("/bin/sh"),
               QStringList{"-c", "f=$1; shift; \"$@\"; c=$?; date +%s%N >\"$f\"; exit $c", "sh",
                           endFile_.fileName(), testsupport::binDir() + "/dosemeter-cli", "--port",
                           sim.port()} +
                   command);
    return cli_.waitForStarted(5000);
}

int CliRun::finish(int waitSeconds)
{
    if (!cli_.waitForFinished(waitSeconds * 1000)) {
        cli_.kill();
        cli_.waitForFinished(3000);
        return -1;
    }
    endFile_.seek(0);
    const qint64 endNs = endFile_.readAll().trimmed().toLongLong();
    seconds = double(endNs / 1000000 - startMs_) / 1000.0;
    out = QString::fromLocal8Bit(cli_.readAllStandardOutput());
    err = QString::fromLocal8Bit(cli_.readAllStandardError());
    return cli_.exitStatus() == QProcess::NormalExit ? cli_.exitCode() : -1;
}
