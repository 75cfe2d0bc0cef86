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
    // Large reads: a chatty child costs few system calls. The interface
    // thread still takes the output in pieces of 1024 bytes.
    std::unique_ptr<char[]> readBuffer(new char[ReadSize]);
    bool reachedEnd = false;
    while (!stopRequested_) {
        // The read end is non-blocking: under a flood most reads find data
        // at once and the poll is only paid when the pipe is empty.
        const ssize_t count = ::read(readEnd_.Get(), readBuffer.get(), ReadSize);
        if (count > 0) {
            bool notify = false;
            {
                std::unique_lock guard(lock_);
                // Scheduling alone can keep the interface thread away for a
                // moment while a fast child fills the buffer; only an
                // interface that stays away longer loses output.
                if (buffer_.Size() + count > TJvTransferBuffer::MaximumCapacity)
                    spaceTaken_.wait_for(guard, DiscardGrace, [&] {
                        return stopRequested_ || buffer_.Size() + count <= TJvTransferBuffer::MaximumCapacity;
                    });
                buffer_.Append(readBuffer.get(), count);
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

qsizetype TJvReadThread::Take(char* out, qsizetype maxSize)
{
    qsizetype taken;
    {
        const std::lock_guard guard(lock_);
        taken = buffer_.Take(out, maxSize);
    }
    spaceTaken_.notify_one();
    return taken;
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

qint64 TJvReadThread::Discarded() const
{
    const std::lock_guard guard(lock_);
    return buffer_.Discarded();
}

void TJvReadThread::Stop()
{
    {
        const std::lock_guard guard(lock_);
        stopRequested_ = true;
    }
    spaceTaken_.notify_one();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopEvent_.Get(), &one, sizeof one);
}
