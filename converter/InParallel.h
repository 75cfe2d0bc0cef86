#pragma once

#include <QtGlobal>

#include <functional>

// Calls work(i) for every i from 0 to count - 1, on at most parallel threads
// at a time (the calling one among them), and returns when all calls have
// returned. When a call throws, no further call starts and the first error
// is thrown again once the running ones are done.
void ForEachInParallel(qsizetype count, int parallel, const std::function<void(qsizetype)>& work);

// How many console programs a probe runs at once on this machine.
int ProbeParallelism();
