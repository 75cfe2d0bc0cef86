#pragma once

#include "process/UniqueFd.h"

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM (logout, shutdown, kill), SIGINT (Ctrl+C in the terminal the
// program was started from) and SIGHUP (that terminal closed) are blocked in
// every thread, so that they reach the program only as data on a descriptor
// that the interface thread reads. Must run before the first thread is
// made, as a thread takes its signal mask from the thread that made it.
void BlockTerminationSignals();
// For the time after the event loop, when nothing reads them any more.
void UnblockTerminationSignals();

// Calls onSignal on the interface thread when one of those signals arrives,
// also one that arrived before this existed. Throws EJvProcessError with the
// system error when the descriptor cannot be made.
class TTerminationSignals : public QObject {
public:
    explicit TTerminationSignals(std::function<void()> onSignal);

private:
    void Read();

    TJvUniqueFd descriptor_;
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
