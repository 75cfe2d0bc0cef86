#include "engine/SleepInhibitor.h"
#include "engine/LogindSleepInhibitor.h"

namespace {
TSleepInhibitor* standIn = nullptr;
}

TSleepInhibitor& SleepInhibitorBackend()
{
    static TLogindSleepInhibitor logind;
    return standIn ? *standIn : logind;
}

void SetSleepInhibitorBackend(TSleepInhibitor* backend) { standIn = backend; }
