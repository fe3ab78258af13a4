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
volatile sig_atomic_t receivedPipe = 0;
int signalPipe[2] = {-1, -1};
bool inUse = false;
// The signals that ask for a stop, and what was in place for each before.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr int kStopSignalCount = int(sizeof kStopSignals / sizeof kStopSignals[0]);
struct sigaction previous[kStopSignalCount] {};

void onSignal(int number)
{
    const int saved = errno;
    // A broken pipe after a stop request is only the fallout of the writes that follow.
    if (receivedSignal == 0 || number != SIGPIPE)
        receivedSignal = number;
    if (number == SIGPIPE)
        receivedPipe = 1;
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
    receivedPipe = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kStopSignalCount; ++i) {
        // Waits on the serial line resume after the handler; the next signal kills, but
        // for SIGPIPE, which every further write to the closed pipe raises.
        action.sa_flags = SA_RESTART | (kStopSignals[i] == SIGPIPE ? 0 : SA_RESETHAND);
        if (sigaction(kStopSignals[i], &action, &previous[i]) != 0) {
            for (int j = 0; j < i; ++j)
                sigaction(kStopSignals[j], &previous[j], nullptr);
            ::close(signalPipe[0]);
            ::close(signalPipe[1]);
            return;
        }
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
    const bool pipeBroken = receivedPipe != 0;
    for (int i = 0; i < kStopSignalCount; ++i)
        sigaction(kStopSignals[i], &previous[i], nullptr);
    // What is left to write to a closed pipe fails, and is said, rather than kill.
    if (pipeBroken)
        ::signal(SIGPIPE, SIG_IGN);
    delete notifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
    receivedSignal = 0;
    receivedPipe = 0;
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

QString StopSignals::signalSuffix() const
{
#if defined(Q_OS_UNIX)
    switch (signalNumber()) {
    case SIGINT:
        return QStringLiteral(" (SIGINT)");
    case SIGTERM:
        return QStringLiteral(" (SIGTERM)");
    case SIGHUP:
        return QStringLiteral(" (SIGHUP)");
    case SIGPIPE:
        return QStringLiteral(" (SIGPIPE: standard output was closed)");
    default:
        break;
    }
#endif
    return {};
}

void StopSignals::drainPipe()
{
#if defined(Q_OS_UNIX)
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
}
