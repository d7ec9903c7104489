#include "platform/termination_signals.h"

#include <pthread.h>

#include <csignal>
#include <thread>

namespace parlavo::server {

void StopOnTerminationSignals(std::function<void()> stop) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([signals, stop = std::move(stop)] {
    int received = 0;
    sigwait(&signals, &received);
    stop();
  }).detach();
}

}  // namespace parlavo::server
