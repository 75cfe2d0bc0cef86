#pragma once

#include <chrono>

// The children that runners have started and whose end has not been seen
// yet, detached ones included. A program that asked its children to stop
// waits here before it ends: ending sooner would kill them mid-way.
void CountJvChildWatched();
void CountJvChildEnded();

// Waits until every counted child has ended, at most limit. True when none
// is left.
bool WaitForJvChildren(std::chrono::milliseconds limit);
