#pragma once

#include <optional>
#include <string>

// POSIX socket details the service needs beyond what its HTTP library offers.
namespace parlavo::server {

// The listening socket systemd passed to this process (socket activation:
// LISTEN_PID is ours and LISTEN_FDS names one stream socket at fd 3), if any.
// The variables are removed so that children do not take them for theirs.
std::optional<int> TakePassedListeningSocket();

// A socket bound to HOST:PORT (port 0: one the system picks) and listening.
// The port is never shared (no SO_REUSEPORT): a second service on the same
// port fails here. Throws std::runtime_error with a Chinese message.
int ListenOn(const std::string& host, int port);

// The numeric address a socket is bound to ("127.0.0.1", "::1") and its port.
std::string BoundAddress(int socket);
int BoundPort(int socket);
// Whether only this machine can reach the socket (127.0.0.0/8, ::1).
bool IsLoopbackOnly(int socket);

// Ends a connection from outside its owner's thread: the owner sees the peer
// gone and closes the descriptor itself.
void ShutDownConnection(int socket);

// A client that goes away while its reply is written must not kill the process.
void IgnoreBrokenPipes();

}  // namespace parlavo::server
