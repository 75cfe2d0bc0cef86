#pragma once

// Switches the machine off after a batch. The program uses the system's
// login manager; tests put a recording stand-in in its place.
class TPowerOff {
public:
    virtual ~TPowerOff() = default;
    // Whether the system lets this user power the machine off.
    virtual bool MayPowerOff() = 0;
    // Asks the system to power off with the given flags; false when refused.
    virtual bool PowerOff(int flags) = 0;
};

// The one in use: the login manager unless a stand-in was installed.
TPowerOff& PowerOffBackend();

// Puts a stand-in in place (not owned); nullptr goes back to the real one.
void SetPowerOffBackend(TPowerOff* standIn);
