#include "scene/InputNumbers.h"

#include <cmath>

namespace orvane {
namespace {
// The largest float below 2^31, and -2^31: both convert to int32 exactly.
constexpr float kIntLimit = 2147483520.0f;
constexpr float kIntFloor = -2147483648.0f;
}  // namespace

int32_t TruncatedCount(float value, int32_t limit) {
  if (!(value >= 1.0f)) return 0;  // NaN, negative, below one
  if (value >= static_cast<float>(limit)) return limit;
  return static_cast<int32_t>(value);
}

int32_t ChoiceOf(float value) {
  if (!(value >= kIntFloor && value <= kIntLimit)) return -1;
  return static_cast<int32_t>(value);
}

int32_t TruncatedInt(float value) {
  if (std::isnan(value)) return 0;
  if (value <= kIntFloor) return INT32_MIN;
  if (value >= kIntLimit) return static_cast<int32_t>(kIntLimit);
  return static_cast<int32_t>(value);
}

}  // namespace orvane
