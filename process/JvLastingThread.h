#pragma once

#include <functional>

// Runs a task on a thread that is started on first use and lasts until the
// process ends; the caller waits for the task. Children are started there:
// the kernel's parent-death signal follows the thread that started a child,
// not the process, so a child started by a worker thread would be ended as
// soon as that worker finished. The task must not throw. Throws
// EJvProcessError when the thread cannot be made.
void RunOnJvLastingThread(const std::function<void()>& task);
