#include "SimProcess.h"

#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

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
    if (!sim.start(simOptions))
        return false;
    timer_.start();
    // Timed when it ends, not when it is waited for: finish() runs the event loop.
    QObject::connect(&cli_, &QProcess::finished, &cli_,
                     [this] { seconds = double(timer_.elapsed()) / 1000.0; });
    cli_.start(testsupport::binDir() + QStringLiteral("/dosemeter-cli"),
               QStringList{"--port", sim.port()} + command);
    return cli_.waitForStarted(5000);
}

int CliRun::finish()
{
    if (cli_.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&cli_, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(240000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (cli_.state() != QProcess::NotRunning) {
        cli_.kill();
        cli_.waitForFinished(3000);
        return -1;
    }
    out = QString::fromLocal8Bit(cli_.readAllStandardOutput());
    err = QString::fromLocal8Bit(cli_.readAllStandardError());
    return cli_.exitStatus() == QProcess::NormalExit ? cli_.exitCode() : -1;
}
