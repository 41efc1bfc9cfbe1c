#include "app/MainLoop.h"

#include <SDL.h>

#include <cstdio>

#include "app/Player.h"
#include "app/StopSignal.h"
#include "render/Adapter.h"
#include "render/LiveObjects.h"
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

namespace {

// "orvane: status frames N resources N passes N framebuffers N" on stderr.
void PrintStatusLine(const Screen& screen, int64_t frames) {
  const LiveGpuObjects live = CountLiveGpuObjects(screen.adapter);
  std::fprintf(stderr, "orvane: status frames %lld resources %lld passes %lld framebuffers %lld\n",
               static_cast<long long>(frames), static_cast<long long>(live.resources),
               static_cast<long long>(live.shaderPasses), static_cast<long long>(live.framebuffers));
  std::fflush(stderr);
}

}  // namespace

int64_t RunMainLoop(Player& player, Screen& screen, LoopHooks* hooks) {
  int64_t presented = 0;
  bool quit = false;
  bool frameStarted = false;
  while (!quit && StopSignal() == 0) {
    if (hooks && !frameStarted) hooks->Phase("cpu:events");
    frameStarted = true;
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      if (hooks && hooks->TakeEvent(event)) continue;
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
    if (hooks) {
      hooks->BeforeFrame();
      hooks->Phase("cpu:evaluate");
    }
    quit = !player.Frame();
    if (hooks) {
      hooks->Phase("cpu:present");
      screen.Present([hooks] { hooks->DrawOverWindow(); });
      hooks->AfterFrame();
    } else {
      screen.Present();
    }
    frameStarted = false;
    ++presented;
    if (TakeStatusRequest()) PrintStatusLine(screen, presented);
  }
  return presented;
}

}  // namespace orvane
