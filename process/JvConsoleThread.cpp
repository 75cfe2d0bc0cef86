#include "process/JvConsoleThread.h"

#include "process/JvChildren.h"
#include "process/JvMailbox.h"
#include "process/JvProcessError.h"
#include "process/JvWorkerThread.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

TJvUniqueFd MakeEvent()
{
    TJvUniqueFd event(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!event.IsOpen())
        RaiseJvSystemError(errno);
    return event;
}

void Signal(const TJvUniqueFd& event)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(event.Get(), &one, sizeof one);
}

void ResetEvent(const TJvUniqueFd& event)
{
    std::uint64_t value;
    [[maybe_unused]] const ssize_t count = ::read(event.Get(), &value, sizeof value);
}

} // namespace

TJvConsoleThread::TJvConsoleThread(std::shared_ptr<TJvMailbox> mailbox, quint64 run)
    : stopEvent_(MakeEvent()), inputEvent_(MakeEvent()), mailbox_(std::move(mailbox)), run_(run)
{
}

void TJvConsoleThread::Start(const std::shared_ptr<TJvConsoleThread>& self, pid_t pid, TJvUniqueFd pidfd,
                             TJvUniqueFd inputWriteEnd)
{
    self->pid_ = pid;
    self->pidfd_ = std::move(pidfd);
    self->input_ = std::move(inputWriteEnd);
    CountJvChildWatched();
    try {
        StartJvWorkerThread([self] { self->Run(); });
    } catch (...) {
        CountJvChildEnded();
        throw;
    }
}

void TJvConsoleThread::Run()
{
    bool inputOpen = true;
    bool waitWritable = false;
    while (!stopRequested_) {
        const int inputFd = [&] {
            const std::lock_guard guard(lock_);
            return input_.Get();
        }();
        pollfd fds[4] = {
            {stopEvent_.Get(), POLLIN, 0},
            {pidfd_.Get(), POLLIN, 0},
            {inputOpen && !waitWritable ? inputEvent_.Get() : -1, POLLIN, 0},
            {inputOpen && waitWritable ? inputFd : -1, POLLOUT, 0},
        };
        if (::poll(fds, 4, -1) < 0) {
            if (errno == EINTR)
                continue;
            break; // cannot wait any more: fall through to a blocking reap
        }
        if (fds[0].revents || stopRequested_)
            break;
        if (fds[1].revents)
            break;
        if (fds[2].revents || fds[3].revents)
            inputOpen = WriteQueue(waitWritable);
    }
    // A request written just before the runner let go (the converter's "q"
    // when the window closes) still reaches the child; the pipe does not
    // block, so this cannot hold the thread.
    if (stopRequested_) {
        bool waitWritable = false;
        WriteQueue(waitWritable);
    }
    CloseInput();
    const quint32 exitCode = Reap();
    CountJvChildEnded();
    if (!stopRequested_)
        mailbox_->Post(TJvRunnerEvent::TKind::WatcherEnded, run_, exitCode);
}

bool TJvConsoleThread::WriteQueue(bool& waitWritable)
{
    const std::lock_guard guard(lock_);
    ResetEvent(inputEvent_);
    waitWritable = false;
    if (!input_.IsOpen())
        return false;
    if (fill_ == 0)
        return true;
    const ssize_t written = ::write(input_.Get(), queue_, fill_);
    if (written > 0) {
        std::memmove(queue_, queue_ + written, fill_ - written);
        fill_ -= written;
    } else if (written < 0 && errno == EPIPE) {
        DiscardPendingSigpipe();
        input_.Reset();
        fill_ = 0;
        return false;
    }
    // A full pipe (EAGAIN) or a partial write: go on once it takes more,
    // still watching the process meanwhile.
    waitWritable = fill_ > 0;
    return true;
}

void TJvConsoleThread::CloseInput()
{
    const std::lock_guard guard(lock_);
    input_.Reset();
    fill_ = 0;
}

quint32 TJvConsoleThread::Reap()
{
    // An ended child that is not yet reaped keeps its number, so a signal
    // sent before the mark below can reach no stranger's process group.
    siginfo_t ended{};
    while (::waitid(P_PID, pid_, &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    {
        const std::lock_guard guard(reapLock_);
        reaped_ = true;
    }
    int status = 0;
    pid_t reaped;
    do {
        reaped = ::waitpid(pid_, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    if (reaped < 0)
        return 0;
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

bool TJvConsoleThread::QueueInput(const QByteArray& text)
{
    const std::lock_guard guard(lock_);
    if (!input_.IsOpen() || text.size() + fill_ > InputQueueSize)
        return false;
    std::memcpy(queue_ + fill_, text.constData(), text.size());
    fill_ += text.size();
    Signal(inputEvent_);
    return true;
}

bool TJvConsoleThread::SignalGroup(int signal)
{
    const std::lock_guard guard(reapLock_);
    return pid_ > 0 && !reaped_ && ::kill(-pid_, signal) == 0;
}

void TJvConsoleThread::Detach()
{
    stopRequested_ = true;
    Signal(stopEvent_);
}
