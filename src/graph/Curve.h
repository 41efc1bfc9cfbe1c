#pragma once
// Keyframe curves over time: linear, bezier, hermite and step segments, with extrapolation rules
// before the first and after the last key.

#include <cstdint>
#include <vector>

namespace orvane {

class DataAccessor;

enum KeyShape : int32_t { kShapeLinear = 0, kShapeBezier = 1, kShapeHermite = 2, kShapeStep = 3 };

enum Extrapolation : int32_t {
  kExtrapolateZero = 0,
  kExtrapolateHold = 1,
  kExtrapolateRepeat = 2,
  kExtrapolateMirror = 3,
};

struct Key {
  float time = 0.0f;
  float value = 0.0f;
  int32_t shape = kShapeLinear;  // shape of the segment that ends at this key
  float cp1X = 0.0f, cp1Y = 0.0f;  // incoming handle, relative to (time, value)
  float cp2X = 0.0f, cp2Y = 0.0f;  // outgoing handle, relative to (time, value)
};

struct Curve {
  // Bisection steps for the time of a bezier segment; float precision is exhausted long before.
  static constexpr int kMaxBezierSteps = 64;

  std::vector<Key> keys;  // expected in ascending time order; used as they are
  int32_t before = kExtrapolateHold;
  int32_t after = kExtrapolateHold;

  // The curve's value at time x; needs at least one key.
  float Evaluate(float x) const;
  // Sets every key within 0.1 of `time` to `value`, or inserts a linear key there.
  void SetKey(float time, float value);
  // Reads "before", "after" and the "key" list of a track node.
  void Read(const DataAccessor& track);
};

}  // namespace orvane
