#pragma once

// Keeps the machine from suspending or idling to sleep while a batch runs.
// The program asks the system's login manager; tests put a recording
// stand-in in its place.
class TSleepInhibitor {
public:
    virtual ~TSleepInhibitor() = default;
    // Takes the lock unless it is held already; false when the system
    // refused or did not answer.
    virtual bool Hold() = 0;
    // Gives the lock back; nothing when none is held.
    virtual void Release() = 0;
};

// The one in use: the login manager unless a stand-in was installed.
TSleepInhibitor& SleepInhibitorBackend();

// Puts a stand-in in place (not owned); nullptr goes back to the real one.
void SetSleepInhibitorBackend(TSleepInhibitor* standIn);
