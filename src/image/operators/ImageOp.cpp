#include "image/operators/ImageOp.h"

#include <cmath>
#include <limits>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/FullScreenPass.h"
#include "render/Adapter.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/Screen.h"

namespace orvane {
namespace {
const OperatorRegistration<ImageOp> kRegistration{
    "Image", "Renders its scene into an image of its own, cleared first when Clear is on."};
enum Input : size_t { kImageIn, kClearR, kClearG, kClearB, kClearA, kClear, kSizeX, kSizeY };

// Truncates toward zero; non-finite and out-of-range sizes saturate (NaN is 0) instead of being
// undefined.
int32_t TruncateSize(float size) {
  if (std::isnan(size)) return 0;
  constexpr auto kMax = static_cast<float>(std::numeric_limits<int32_t>::max());
  if (size >= kMax) return std::numeric_limits<int32_t>::max();
  if (size <= -kMax) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(size);
}

// Exactly the same size; a NaN size stays the same too, so it is not remade every frame.
bool SameSize(float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); }

GpuResource* CreateImageTarget(Adapter* adapter, const Screen* screen, float width, float height) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA16F;
  if (width == 0.0f || height == 0.0f) {
    if (screen == nullptr) return nullptr;
    desc.width = static_cast<uint32_t>(screen->width);
    desc.height = static_cast<uint32_t>(screen->height);
    desc.options = kOptionFollowWindow;
  } else {
    desc.width = static_cast<uint32_t>(TruncateSize(width));
    desc.height = static_cast<uint32_t>(TruncateSize(height));
  }
  return CreateResource(adapter, desc, nullptr);
}

}  // namespace

ImageOp::ImageOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortScene);
  AddFloatInput("Clear.R", 0.0f);
  AddFloatInput("Clear.G", 0.0f);
  AddFloatInput("Clear.B", 0.0f);
  AddFloatInput("Clear.A", 0.0f);
  AddFloatInput("Clear", 1.0f, kHintToggle);
  AddFloatInput("Size.X", 0.0f);
  AddFloatInput("Size.Y", 0.0f);
  AddOutput("ImageOut", kPortImage, std::make_unique<ImageFunction>());
}

ImageOp::ImageFunction::~ImageFunction() {
  if (target) DestroyResource(target);
}

void ImageOp::ImageFunction::FitTarget(float width, float height) {
  // A size that gave no target is not tried again every frame.
  if (fitted_ && SameSize(width, lastWidth) && SameSize(height, lastHeight)) return;
  Adapter* adapter = currentScreen ? currentScreen->adapter : currentAdapter;
  if (adapter == nullptr) return;
  GpuResource* fresh = CreateImageTarget(adapter, currentScreen, width, height);
  if (target) DestroyResource(target);
  target = fresh;
  lastWidth = width;
  lastHeight = height;
  fitted_ = true;
}

void ImageOp::ImageFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const float width = EvaluateFloat(sources, kSizeX, time, player);
  const float height = EvaluateFloat(sources, kSizeY, time, player);
  FitTarget(width, height);

  float clearColor[4];
  for (size_t channel = 0; channel < 4; ++channel) {
    clearColor[channel] = EvaluateFloat(sources, kClearR + channel, time, player);
  }
  const bool clear = EvaluateFloat(sources, kClear, time, player) > 0.5f;

  const TargetRect savedViewport = player.rect;
  if (TruncateSize(width) != 0 || TruncateSize(height) != 0) {
    player.rect = {0, 0, TruncateSize(width), TruncateSize(height)};
  }
  if (clear && target && currentAdapter && currentAdapter->drawContext) {
    TargetSet targets = FullScreenTargets(target, player.rect);
    for (size_t channel = 0; channel < 4; ++channel) targets.clearColor[channel] = clearColor[channel];
    currentAdapter->drawContext->SetTargets(targets);
    currentAdapter->drawContext->UnbindTargets();
  }

  player.image = target;
  if (kImageIn < sources.size() && sources[kImageIn]) sources[kImageIn]->Evaluate(time, player);
  player.rect = savedViewport;
}

}  // namespace orvane
