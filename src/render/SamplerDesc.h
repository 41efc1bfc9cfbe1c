#pragma once
// The 36-byte record that describes a sampler; hashed as a whole to find the cached Sampler.

#include <cstddef>
#include <cstdint>

namespace orvane {

// Filter index (mode bits 0-3): which of minification, magnification and mip selection are
// linear. 8 is anisotropic.
enum : uint32_t { kFilterPoint = 0, kFilterMinLinear, kFilterMagLinear, kFilterMinMagLinear,
                  kFilterMipLinear, kFilterMinMipLinear, kFilterMagMipLinear, kFilterLinear,
                  kFilterAnisotropic };
// Address index (mode bits 16-19 U, 20-23 V, 24-27 W).
enum : uint32_t {
  kAddressWrap = 0,
  kAddressClamp,
  kAddressBorder,
  kAddressMirror,
  kAddressMirrorOnce
};

// Mode bit 28: sRGB textures are read as stored, without decoding to linear light; for data
// (roughness, metalness) that may come from an sRGB colour file.
enum : uint32_t { kSamplerRawColor = 1u << 28 };

constexpr uint32_t SamplerMode(uint32_t filter, uint32_t u, uint32_t v, uint32_t w) {
  return filter | (u << 16) | (v << 20) | (w << 24);
}

struct SamplerDesc {
  uint32_t mode = 0;
  uint32_t zero = 0;
  float minLod = 0.0f;
  float maxLod = 0.0f;
  uint32_t maxAnisotropy = 0;
  float borderColor[4] = {};
};
static_assert(sizeof(SamplerDesc) == 36);
static_assert(offsetof(SamplerDesc, borderColor) == 20);

struct SamplerModes {
  bool minLinear = false;
  bool magLinear = false;
  bool mipLinear = false;
  bool anisotropic = false;
  bool rawColor = false;  // kSamplerRawColor
  uint32_t address[3] = {};  // U, V, W address indices
};

// A sampler with one filter index and one address mode on all three axes, the LOD range open
// (-1e-37 to 1e37), anisotropy 8 and a zero border: the samplers the scene and image passes use.
SamplerDesc MakeSamplerDesc(uint32_t filter, uint32_t address);

// Splits the mode word; filter and address indices out of range are reported by the caller as
// invalid (returns false).
bool DecodeSamplerMode(uint32_t mode, SamplerModes& out);

}  // namespace orvane
