#include "process/JvReadThread.h"

#include "process/JvMailbox.h"
#include "process/JvProcessError.h"
#include "process/JvWorkerThread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

TJvReadThread::TJvReadThread(std::shared_ptr<TJvMailbox> mailbox, quint64 run)
    : stopEvent_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      mailbox_(std::move(mailbox)),
      run_(run)
{
    if (!stopEvent_.IsOpen())
        RaiseJvSystemError(errno);
}

void TJvReadThread::Start(const std::shared_ptr<TJvReadThread>& self, TJvUniqueFd readEnd)
{
    self->readEnd_ = std::move(readEnd);
    StartJvWorkerThread([self] { self->Run(); });
}

bool TJvReadThread::WaitReadable()
{
    pollfd fds[2] = {{stopEvent_.Get(), POLLIN, 0}, {readEnd_.Get(), POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return !(fds[0].revents & POLLIN) && !stopRequested_;
}

void TJvReadThread::Run()
{
    char readBuffer[1024];
    bool reachedEnd = false;
    while (!stopRequested_) {
        // The read end is non-blocking: under a flood most reads find data
        // at once and the poll is only paid when the pipe is empty.
        const ssize_t count = ::read(readEnd_.Get(), readBuffer, sizeof readBuffer);
        if (count > 0) {
            bool notify = false;
            {
                const std::lock_guard guard(lock_);
                buffer_.Append(readBuffer, count);
                notify = !std::exchange(notificationPending_, true);
            }
            if (notify)
                mailbox_->Post(TJvRunnerEvent::TKind::OutputWaiting, run_);
        } else if (count == 0) {
            reachedEnd = true;
            break;
        } else if (errno == EAGAIN) {
            if (!WaitReadable())
                break;
        } else if (errno != EINTR) {
            // Anything but an interruption is permanent on a pipe; retrying
            // would spin. The run ends as if the pipe had closed.
            reachedEnd = true;
            break;
        }
    }
    readEnd_.Reset();
    if (reachedEnd && !stopRequested_)
        mailbox_->Post(TJvRunnerEvent::TKind::ReaderEnded, run_);
}

qsizetype TJvReadThread::AcknowledgeNotification()
{
    const std::lock_guard guard(lock_);
    notificationPending_ = false;
    return buffer_.Size();
}

qsizetype TJvReadThread::TakePiece(char* out, qsizetype maxSize)
{
    const std::lock_guard guard(lock_);
    return buffer_.Take(out, maxSize);
}

void TJvReadThread::NotifyIfWaiting()
{
    {
        const std::lock_guard guard(lock_);
        if (buffer_.Size() == 0 || notificationPending_)
            return;
        notificationPending_ = true;
    }
    mailbox_->Post(TJvRunnerEvent::TKind::OutputWaiting, run_);
}

qsizetype TJvReadThread::Capacity() const
{
    const std::lock_guard guard(lock_);
    return buffer_.Capacity();
}

void TJvReadThread::Stop()
{
    stopRequested_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopEvent_.Get(), &one, sizeof one);
}
