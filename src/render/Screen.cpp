#include "render/Screen.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>

#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/TargetSet.h"
#include "render/detail/GlState.h"

namespace orvane {

Screen* currentScreen = nullptr;

namespace {

constexpr uint32_t kBackBufferFlags = kResourceTexture | kUsageDefault | kResourceRenderTarget;
constexpr uint32_t kDepthBufferFlags =
    kResourceTexture | kUsageDefault | kResourceDepthStencil | kResourceShaderView;

// Where the back buffer lands in the window: scaled to fit, centred, aspect ratio kept.
struct Letterbox {
  GLint x0, y0, x1, y1;
};

Letterbox FitInto(int32_t width, int32_t height, int32_t windowWidth, int32_t windowHeight) {
  const double scale = std::min(static_cast<double>(windowWidth) / width,
                                static_cast<double>(windowHeight) / height);
  const auto w = static_cast<GLint>(width * scale + 0.5);
  const auto h = static_cast<GLint>(height * scale + 0.5);
  const GLint x = (windowWidth - w) / 2;
  const GLint y = (windowHeight - h) / 2;
  return {x, y, x + w, y + h};
}

}  // namespace

Screen* CreateScreen(SDL_Window* window, const ScreenParams& params) {
  auto* screen = new Screen;
  screen->flags = params.flags;
  screen->width = params.width;
  screen->height = params.height;
  screen->colorFormat = params.colorFormat ? params.colorFormat : kFormatRGBA8;
  screen->depthFormat = params.depthFormat ? params.depthFormat : kFormatDepth24Stencil8;
  screen->window = window;
  if (currentAdapter)
    DebugPrint("Warning: Adapter already created\n");
  else
    currentAdapter = CreateAdapter(window);
  screen->adapter = currentAdapter;
  RequireFormat(screen->colorFormat);
  SDL_GL_SetSwapInterval((params.flags & kScreenVsync) ? 1 : 0);
  screen->CreateTargets();
  if (currentScreen) DebugPrint("Warning: screen already created\n");
  currentScreen = screen;
  return screen;
}

Screen::~Screen() { Destroy(); }

void Screen::CreateTargets() {
  ResourceDesc color;
  color.flags = kBackBufferFlags;
  color.format = colorFormat;
  color.width = static_cast<uint32_t>(width);
  color.height = static_cast<uint32_t>(height);
  backBuffer = CreateResource(adapter, color, nullptr);
  if (!backBuffer) FatalError("Fatal error: %s\n", "Failed to create OpenGL swapchain");
  if (!black_) {
    ResourceDesc texel;
    texel.flags = kResourceTexture | kResourceRenderTarget | kUsageImmutable;
    texel.format = kFormatRGBA8;
    texel.width = texel.height = 1;
    const uint8_t black[4] = {0, 0, 0, 255};
    black_ = CreateResource(adapter, texel, black);
  }
  if (depthFormat == kFormatNone) return;
  ResourceDesc depth = color;
  depth.flags = kDepthBufferFlags;
  depth.format = depthFormat;
  depthBuffer = CreateResource(adapter, depth, nullptr);
  if (!depthBuffer) FatalError("Fatal error: %s\n", "Failed to create OpenGL swapchain");
}

void Screen::ReleaseTargets() {
  DestroyResource(backBuffer);
  DestroyResource(depthBuffer);
  backBuffer = nullptr;
  depthBuffer = nullptr;
}

void Screen::ReleaseBlackTexel() {
  DestroyResource(black_);
  black_ = nullptr;
}

void Screen::Resize(int32_t newWidth, int32_t newHeight) {
  if (newWidth <= 0 || newHeight <= 0) return;
  if (newWidth == width && newHeight == height) return;
  width = newWidth;
  height = newHeight;
  ReleaseTargets();
  for (GpuResource* resource : adapter->resizable)
    ResizeResource(resource, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  CreateTargets();
}

void Screen::Present(const std::function<void()>& overWindow) {
  if (!adapter || !backBuffer) return;
  BlitToWindow();
  if (overWindow) {
    int windowWidth = 0, windowHeight = 0;
    SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    overWindow();
    adapter->drawContext->InvalidateState();  // the overlay changed GL state behind the layer's back
  }
  SDL_GL_SwapWindow(window);
}

void Screen::BlitToWindow() {
  int windowWidth = 0, windowHeight = 0;
  SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
  DrawContext& draw = *adapter->drawContext;
  TargetSet source;
  source.color[0] = backBuffer;
  const GLuint framebuffer = draw.FramebufferOf(source);
  draw.state().PrepareClear();  // a blit is clipped by the scissor rectangle
  if (windowWidth > 0 && windowHeight > 0) {
    // The bars come from a black texel stretched over the window: clears of the window's
    // framebuffer are not honoured by every driver (Mesa's offscreen surfaces ignore them).
    TargetSet blackTexel;
    blackTexel.color[0] = black_;
    glBlitNamedFramebuffer(draw.FramebufferOf(blackTexel), 0, 0, 0, 1, 1, 0, 0, windowWidth,
                           windowHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    const Letterbox box = FitInto(width, height, windowWidth, windowHeight);
    // The window's rows run bottom-up, the back buffer's top-down: the blit turns them over.
    glBlitNamedFramebuffer(framebuffer, 0, 0, 0, width, height, box.x0, box.y1, box.x1, box.y0,
                           GL_COLOR_BUFFER_BIT, GL_LINEAR);
  }
}

std::vector<uint8_t> Screen::ReadWindow(int32_t& windowWidth, int32_t& windowHeight, bool blitFirst) {
  // What a swap leaves in the window's back buffer is undefined; blit again and read that.
  if (blitFirst && adapter && backBuffer) BlitToWindow();
  SDL_GL_GetDrawableSize(window, &windowWidth, &windowHeight);
  const size_t rowBytes = static_cast<size_t>(windowWidth) * 4;
  std::vector<uint8_t> bottomUp(rowBytes * static_cast<size_t>(windowHeight));
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glNamedFramebufferReadBuffer(0, GL_BACK);
  glReadnPixels(0, 0, windowWidth, windowHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                static_cast<GLsizei>(bottomUp.size()), bottomUp.data());
  std::vector<uint8_t> topDown(bottomUp.size());
  for (int32_t y = 0; y < windowHeight; ++y)
    std::copy_n(bottomUp.data() + rowBytes * static_cast<size_t>(windowHeight - 1 - y), rowBytes,
                topDown.data() + rowBytes * static_cast<size_t>(y));
  return topDown;
}

void Screen::Destroy() {
  if (!adapter) return;
  ReleaseTargets();
  ReleaseBlackTexel();
  if (currentAdapter == adapter) currentAdapter = nullptr;
  DestroyAdapter(adapter);
  adapter = nullptr;
}

}  // namespace orvane
