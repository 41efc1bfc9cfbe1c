#include "render/Window.h"

#include <SDL.h>

#include <cstdlib>

#include "render/Diagnostics.h"

namespace orvane {

void UseOffscreenVideoWhenHeadless(bool force) {
  const bool noDisplay = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  if (force || noDisplay) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

SDL_Window* OpenWindow(const ScreenParams& params) {
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    DebugPrint("Could not start SDL video: %s\n", SDL_GetError());
    return nullptr;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // The window only receives the blit of the back buffer: no depth or stencil of its own.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
  if (params.flags & kScreenFullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_Window* window = SDL_CreateWindow("orvane", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        params.width, params.height, flags);
  if (!window) {
    DebugPrint("Could not open the window: %s\n", SDL_GetError());
    return nullptr;
  }
  SDL_ShowCursor(SDL_DISABLE);
  return window;
}

void CloseWindow(SDL_Window* window) {
  if (window) SDL_DestroyWindow(window);
}

}  // namespace orvane
