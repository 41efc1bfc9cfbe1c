#include "render/RenderStateDesc.h"

namespace orvane {

RenderStateDesc DefaultRenderStateDesc() {
  RenderStateDesc desc;
  desc.flags = kStateDepthTest | kStateDepthWrite | kStateCullBack;
  desc.depthComparison = kCompareLessEqual;
  desc.stencilReadMask = 0xFF;
  desc.stencilWriteMask = 0xFF;
  desc.front.comparison = kCompareNever;
  desc.back.comparison = kCompareNever;
  return desc;
}

BlendEquation DecodeBlendWord(uint16_t word) {
  return {static_cast<uint8_t>(word & 0x3Fu), static_cast<uint8_t>((word >> 6) & 0x3Fu),
          static_cast<uint8_t>((word >> 12) & 0xFu)};
}

std::array<TargetBlend, 4> ResolveBlend(const RenderStateDesc& desc) {
  constexpr uint16_t kColorDefault = BlendWord(kBlendOne, kBlendZero, kBlendOpAdd);
  constexpr uint16_t kAlphaDefault = BlendWord(kBlendOne, kBlendOne, kBlendOpAdd);
  const bool independent = (desc.flags & kStateIndependentBlend) != 0;
  std::array<TargetBlend, 4> targets{};
  for (size_t i = 0; i < targets.size(); ++i) {
    const size_t source = independent ? i : 0;
    const uint16_t colorWord = desc.colorBlend[source];
    const uint16_t alphaWord = desc.alphaBlend[source];
    TargetBlend& t = targets[i];
    t.writeMask = static_cast<uint8_t>((desc.writeDisable[source] ^ 0xFu) & 0xFu);
    if (colorWord == 0 && alphaWord == 0) continue;
    t.enabled = true;
    t.color = DecodeBlendWord(colorWord ? colorWord : kColorDefault);
    t.alpha = DecodeBlendWord(alphaWord ? alphaWord : kAlphaDefault);
    t.alpha.operation = t.color.operation;
  }
  return targets;
}

}  // namespace orvane
