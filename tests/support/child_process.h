#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace parlavo::testing {

// Starts `arguments` (the program looked up in PATH) and returns its process
// id, or 0 when it cannot start. `quiet` sends its standard error to
// /dev/null.
pid_t Spawn(std::vector<std::string> arguments, bool quiet = false);

// Ends a process that Spawn started (SIGTERM) and waits for it.
void Stop(pid_t pid);

}  // namespace parlavo::testing
