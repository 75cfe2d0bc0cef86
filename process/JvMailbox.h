#pragma once

#include <QEvent>
#include <QObject>

#include <memory>
#include <mutex>

// What a worker thread tells the runner on the interface thread.
class TJvRunnerEvent : public QEvent {
public:
    enum class TKind { OutputWaiting, ReaderEnded, WatcherEnded };

    TJvRunnerEvent(TKind kind, quint64 run, quint32 exitCode = 0);

    static QEvent::Type EventType();

    TKind Kind() const { return kind_; }
    quint64 Run() const { return run_; }
    quint32 ExitCode() const { return exitCode_; }

private:
    TKind kind_;
    quint64 run_;
    quint32 exitCode_;
};

// The worker threads' way to the runner. Events arrive on the runner's
// thread in posting order; once the runner has closed the mailbox (it is
// being destroyed) further events are dropped, so a thread that outlives
// its runner never touches a destroyed object.
class TJvMailbox {
public:
    explicit TJvMailbox(QObject* target) : target_(target) {}

    void Post(TJvRunnerEvent::TKind kind, quint64 run, quint32 exitCode = 0);
    void Close();

private:
    std::mutex lock_;
    QObject* target_;
};
