#pragma once
// The 56-byte record that describes rasterizer, depth-stencil and blend state. It is hashed as
// a whole to find the cached RenderState, so unused bytes must stay zero. Blend factors,
// operations, comparisons and stencil operations keep Direct3D's numbering, in which the
// records are written throughout the system.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane {

enum : uint32_t {
  kStateDepthTest = 1u << 0,
  kStateDepthWrite = 1u << 1,
  kStateStencil = 1u << 2,
  kStateCullBack = 0x10u,
  kStateCullFront = 0x20u,
  kStateCullMask = 0x30u,
  kStateScissor = 1u << 6,
  kStateMultisample = 1u << 7,
  kStateAntialiasedLines = 1u << 8,
  kStateIndependentBlend = 1u << 9,
  kStateAlphaToCoverage = 1u << 10,
  kStateWireframe = 1u << 12,
};

// Comparison functions 1-8: never, less, equal, less-equal, greater, not-equal, greater-equal,
// always.
enum : uint8_t { kCompareNever = 1, kCompareLess, kCompareEqual, kCompareLessEqual, kCompareGreater,
                 kCompareNotEqual, kCompareGreaterEqual, kCompareAlways };
// Stencil operations 1-8: keep, zero, replace, increment-saturate, decrement-saturate, invert,
// increment, decrement.
enum : uint8_t { kStencilKeep = 1, kStencilZero, kStencilReplace, kStencilIncrSat, kStencilDecrSat,
                 kStencilInvert, kStencilIncr, kStencilDecr };
// Blend factors 1-19 (12 and 13 unused) and operations 1-5.
enum : uint8_t { kBlendZero = 1, kBlendOne, kBlendSrcColor, kBlendInvSrcColor, kBlendSrcAlpha,
                 kBlendInvSrcAlpha, kBlendDestAlpha, kBlendInvDestAlpha, kBlendDestColor,
                 kBlendInvDestColor, kBlendSrcAlphaSat, kBlendFactor = 14, kBlendInvFactor,
                 kBlendSrc1Color, kBlendInvSrc1Color, kBlendSrc1Alpha, kBlendInvSrc1Alpha };
enum : uint8_t { kBlendOpAdd = 1, kBlendOpSubtract, kBlendOpRevSubtract, kBlendOpMin, kBlendOpMax };

// A blend word: source factor bits 0-5, destination factor bits 6-11, operation bits 12-15.
constexpr uint16_t BlendWord(uint8_t source, uint8_t destination, uint8_t operation) {
  return static_cast<uint16_t>(source | (destination << 6) | (operation << 12));
}

struct StencilFace {
  uint8_t failOp = 0;
  uint8_t depthFailOp = 0;
  uint8_t passOp = 0;
  uint8_t comparison = 0;
};

struct RenderStateDesc {
  uint32_t flags = 0;
  int32_t depthComparison = 0;
  uint16_t colorBlend[4] = {};
  uint16_t alphaBlend[4] = {};
  uint8_t writeDisable[4] = {};  // bit set = channel (R 1, G 2, B 4, A 8) not written
  uint8_t zero0[4] = {};
  uint8_t stencilReadMask = 0;
  uint8_t stencilWriteMask = 0;
  uint8_t stencilReference = 0;
  StencilFace front;
  StencilFace back;
  uint8_t zero1 = 0;
  int32_t depthBias = 0;
  float slopeScaledDepthBias = 0.0f;
  float depthBiasClamp = 0.0f;
};
static_assert(sizeof(RenderStateDesc) == 56);
static_assert(offsetof(RenderStateDesc, colorBlend) == 8);
static_assert(offsetof(RenderStateDesc, writeDisable) == 24);
static_assert(offsetof(RenderStateDesc, stencilReadMask) == 32);
static_assert(offsetof(RenderStateDesc, front) == 35);
static_assert(offsetof(RenderStateDesc, back) == 39);
static_assert(offsetof(RenderStateDesc, depthBias) == 44);
static_assert(offsetof(RenderStateDesc, depthBiasClamp) == 52);

// Depth test and write, back faces culled, less-or-equal, no blending, stencil off with masks
// 0xFF and both stencil comparisons "never".
RenderStateDesc DefaultRenderStateDesc();

struct BlendEquation {
  uint8_t source = kBlendOne;
  uint8_t destination = kBlendZero;
  uint8_t operation = kBlendOpAdd;
  bool operator==(const BlendEquation&) const = default;
};

BlendEquation DecodeBlendWord(uint16_t word);

// What one colour target does, blend words settled.
struct TargetBlend {
  bool enabled = false;
  BlendEquation color;
  BlendEquation alpha;
  uint8_t writeMask = 0xF;  // bit set = channel written
  bool operator==(const TargetBlend&) const = default;
};

// Blend of the four colour targets. Without independent blending target 0's words apply to all.
// Both words 0: blending off. Otherwise a colour word 0 means one/zero/add, an alpha word 0
// one/one/add, and the alpha operation is the colour word's.
std::array<TargetBlend, 4> ResolveBlend(const RenderStateDesc& desc);

}  // namespace orvane
