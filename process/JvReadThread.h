#pragma once

#include "process/JvTransferBuffer.h"
#include "process/UniqueFd.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

class TJvMailbox;

// Reads the child's output pipe (standard output and error together) on a
// thread of its own and keeps what it read in the transfer buffer until the
// interface thread takes it. It tells the runner that output is waiting
// (once until the runner has looked) and that the pipe has reached its end.
//
// The object is shared by the thread and the runner; whichever lets go last
// frees it.
class TJvReadThread {
public:
    // How long a full transfer buffer waits for the interface thread before
    // what waits in it is discarded.
    static constexpr std::chrono::milliseconds DiscardGrace{50};
    static constexpr qsizetype ReadSize = 65536;

    TJvReadThread(std::shared_ptr<TJvMailbox> mailbox, quint64 run);

    // Takes over the read end of the output pipe (non-blocking).
    static void Start(const std::shared_ptr<TJvReadThread>& self, TJvUniqueFd readEnd);

    // Interface thread. The runner has seen the notification; returns the
    // number of bytes waiting now.
    qsizetype AcknowledgeNotification();
    // Interface thread. Moves up to maxSize bytes from the front into out.
    qsizetype Take(char* out, qsizetype maxSize);
    // Interface thread. Bytes still waiting after a delivery that stopped
    // early get a notification of their own.
    void NotifyIfWaiting();
    qsizetype Capacity() const;
    qint64 Discarded() const;

    // Interface thread: leave without waiting for the child. The thread
    // closes the read end, so the child's later writes fail.
    void Stop();

private:
    void Run();
    bool WaitReadable();

    TJvUniqueFd readEnd_;
    TJvUniqueFd stopEvent_;
    std::shared_ptr<TJvMailbox> mailbox_;
    const quint64 run_;
    std::atomic<bool> stopRequested_{false};

    mutable std::mutex lock_;
    TJvTransferBuffer buffer_;
    bool notificationPending_ = false;
    std::condition_variable spaceTaken_;
};
