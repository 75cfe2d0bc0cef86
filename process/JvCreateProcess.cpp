#include "process/JvCreateProcess.h"

#include "process/JvConsoleThread.h"
#include "process/JvMailbox.h"
#include "process/JvReadThread.h"
#include "process/JvReader.h"
#include "process/JvSpawn.h"
#include "process/ShellWords.h"

#include <QPointer>

#include <csignal>
#include <cstdio>
#include <limits>

namespace {

TJvCreateProcess::TErrorDisplay& ErrorDisplay()
{
    static TJvCreateProcess::TErrorDisplay display = [](const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
    };
    return display;
}

} // namespace

TJvCreateProcess::TJvCreateProcess(QObject* parent)
    : QObject(parent), mailbox_(std::make_shared<TJvMailbox>(this))
{
    reader_ = std::make_shared<TJvReader>([self = QPointer(this)](const QByteArray& line, bool startsOnNewLine) {
        if (self && self->OnRead)
            self->OnRead(self, line, startsOnNewLine);
    });
}

TJvCreateProcess::~TJvCreateProcess()
{
    // Detach without waiting: the threads leave on their own, the child
    // keeps running and the watcher still reaps it.
    mailbox_->Close();
    if (paused_)
        Resume();
    if (watcher_)
        watcher_->Detach();
    if (readThread_)
        readThread_->Stop();
}

void TJvCreateProcess::SetErrorDisplay(TErrorDisplay display)
{
    ErrorDisplay() = std::move(display);
}

void TJvCreateProcess::ShowError(const std::exception& error)
{
    if (ErrorDisplay())
        ErrorDisplay()(error);
}

void TJvCreateProcess::Start()
{
    if (state_ == TState::Watching && runningThreads_ > 0)
        throw EJvProcessError("Cannot perform this operation when process is running");
    state_ = TState::Idle;
    runningThreads_ = 0;
    watcher_.reset();
    readThread_.reset();

    // Everything that can fail before the child exists comes first.
    const quint64 run = run_ + 1;
    auto watcher = std::make_shared<TJvConsoleThread>(mailbox_, run);
    auto readThread = std::make_shared<TJvReadThread>(mailbox_, run);
    const QList<QByteArray> arguments = SplitShellWords(CommandLine);
    TJvChild child;
    try {
        child = SpawnJvChild(arguments);
    } catch (const EJvProcessError& error) {
        // The system's text alone does not say which program is missing.
        if (arguments.isEmpty())
            throw;
        throw EJvProcessError(std::string(error.what()) + "\nProgram: \"" + arguments.front().toStdString() + '"');
    }

    run_ = run;
    exitCode_ = 0;
    discardedOutput_ = 0;
    readerEndWaiting_ = false;
    paused_ = false;
    state_ = TState::Watching;
    runningThreads_ = 2;
    watcher_ = watcher;
    readThread_ = readThread;
    reader_->Reset();
    try {
        TJvConsoleThread::Start(watcher, child.pid, std::move(child.pidfd), std::move(child.inputWriteEnd));
        TJvReadThread::Start(readThread, std::move(child.outputReadEnd));
    } catch (const EJvProcessError&) {
        // No thread could be made (the system is out of resources): give
        // the run up as a failed start. A watcher that did start still
        // reaps the child.
        watcher->Detach();
        state_ = TState::Idle;
        runningThreads_ = 0;
        watcher_.reset();
        readThread_.reset();
        throw;
    }
}

bool TJvCreateProcess::Pause()
{
    if (!watcher_ || !watcher_->SignalGroup(SIGSTOP))
        return false;
    paused_ = true;
    return true;
}

bool TJvCreateProcess::Resume()
{
    if (!watcher_ || !watcher_->SignalGroup(SIGCONT))
        return false;
    paused_ = false;
    return true;
}

bool TJvCreateProcess::ReadIsCut() const { return reader_->ReportIsCut(); }

bool TJvCreateProcess::WriteInput(const QByteArray& S)
{
    if (!watcher_)
        return false;
    if (S.isEmpty())
        return true;
    return watcher_->QueueInput(S);
}

qsizetype TJvCreateProcess::UndeliveredOutputCapacity() const
{
    return readThread_ ? readThread_->Capacity() : 0;
}

qint64 TJvCreateProcess::DiscardedOutputBytes() const
{
    return readThread_ ? readThread_->Discarded() : discardedOutput_;
}

void TJvCreateProcess::customEvent(QEvent* event)
{
    if (event->type() != TJvRunnerEvent::EventType()) {
        QObject::customEvent(event);
        return;
    }
    const auto* runnerEvent = static_cast<const TJvRunnerEvent*>(event);
    if (runnerEvent->Run() != run_ || state_ != TState::Watching)
        return;
    switch (runnerEvent->Kind()) {
    case TJvRunnerEvent::TKind::OutputWaiting:
        OutputWaiting();
        break;
    case TJvRunnerEvent::TKind::ReaderEnded:
        // A handler's nested event loop can bring the end in while a
        // delivery is under way; the delivery finishes it afterwards.
        if (delivering_)
            readerEndWaiting_ = true;
        else
            ReaderEnded();
        break;
    case TJvRunnerEvent::TKind::WatcherEnded:
        WatcherEnded(runnerEvent->ExitCode());
        break;
    }
}

void TJvCreateProcess::OutputWaiting()
{
    if (!readThread_)
        return;
    const std::shared_ptr<TJvReadThread> readThread = readThread_;
    const qsizetype waiting = readThread->AcknowledgeNotification();
    if (delivering_)
        return; // the delivery under way asks for a new notification
    // Only what is waiting now: under a flood the reader refills the buffer
    // as fast as it drains, and the event loop must get its turn.
    if (!DeliverPieces(waiting))
        return;
    if (readerEndWaiting_)
        ReaderEnded();
    else if (readThread_ == readThread)
        readThread->NotifyIfWaiting();
}

bool TJvCreateProcess::DeliverPieces(qsizetype maxBytes)
{
    const QPointer<TJvCreateProcess> self(this);
    const std::shared_ptr<TJvReadThread> readThread = readThread_;
    const std::shared_ptr<TJvReader> reader = reader_;
    const quint64 run = run_;
    // Several pieces are taken under one lock; they are still parsed and
    // reported one piece of at most 1024 bytes at a time.
    char chunk[16 * TJvReader::PieceSize];
    delivering_ = true;
    while (maxBytes > 0) {
        const qsizetype size = readThread->Take(chunk, std::min<qsizetype>(maxBytes, sizeof chunk));
        if (size == 0)
            break;
        maxBytes -= size;
        for (qsizetype offset = 0; offset < size; offset += TJvReader::PieceSize) {
            try {
                reader->ParsePiece(chunk + offset, std::min(TJvReader::PieceSize, size - offset));
            } catch (const std::exception& error) {
                ShowError(error);
            } catch (...) {
                ShowError(std::runtime_error("Unknown error in an output handler"));
            }
            if (!self)
                return false;
            if (run_ != run) {
                delivering_ = false;
                return true;
            }
        }
    }
    delivering_ = false;
    return true;
}

void TJvCreateProcess::ReaderEnded()
{
    readerEndWaiting_ = false;
    if (!readThread_)
        return;
    const QPointer<TJvCreateProcess> self(this);
    // The pipe is at its end: what is still buffered is all there is.
    if (!DeliverPieces(std::numeric_limits<qsizetype>::max()))
        return;
    try {
        reader_->ReportRest();
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
        ShowError(std::runtime_error("Unknown error in an output handler"));
    }
    if (!self)
        return;
    discardedOutput_ = readThread_->Discarded();
    readThread_.reset();
    WorkerEnded();
}

void TJvCreateProcess::WatcherEnded(quint32 exitCode)
{
    exitCode_ = exitCode;
    paused_ = false;
    watcher_.reset();
    WorkerEnded();
}

void TJvCreateProcess::WorkerEnded()
{
    if (state_ != TState::Watching || --runningThreads_ > 0)
        return;
    state_ = TState::Idle;
    if (!OnTerminate)
        return;
    try {
        OnTerminate(this, exitCode_);
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
        ShowError(std::runtime_error("Unknown error in a termination handler"));
    }
}
