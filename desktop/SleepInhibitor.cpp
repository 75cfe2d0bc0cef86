#include "desktop/SleepInhibitor.h"
#include "desktop/LogindSleepInhibitor.h"
#include "desktop/ServiceInUse.h"

TSleepInhibitor& SleepInhibitorBackend() { return ServiceInUse<TSleepInhibitor>::Get<TLogindSleepInhibitor>(); }

void SetSleepInhibitorBackend(TSleepInhibitor* backend) { ServiceInUse<TSleepInhibitor>::Replace(backend); }
