#pragma once

#include "process/JvProcessError.h"

#include <QByteArray>
#include <QObject>

#include <exception>
#include <functional>
#include <memory>

class TJvConsoleThread;
class TJvMailbox;
class TJvReadThread;
class TJvReader;

// Runs one console program at a time with its standard streams on pipes.
// Everything it reports arrives on the thread it lives on (the interface
// thread): every change of the program's current output line as OnRead,
// then the program's end as OnTerminate, after the last OnRead of the run.
//
// Destroying it while a program runs detaches: the program goes on, a
// paused one too (until this program ends, which ends every child), no
// event follows, and it is still reaped when it ends. Handlers that want to destroy the runner use
// deleteLater().
class TJvCreateProcess : public QObject {
    Q_OBJECT

public:
    enum class TState { Idle, Watching };

    using TReadEvent = std::function<void(TJvCreateProcess* Sender, const QByteArray& S, bool StartsOnNewLine)>;
    using TTerminateEvent = std::function<void(TJvCreateProcess* Sender, quint32 ExitCode)>;
    using TErrorDisplay = std::function<void(const std::exception& error)>;

    explicit TJvCreateProcess(QObject* parent = nullptr);
    ~TJvCreateProcess() override;

    // The whole command line, program first, split into arguments by shell
    // word rules (see ShellWords.h).
    QByteArray CommandLine;

    TReadEvent OnRead;
    TTerminateEvent OnTerminate;

    // Throws EJvProcessError: "Cannot perform this operation when process is
    // running" while a program is watched, or the system error followed by
    // a line naming the program when it cannot be started (the runner then
    // stays Idle).
    void Start();

    // Queues S unchanged for the program's standard input. False when no
    // program is watched, when its input is closed, or when the queue would
    // exceed 1024 bytes (then nothing is queued). Empty S: True while
    // watching.
    bool WriteInput(const QByteArray& S);

    TState State() const { return state_; }

    // Suspends the watched program together with its whole process group,
    // and lets it go on again; the program loses nothing. False when no
    // program is watched or it has already ended. A paused program reads
    // none of its input: resume it before asking it to stop.
    bool Pause();
    bool Resume();
    bool Paused() const { return paused_; }

    // Inside OnRead: true when S is a line cut off where a piece of output
    // ended, still being written (see TJvReader::ReportIsCut).
    bool ReadIsCut() const;

    // Bytes reserved for output read but not yet delivered in the current
    // run (0 when idle).
    qsizetype UndeliveredOutputCapacity() const;
    // Output bytes of the current or last run that were dropped because
    // the interface thread fell too far behind.
    qint64 DiscardedOutputBytes() const;

    // Where errors thrown by OnRead and OnTerminate handlers go; they never
    // reach the event loop. Set once by the application; by default the
    // text goes to standard error.
    static void SetErrorDisplay(TErrorDisplay display);

protected:
    void customEvent(QEvent* event) override;

private:
    void OutputWaiting();
    // False when the runner was destroyed by a handler.
    bool DeliverPieces(qsizetype maxBytes);
    void ReaderEnded();
    void WatcherEnded(quint32 exitCode);
    void WorkerEnded();
    static void ShowError(const std::exception& error);

    TState state_ = TState::Idle;
    int runningThreads_ = 0;
    quint64 run_ = 0;
    quint32 exitCode_ = 0;
    qint64 discardedOutput_ = 0;
    bool delivering_ = false;
    bool readerEndWaiting_ = false;
    bool paused_ = false;

    std::shared_ptr<TJvMailbox> mailbox_;
    std::shared_ptr<TJvReader> reader_;
    std::shared_ptr<TJvConsoleThread> watcher_;
    std::shared_ptr<TJvReadThread> readThread_;
};
