#include "sim/PtyServer.h"

#include "sim/VirtualMeter.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cmath>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#if defined(Q_OS_MACOS)
#include <util.h>
#elif defined(Q_OS_FREEBSD)
#include <libutil.h>
#else
#include <pty.h>
#endif
#endif

PtyServer::PtyServer(VirtualMeter &meter, QObject *parent) : QObject(parent), meter_(meter)
{
    elapsed_.start();
    writeTimer_.setSingleShot(true);
    writeTimer_.setTimerType(Qt::PreciseTimer);
    connect(&writeTimer_, &QTimer::timeout, this, &PtyServer::writeReady);
    vanishTimer_.setSingleShot(true);
    connect(&vanishTimer_, &QTimer::timeout, this, &PtyServer::closeTerminal);
}

PtyServer::~PtyServer()
{
#if defined(Q_OS_UNIX)
    delete readNotifier_;
    delete writeNotifier_;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
#endif
}

double PtyServer::now() const
{
    return double(elapsed_.nsecsElapsed()) / 1e9;
}

bool PtyServer::start()
{
#if defined(Q_OS_UNIX)
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
        error_ = tr("Cannot open a pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // A raw 9600 baud line until the client sets its own parameters: no echo, no
    // line editing, no translation of bytes.
    termios settings{};
    tcgetattr(slave_, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(slave_, TCSANOW, &settings);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    const char *name = ttyname(slave_);
    if (!name) {
        error_ = tr("Cannot name the pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    portName_ = QString::fromLocal8Bit(name);

    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyServer::readCommands);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyServer::writeReady);
    const double vanish = meter_.vanishesAt();
    if (!std::isinf(vanish))
        vanishTimer_.start(int(std::ceil(std::max(0.0, vanish - now()) * 1000.0)));
    return true;
#else
    error_ = tr("The virtual meter needs a POSIX system for its pseudo-terminal.");
    return false;
#endif
}

void PtyServer::closeTerminal()
{
#if defined(Q_OS_UNIX)
    if (closed_)
        return;
    meter_.setVanished(true);
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    writeTimer_.stop();
    outgoing_.clear();
    // With both sides closed the terminal device goes away: a client reading it gets
    // an error, as from an adapter that was pulled out.
    ::close(master_);
    ::close(slave_);
    master_ = slave_ = -1;
    closed_ = true;
    emit terminalClosed();
#endif
}

void PtyServer::readCommands()
{
#if defined(Q_OS_UNIX)
    if (closed_)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            meter_.receive(QByteArray(buffer, n), now());
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EIO) {
            // No client side at all (should not happen while the slave is held open):
            // look again later rather than spin.
            readNotifier_->setEnabled(false);
            QTimer::singleShot(100, this, [this] { readNotifier_->setEnabled(true); });
        }
        break;
    }
    schedule();
#endif
}

void PtyServer::writeReady()
{
#if defined(Q_OS_UNIX)
    if (closed_)
        return;
    outgoing_ += meter_.takeReady(now());
    while (!outgoing_.isEmpty()) {
        const ssize_t n = ::write(master_, outgoing_.constData(), size_t(outgoing_.size()));
        if (n > 0) {
            outgoing_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // the terminal is full: the write notifier says when it has room
    }
    writeNotifier_->setEnabled(!outgoing_.isEmpty());
    schedule();
#endif
}

void PtyServer::schedule()
{
    if (closed_)
        return;
    const double next = meter_.nextReadyTime();
    if (std::isinf(next)) {
        writeTimer_.stop();
        return;
    }
    // Qt timers count whole milliseconds; rounding up never writes a byte early.
    const double delay = std::max(0.0, next - now());
    writeTimer_.start(int(std::ceil(delay * 1000.0)));
}
