#pragma once

#include <functional>

// Runs body on a detached thread of its own that yields to the interface
// thread (one nice step lower) and never receives SIGPIPE: a write to a
// closed pipe fails with EPIPE instead of ending the program.
// Throws EJvProcessError when no thread can be created.
void StartJvWorkerThread(std::function<void()> body);

// After a write failed with EPIPE: takes the SIGPIPE that the kernel left
// pending on this thread.
void DiscardPendingSigpipe();
