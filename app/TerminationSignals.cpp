#include "app/TerminationSignals.h"

#include "process/JvProcessError.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace {

constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> signalPipe{-1};

void WriteToSignalPipe(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request to end; this one adds nothing.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe.load(), &byte, 1);
    errno = savedErrno;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : HandledSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal))
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) < 0)
        RaiseJvSystemError(errno);
    readEnd_ = TJvUniqueFd(ends[0]);
    writeEnd_ = TJvUniqueFd(ends[1]);
    signalPipe = writeEnd_.Get();
    notifier_ = new QSocketNotifier(readEnd_.Get(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::Read);
    SetHandler(&WriteToSignalPipe);
}

TTerminationSignals::~TTerminationSignals()
{
    SetHandler(SIG_DFL);
    signalPipe = -1;
}

void TTerminationSignals::Read()
{
    // Signals that came together are one request to end.
    char bytes[64];
    bool arrived = false;
    while (::read(readEnd_.Get(), bytes, sizeof bytes) > 0)
        arrived = true;
    if (arrived)
        onSignal_();
}
