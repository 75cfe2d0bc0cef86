#include "engine/SleepInhibitor.h"
#include "engine/LogindSleepInhibitor.h"
#include "engine/ServiceInUse.h"

TSleepInhibitor& SleepInhibitorBackend() { return ServiceInUse<TSleepInhibitor>::Get<TLogindSleepInhibitor>(); }

void SetSleepInhibitorBackend(TSleepInhibitor* backend) { ServiceInUse<TSleepInhibitor>::Replace(backend); }
