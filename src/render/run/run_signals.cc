#include "render/run/run_signals.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t caught = 0;
int pipeEnds[2] = {-1, -1};
struct sigaction previous[3];

void OnStopSignal(int signal) {
  const int saved = errno;
  if (caught == 0)
    caught = signal;
  if (pipeEnds[1] >= 0) {
    const char byte = 1;
    ssize_t ignored = write(pipeEnds[1], &byte, 1);
    (void)ignored;
  }
  errno = saved;
}

}  // namespace

StopSignals::StopSignals() {
  caught = 0;
  if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
    pipeEnds[0] = pipeEnds[1] = -1;
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (int s : kStopSignals)
    sigaddset(&action.sa_mask, s);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i)
    sigaction(kStopSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals() {
  for (int i = 0; i < 3; ++i)
    sigaction(kStopSignals[i], &previous[i], nullptr);
  for (int& fd : pipeEnds) {
    if (fd >= 0)
      close(fd);
    fd = -1;
  }
}

int CaughtStopSignal() { return caught; }

int StopSignalDescriptor() { return pipeEnds[0]; }

void ResetStopSignalsInChild() {
  for (int s : kStopSignals)
    signal(s, SIG_DFL);
  for (int& fd : pipeEnds) {
    if (fd >= 0)
      close(fd);
    fd = -1;
  }
}

std::string StopSignalName(int signal) {
  switch (signal) {
    case SIGTERM:
      return "SIGTERM";
    case SIGINT:
      return "SIGINT";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "signal " + std::to_string(signal);
  }
}
