#pragma once

#include <chrono>

namespace parlavo::server {

// SIGTERM (systemd) and SIGINT (Ctrl+C) end the service cleanly: they are
// blocked in every thread and taken by WaitForTerminationSignal. Block them
// before any other thread exists, since new threads inherit the mask.
void BlockTerminationSignals();
void WaitForTerminationSignal();

// Ends the process after `limit` if it has not ended by then: a request the
// engine still works on (an upstream slow to answer) must not hold up a stop.
void ExitAfter(std::chrono::seconds limit);

}  // namespace parlavo::server
