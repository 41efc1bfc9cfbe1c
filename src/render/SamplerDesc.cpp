#include "render/SamplerDesc.h"

#include <array>

namespace orvane {
namespace {

struct FilterBits {
  bool minLinear, magLinear, mipLinear, anisotropic;
};

constexpr std::array<FilterBits, 9> kFilters = {{
    {false, false, false, false},
    {true, false, false, false},
    {false, true, false, false},
    {true, true, false, false},
    {false, false, true, false},
    {true, false, true, false},
    {false, true, true, false},
    {true, true, true, false},
    {true, true, true, true},
}};
static_assert(kFilters.size() == kFilterAnisotropic + 1);

}  // namespace

bool DecodeSamplerMode(uint32_t mode, SamplerModes& out) {
  const uint32_t filter = mode & 0xFu;
  if (filter >= kFilters.size()) return false;
  out.minLinear = kFilters[filter].minLinear;
  out.magLinear = kFilters[filter].magLinear;
  out.mipLinear = kFilters[filter].mipLinear;
  out.anisotropic = kFilters[filter].anisotropic;
  out.rawColor = (mode & kSamplerRawColor) != 0;
  for (int axis = 0; axis < 3; ++axis) {
    out.address[axis] = (mode >> (16 + 4 * axis)) & 0xFu;
    if (out.address[axis] > kAddressMirrorOnce) return false;
  }
  return true;
}

SamplerDesc MakeSamplerDesc(uint32_t filter, uint32_t address) {
  SamplerDesc desc;
  desc.mode = SamplerMode(filter, address, address, address);
  desc.minLod = -1e-37f;
  desc.maxLod = 1e37f;
  desc.maxAnisotropy = 8;
  return desc;
}

}  // namespace orvane
