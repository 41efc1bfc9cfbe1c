#pragma once
// The index a choice input stands for: its value truncated toward zero. NaN is the first choice
// and values beyond the integers saturate, instead of being undefined.

#include <cmath>
#include <cstdint>
#include <limits>

namespace orvane {

inline int32_t ChoiceIndex(float value) {
  if (std::isnan(value)) return 0;
  constexpr auto kLimit = static_cast<float>(std::numeric_limits<int32_t>::max());
  if (value >= kLimit) return std::numeric_limits<int32_t>::max();
  if (value <= -kLimit) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace orvane
