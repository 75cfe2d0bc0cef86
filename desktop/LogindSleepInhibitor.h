#pragma once

#include "desktop/SleepInhibitor.h"

#include <QDBusUnixFileDescriptor>

// systemd-logind on the system bus: Inhibit("sleep:idle", "Movarin",
// "Converting videos", "block") hands out a file descriptor, and the lock
// lasts as long as that descriptor is open, so it also ends with the process.
class TLogindSleepInhibitor : public TSleepInhibitor {
public:
    bool Hold() override;
    void Release() override;

private:
    QDBusUnixFileDescriptor m_lock;
};
