#pragma once
// The program's phases: start-up (configuration, window, screen, shared render objects), the
// player with its music and frame loop, and shutdown in a fixed order.

#include "app/CommandLine.h"

namespace orvane {

// Plays the demo in the working directory in a window (offscreen when headless). Exit code.
int RunPlayback(const CommandLine& line);

// Renders the demo at a fixed frame rate into PNG frames or a video, without a window or a sound
// device. Exit code.
int RunOfflineRender(const CommandLine& line);

// Renders FROM..TO offscreen without audio as fast as it can and prints frames per second and
// frame-time percentiles (and the profile table with --profile). Exit code.
int RunBenchmark(const CommandLine& line);

}  // namespace orvane
