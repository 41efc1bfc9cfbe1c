#pragma once
// The window surface: a back buffer and a depth buffer owned by the layer, blitted into the
// window on Present.

#include <cstdint>
#include <functional>
#include <vector>

#include "render/FormatCode.h"

struct SDL_Window;

namespace orvane {

class Adapter;
struct GpuResource;

enum : uint32_t { kScreenVsync = 1u << 0, kScreenFullScreen = 1u << 1 };

struct ScreenParams {
  uint32_t flags = 0;
  int32_t width = 0;
  int32_t height = 0;
  FormatCode colorFormat = kFormatNone;  // 0: RGBA 8-bit
  FormatCode depthFormat = kFormatNone;  // 0: depth 24 + stencil 8
};

class Screen {
public:
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // New back buffer and depth buffer at the new size, and every resource that follows the
  // window recreated at it. Repeating the current size does nothing.
  void Resize(int32_t newWidth, int32_t newHeight);
  // Blits the back buffer into the window, scaled with its aspect ratio kept (black bars where
  // they differ) and rows the right way up, then swaps (waiting for vertical sync when asked).
  // `overWindow`, when given, draws into the window between the blit and the swap (an overlay
  // that never reaches the back buffer).
  void Present(const std::function<void()>& overWindow = nullptr);
  // Releases the targets and the adapter and clears the adapter slot; the caller clears the
  // screen slot.
  void Destroy();

  // The window's pixels as Present puts them there, top row first, RGBA 8-bit, at the
  // window's size. Without `blitFirst`, what the window holds now (inside Present's `overWindow`:
  // the frame with whatever was drawn over it).
  std::vector<uint8_t> ReadWindow(int32_t& windowWidth, int32_t& windowHeight, bool blitFirst = true);

  GpuResource* backBuffer = nullptr;
  GpuResource* depthBuffer = nullptr;
  Adapter* adapter = nullptr;
  uint32_t flags = 0;
  int32_t width = 0;
  int32_t height = 0;
  FormatCode colorFormat = kFormatNone;
  FormatCode depthFormat = kFormatNone;
  SDL_Window* window = nullptr;

private:
  friend Screen* CreateScreen(SDL_Window* window, const ScreenParams& params);
  Screen() = default;
  void CreateTargets();
  void BlitToWindow();
  void ReleaseTargets();
  void ReleaseBlackTexel();

  GpuResource* black_ = nullptr;  // one black texel, stretched over the window's bars
};

// Creates the adapter when there is none (else warns and uses it), the targets and the screen,
// and stores it in the screen slot.
Screen* CreateScreen(SDL_Window* window, const ScreenParams& params);

// The process-wide slot of the current screen.
extern Screen* currentScreen;

}  // namespace orvane
