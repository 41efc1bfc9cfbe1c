#pragma once
// SIGINT and SIGTERM ask playing and rendering to stop at the next frame instead of ending the
// process on the spot: a video being written is finished, frames already written stay whole.
// SIGUSR1 asks a playing run for one status line on stderr (the live GPU objects), which long
// runs (scripts/soak) sample.

namespace orvane {

// Installs the handlers (once per process; calling again clears a stop that was asked for).
void CatchStopSignals();
// The signal that asked to stop, or 0.
int StopSignal();
// The exit status for a run that a signal stopped: 128 + the signal's number.
int StopExitStatus();
// True once after each SIGUSR1.
bool TakeStatusRequest();

// As if the signal had arrived (tests, and code that stops for its own reasons).
void RequestStop(int signalNumber);

}  // namespace orvane
