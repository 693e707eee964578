#include "platform/ui/shutdownwatcher.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <atomic>
#include <iterator>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace cx {

namespace {

const int watchedSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pipe of the watcher that owns the handlers, -1 when
// none does. Read inside the signal handler, so it must be lock-free.
std::atomic<int> signalPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free);

// Runs inside the signal: only async-signal-safe calls (write) and errno
// left as found. The event loop picks the byte up.
extern "C" void onShutdownSignal(int sig)
{
    const int savedErrno = errno;
    const int fd = signalPipe.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(sig);
        [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

struct ShutdownWatcher::SavedActions {
    struct sigaction old[std::size(watchedSignals)];
};

ShutdownWatcher::ShutdownWatcher(QObject *parent) : QObject(parent)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager &) { emit shutdownRequested(); });
    }

    if (signalPipe.load() >= 0)
        return; // another watcher owns the handlers

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readFd = fds[0];
    m_writeFd = fds[1];
    signalPipe.store(m_writeFd);

    m_saved = std::make_unique<SavedActions>();
    struct sigaction action = {};
    action.sa_handler = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(watchedSignals); ++i)
        ::sigaction(watchedSignals[i], &action, &m_saved->old[i]);

    m_notifier = new QSocketNotifier(m_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownWatcher::readSignals);
}

ShutdownWatcher::~ShutdownWatcher()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(watchedSignals); ++i)
        ::sigaction(watchedSignals[i], &m_saved->old[i], nullptr);
    signalPipe.store(-1);
    delete m_notifier;
    ::close(m_readFd);
    ::close(m_writeFd);
}

void ShutdownWatcher::readSignals()
{
    // Several signals in a row still mean one request to end.
    unsigned char bytes[16];
    bool any = false;
    ssize_t n;
    while ((n = ::read(m_readFd, bytes, sizeof bytes)) > 0) {
        m_lastSignal = bytes[n - 1];
        any = true;
    }
    if (any)
        emit shutdownRequested();
}

} // namespace cx
