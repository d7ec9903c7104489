#pragma once

#include <functional>

namespace parlavo::server {

// Calls `stop` (on a thread of its own) when SIGTERM or SIGINT arrives, so
// the server ends cleanly under systemd and at Ctrl+C. Call before any other
// thread exists: the signals are blocked for every thread started afterwards.
void StopOnTerminationSignals(std::function<void()> stop);

}  // namespace parlavo::server
