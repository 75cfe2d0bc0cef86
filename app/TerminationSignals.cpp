#include "app/TerminationSignals.h"

#include "process/JvProcessError.h"

#include <QSocketNotifier>

#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

sigset_t TerminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, signal);
    return set;
}

} // namespace

void BlockTerminationSignals()
{
    const sigset_t set = TerminationSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void UnblockTerminationSignals()
{
    const sigset_t set = TerminationSignals();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

TTerminationSignals::TTerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal))
{
    const sigset_t set = TerminationSignals();
    descriptor_ = TJvUniqueFd(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!descriptor_.IsOpen())
        RaiseJvSystemError(errno);
    notifier_ = new QSocketNotifier(descriptor_.Get(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::Read);
}

void TTerminationSignals::Read()
{
    // Signals that came together are one request to end.
    bool arrived = false;
    signalfd_siginfo info;
    while (::read(descriptor_.Get(), &info, sizeof info) == sizeof info)
        arrived = true;
    if (arrived)
        onSignal_();
}
