#pragma once
// The one window of the program, made ready for an OpenGL 4.5 core context.

#include "render/Screen.h"

struct SDL_Window;

namespace orvane {

// Chooses SDL's offscreen video driver when forced, or when neither DISPLAY nor WAYLAND_DISPLAY
// is set. Call before the first window is opened.
void UseOffscreenVideoWhenHeadless(bool force);

// Opens the window "orvane": resizable, cursor hidden over it, full screen as the desktop's
// full screen when the parameters ask. Null when SDL cannot make it.
SDL_Window* OpenWindow(const ScreenParams& params);
void CloseWindow(SDL_Window* window);

}  // namespace orvane
