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

// What development mode and measuring add to the loop; plain playback has none.
class LoopHooks {
public:
  virtual ~LoopHooks() = default;
  // Sees every event first; true when it took the event (the loop then ignores it).
  virtual bool TakeEvent(const SDL_Event& event) = 0;
  // Before each frame is evaluated.
  virtual void BeforeFrame() = 0;
  // A CPU phase of the frame starts: "cpu:events", "cpu:evaluate", "cpu:present".
  virtual void Phase(const char* name) = 0;
  // Between the frame's blit into the window and the swap: drawn over the window only, never
  // into the frame.
  virtual void DrawOverWindow() = 0;
  // After each frame is presented.
  virtual void AfterFrame() = 0;
};

// Runs until Escape, closing, the end of the demo, or SIGINT/SIGTERM (StopSignal). Returns the
// number of frames presented.
int64_t RunMainLoop(Player& player, Screen& screen, LoopHooks* hooks = nullptr);

}  // namespace orvane
