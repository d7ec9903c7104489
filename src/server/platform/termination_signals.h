#pragma once

namespace parlavo::server {

// SIGTERM (systemd) and SIGINT (Ctrl+C) end the service cleanly: they are
// blocked in every thread and taken by WaitForTerminationSignal. Block them
// before any other thread exists, since new threads inherit the mask.
void BlockTerminationSignals();
void WaitForTerminationSignal();

}  // namespace parlavo::server
