#pragma once

#include "process/UniqueFd.h"

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM (logout, shutdown, kill), SIGINT (Ctrl+C in the terminal the
// program was started from) and SIGHUP (that terminal closed), turned into a
// call on the interface thread while this object lives. The handler only
// writes a byte to a pipe that the interface thread watches; the signal mask
// stays as it is, so that no program started from here inherits blocked
// signals. Once this object is gone, a further signal has its default action
// again. Throws EJvProcessError with the system error when the pipe cannot
// be made. One at a time.
class TTerminationSignals : public QObject {
public:
    explicit TTerminationSignals(std::function<void()> onSignal);
    ~TTerminationSignals() override;

private:
    void Read();

    TJvUniqueFd readEnd_;
    TJvUniqueFd writeEnd_;
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};
