#include "app/MainLoop.h"

#include <SDL.h>

#include "app/Player.h"
#include "render/Adapter.h"
#include "render/Screen.h"

namespace orvane {

EventOutcome InterpretEvent(const SDL_Event& event) {
  EventOutcome outcome;
  switch (event.type) {
    case SDL_QUIT: outcome.quit = true; break;
    case SDL_KEYDOWN: outcome.quit = event.key.keysym.sym == SDLK_ESCAPE; break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) outcome.quit = true;
      // A minimised window keeps its targets; sizes of 0 would make empty ones.
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && event.window.data1 > 0 && event.window.data2 > 0) {
        outcome.resize = true;
        outcome.width = event.window.data1;
        outcome.height = event.window.data2;
      }
      break;
    default: break;
  }
  return outcome;
}

int64_t RunMainLoop(Player& player, Screen& screen) {
  int64_t presented = 0;
  bool quit = false;
  while (!quit) {
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      const EventOutcome outcome = InterpretEvent(event);
      // In full screen the window takes the display's size while the picture keeps the configured
      // one: Present scales it to the display with bars.
      const bool fullScreen = (screen.flags & kScreenFullScreen) != 0;
      if (outcome.resize && !fullScreen) screen.Resize(outcome.width, outcome.height);
      // Quitting leaves at once; otherwise back to the events until none is pending.
      quit = outcome.quit;
      continue;
    }
    screen.adapter->BeginFrame();
    quit = !player.Frame();
    screen.Present();
    ++presented;
  }
  return presented;
}

}  // namespace orvane
