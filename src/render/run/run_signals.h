#ifndef QUILLMARK_RENDER_RUN_RUN_SIGNALS_H_
#define QUILLMARK_RENDER_RUN_RUN_SIGNALS_H_

#include <string>

// SIGTERM, SIGINT and SIGHUP stop a run in order instead of killing it:
// while a StopSignals object lives, each of them is caught and recorded, and
// the waiting loop of the run sees it (through a pipe it can poll), stops
// its workers, removes its temporary files, logs and ends.
class StopSignals {
 public:
  StopSignals();   // catches the three signals
  ~StopSignals();  // restores what they did before
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
};

// The first stop signal caught, or 0.
int CaughtStopSignal();

// A descriptor that becomes readable once a stop signal is caught; -1 when
// no StopSignals object lives.
int StopSignalDescriptor();

// For a forked worker: the three signals back to their default action, and
// the parent's pipe closed.
void ResetStopSignalsInChild();

// "SIGTERM", "SIGINT", "SIGHUP"; "signal N" for another.
std::string StopSignalName(int signal);

#endif  // QUILLMARK_RENDER_RUN_RUN_SIGNALS_H_
