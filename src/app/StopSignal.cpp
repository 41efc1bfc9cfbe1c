#include "app/StopSignal.h"

#include <signal.h>

namespace orvane {
namespace {

volatile sig_atomic_t stopSignal = 0;
volatile sig_atomic_t statusRequested = 0;

void OnStopSignal(int signalNumber) { stopSignal = signalNumber; }
void OnStatusSignal(int) { statusRequested = 1; }

}  // namespace

void CatchStopSignals() {
  stopSignal = 0;
  struct sigaction action {};
  action.sa_handler = &OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and writes go on; the loops look at the flag between frames
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  action.sa_handler = &OnStatusSignal;
  sigaction(SIGUSR1, &action, nullptr);
}

bool TakeStatusRequest() {
  if (statusRequested == 0) return false;
  statusRequested = 0;
  return true;
}

int StopSignal() { return stopSignal; }

int StopExitStatus() { return 128 + stopSignal; }

void RequestStop(int signalNumber) { stopSignal = signalNumber; }

}  // namespace orvane
