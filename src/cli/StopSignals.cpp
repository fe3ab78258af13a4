#include "cli/StopSignals.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

#if defined(Q_OS_UNIX)
namespace {

// A signal handler may only set a flag and write to a file descriptor, so these live
// outside any object. The pipe wakes the event loop; the flag answers requested().
volatile sig_atomic_t receivedSignal = 0;
int signalPipe[2] = {-1, -1};
bool inUse = false;
struct sigaction previousInt {};
struct sigaction previousTerm {};

void onSignal(int number)
{
    const int saved = errno;
    receivedSignal = number;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace
#endif

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
#if defined(Q_OS_UNIX)
    if (inUse || ::pipe(signalPipe) != 0)
        return;
    for (int fd : signalPipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    receivedSignal = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Waits on the serial line resume after the handler; the next signal kills.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    if (sigaction(SIGINT, &action, &previousInt) != 0) {
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        return;
    }
    if (sigaction(SIGTERM, &action, &previousTerm) != 0) {
        sigaction(SIGINT, &previousInt, nullptr);
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        return;
    }
    inUse = true;
    installed_ = true;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        drainPipe();
        emit stopRequested();
    });
#endif
}

StopSignals::~StopSignals()
{
#if defined(Q_OS_UNIX)
    if (!installed_)
        return;
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    delete notifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
    receivedSignal = 0;
    inUse = false;
#endif
}

bool StopSignals::requested() const
{
    return signalNumber() != 0;
}

int StopSignals::signalNumber() const
{
#if defined(Q_OS_UNIX)
    return installed_ ? int(receivedSignal) : 0;
#else
    return 0;
#endif
}

void StopSignals::drainPipe()
{
#if defined(Q_OS_UNIX)
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
}
