#include "desktop/PowerOff.h"
#include "desktop/LogindPowerOff.h"
#include "desktop/ServiceInUse.h"

TPowerOff& PowerOffBackend() { return ServiceInUse<TPowerOff>::Get<TLogindPowerOff>(); }

void SetPowerOffBackend(TPowerOff* backend) { ServiceInUse<TPowerOff>::Replace(backend); }
