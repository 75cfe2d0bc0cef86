#pragma once

#include "process/UniqueFd.h"

#include <QByteArray>

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <mutex>

class TJvMailbox;

// Watches the child on a thread of its own and writes the queued input to
// its standard input. It waits on three things in this order of priority:
// the stop event, the process (a pidfd) and the input event. When the child
// ends it reaps it and tells the runner the exit code.
//
// When told to stop (the runner is detaching), it closes the input pipe,
// drops queued input and waits for the child's end in silence, so that a
// detached child never stays behind as a zombie.
class TJvConsoleThread {
public:
    static constexpr qsizetype InputQueueSize = 1024;

    TJvConsoleThread(std::shared_ptr<TJvMailbox> mailbox, quint64 run);

    // Takes over the child and the write end of its input pipe
    // (non-blocking).
    static void Start(const std::shared_ptr<TJvConsoleThread>& self, pid_t pid, TJvUniqueFd pidfd,
                      TJvUniqueFd inputWriteEnd);

    // Any thread. False when the input pipe is closed or the queue would
    // hold more than InputQueueSize bytes; then nothing is queued.
    bool QueueInput(const QByteArray& text);

    void Detach();

    // Any thread. Sends the signal to the child's process group; false once
    // the child has been reaped (its number may then belong to another
    // process) or when the system refuses.
    bool SignalGroup(int signal);

private:
    void Run();
    // Writes what the pipe takes now; false once the input side is closed.
    bool WriteQueue(bool& waitWritable);
    void CloseInput();
    quint32 Reap();

    pid_t pid_ = -1;
    TJvUniqueFd pidfd_;
    TJvUniqueFd stopEvent_;
    TJvUniqueFd inputEvent_;
    std::shared_ptr<TJvMailbox> mailbox_;
    const quint64 run_;
    std::atomic<bool> stopRequested_{false};

    std::mutex reapLock_;
    bool reaped_ = false;

    std::mutex lock_;
    TJvUniqueFd input_;
    char queue_[InputQueueSize];
    qsizetype fill_ = 0;
};
