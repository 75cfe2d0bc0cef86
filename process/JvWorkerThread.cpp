#include "process/JvWorkerThread.h"

#include "process/JvProcessError.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <system_error>
#include <thread>

namespace {

void LowerOwnPriority()
{
    const id_t self = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, self, nice + 1); // best effort
}

sigset_t SigpipeOnly()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

} // namespace

void StartJvWorkerThread(std::function<void()> body)
{
    try {
        std::thread([body = std::move(body)] {
            const sigset_t sigpipe = SigpipeOnly();
            ::pthread_sigmask(SIG_BLOCK, &sigpipe, nullptr);
            LowerOwnPriority();
            body();
        }).detach();
    } catch (const std::system_error& error) {
        RaiseJvSystemError(error.code().value());
    }
}

void DiscardPendingSigpipe()
{
    const sigset_t sigpipe = SigpipeOnly();
    const timespec noWait{0, 0};
    while (::sigtimedwait(&sigpipe, nullptr, &noWait) < 0 && errno == EINTR) {
    }
}
