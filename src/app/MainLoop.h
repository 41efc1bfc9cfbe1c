#pragma once
// The frame loop: every pending window event is handled before each frame; Escape and closing the
// window end the loop, a size change resizes the screen and what follows it; a frame is evaluated
// and presented, the last one (in which the demo ended) included.

#include <cstdint>

union SDL_Event;

namespace orvane {

class Player;
class Screen;

struct EventOutcome {
  bool quit = false;
  bool resize = false;
  int32_t width = 0;
  int32_t height = 0;
};

// What one window event asks of the loop.
EventOutcome InterpretEvent(const SDL_Event& event);

// Runs until Escape, closing, or the end of the demo. Returns the number of frames presented.
int64_t RunMainLoop(Player& player, Screen& screen);

}  // namespace orvane
