#include "engine/PowerOff.h"
#include "engine/LogindPowerOff.h"
#include "engine/ServiceInUse.h"

TPowerOff& PowerOffBackend() { return ServiceInUse<TPowerOff>::Get<TLogindPowerOff>(); }

void SetPowerOffBackend(TPowerOff* backend) { ServiceInUse<TPowerOff>::Replace(backend); }
