#pragma once

#include <optional>
#include <string>

// POSIX socket details the service needs beyond what its HTTP library offers.
namespace parlavo::server {

// The listening socket systemd passed to this process (socket activation:
// LISTEN_PID is ours and LISTEN_FDS names one stream socket at fd 3), if any.
// The variables are removed so that children do not take them for theirs.
std::optional<int> TakePassedListeningSocket();

// The numeric address a socket is bound to ("127.0.0.1", "::1").
std::string BoundAddress(int socket);

// The HTTP library listens with a queue of 5, too short for a burst of
// connections; the kernel accepts a longer one on the same socket.
void WidenListenQueue(int socket);

// A client that goes away while its reply is written must not kill the process.
void IgnoreBrokenPipes();

}  // namespace parlavo::server
