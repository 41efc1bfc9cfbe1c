#pragma once
// What every full-screen image pass shares: the region constants that map the viewport into the
// screen-sized source images, the standard and clamped samplers, the destination binding (cleared
// to transparent black) and the draw of the covering triangle between debug labels.

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "render/SamplerDesc.h"
#include "render/TargetSet.h"
#include "resources/ShaderEntries.h"
#include "scene/ViewportRegion.h"

namespace orvane {

class Adapter;
class ShaderPass;
class Screen;
struct GpuResource;
struct RenderStateDesc;

// Linear filtering, wrapping on every axis.
SamplerDesc StandardSamplerDesc();
// The same, clamped on every axis.
SamplerDesc ClampedSamplerDesc();
// The standard one with point filtering: images of the destination's size read texel for texel.
SamplerDesc PointSamplerDesc();

// Prints "LoadShader <name>" and loads the pass from the shader files; `state` (may be null)
// becomes the pass's own render state. A stage that is missing leaves the pass without it.
ShaderPass* LoadFullScreenPass(Adapter* adapter, const char* name, const ShaderEntries& entries,
                               const RenderStateDesc* state);

struct NamedConstant {
  std::string_view name;
  const void* value;
};
// One update of constant buffer 0; a pass without it (its shader did not load) is left alone.
void WriteConstants(ShaderPass& pass, std::initializer_list<NamedConstant> constants);

// The destination as the only colour target within the viewport, cleared to transparent black.
TargetSet FullScreenTargets(GpuResource* destination, const TargetRect& viewport);

// Binds the destination (cleared), draws `vertexCount` vertices of the covering triangle strip
// with the pass and unbinds textures and targets, inside the debug label when one is given.
// Without a destination nothing is drawn: the window's own framebuffer is never a pass target.
void DrawFullScreenPass(Adapter& adapter, ShaderPass& pass, GpuResource* destination,
                        const TargetRect& viewport, const char* label, uint32_t vertexCount = 3);

// Draws the covering triangle with the pass over the whole of `image`, which keeps what it holds
// (nothing is cleared): the compositing passes and image shaders draw into the current image.
void DrawIntoImage(Adapter& adapter, ShaderPass& pass, GpuResource* image);
// The same within a rectangle of the image.
void DrawIntoImage(Adapter& adapter, ShaderPass& pass, GpuResource* image, const TargetRect& rect);

}  // namespace orvane
