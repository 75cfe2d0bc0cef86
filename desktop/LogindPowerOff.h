#pragma once

#include "desktop/PowerOff.h"

// systemd-logind on the system bus: CanPowerOff must answer "yes"; the
// power-off itself is PowerOff without asking the user interactively.
class TLogindPowerOff : public TPowerOff {
public:
    bool MayPowerOff() override;
    bool PowerOff(int flags) override;
};
