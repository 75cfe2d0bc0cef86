#include "engine/PowerOff.h"
#include "engine/LogindPowerOff.h"

namespace {
TPowerOff* standIn = nullptr;
}

TPowerOff& PowerOffBackend()
{
    static TLogindPowerOff logind;
    return standIn ? *standIn : logind;
}

void SetPowerOffBackend(TPowerOff* backend) { standIn = backend; }
