#include "SimProcess.h"

#include "support/TestMain.h"

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
