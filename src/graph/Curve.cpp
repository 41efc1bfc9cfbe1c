#include "graph/Curve.h"

#include <algorithm>
#include <cmath>

#include "document/DataAccessor.h"

namespace orvane {
namespace {

// Whether the integer part of q is odd. Safe for any float: values that do not fit an integer
// type are whole and even beyond 2^24, and infinities and NaN count as even.
bool IntegerPartIsOdd(float q) {
  if (!std::isfinite(q)) return false;
  return std::fmod(std::trunc(q), 2.0f) != 0.0f;
}

// Applies an extrapolation rule to a time outside [a, b]. Returns false with `result` set when the
// rule gives a value directly; otherwise moves `x` into the keyed range (or leaves it).
bool Extrapolate(int32_t rule, bool afterEnd, const Curve& curve, float& x, float& result) {
  const float a = curve.keys.front().time;
  const float b = curve.keys.back().time;
  const float d = b - a;
  const float origin = afterEnd ? a : b;
  switch (rule) {
    case kExtrapolateZero: result = 0.0f; return false;
    case kExtrapolateHold: result = afterEnd ? curve.keys.back().value : curve.keys.front().value; return false;
    case kExtrapolateRepeat: x = std::fmod(x - origin, d) + origin; return true;
    case kExtrapolateMirror: {
      const bool odd = IntegerPartIsOdd(std::fabs((x - origin) / d));
      x = std::fmod(x - origin, d) + origin;
      if (odd) x = b - (x - a);
      return true;
    }
    default: return true;  // the time is used unchanged
  }
}

// Index of the last key whose time is <= x (0 when none is).
size_t FindSegmentStart(const std::vector<Key>& keys, float x) {
  int64_t lo = -1;
  int64_t hi = static_cast<int64_t>(keys.size()) - 1;
  while (lo < hi) {
    const int64_t mid = (lo + hi + 1) / 2;
    if (keys[static_cast<size_t>(mid)].time > x) {
      hi = mid - 1;
    } else {
      lo = mid;
    }
  }
  return static_cast<size_t>(std::max<int64_t>(lo, 0));
}

struct Cubic {
  float q3, q2, q1, c0;
  Cubic(float c0_, float c1, float c2, float c3) : c0(c0_) {
    q1 = 3.0f * (c1 - c0_);
    q2 = 3.0f * (c2 - c1) - q1;
    q3 = c3 - c0_ - q1 - q2;
  }
  float operator()(float s) const { return ((q3 * s + q2) * s + q1) * s + c0; }
};

float EvaluateBezier(const Key& from, const Key& to, float x) {
  const Cubic timeAt(from.time, from.time + from.cp2X, to.time + to.cp1X, to.time);
  const Cubic valueAt(from.value, from.value + from.cp2Y, to.value + to.cp1Y, to.value);
  float lo = 0.0f;
  float hi = 1.0f;
  float s = lo + (hi - lo) * 0.5f;
  for (int step = 0; step < Curve::kMaxBezierSteps && std::fabs(x - timeAt(s)) > 0.0001f; ++step) {
    if (timeAt(s) > x) {
      hi = s;
    } else {
      lo = s;
    }
    s = lo + (hi - lo) * 0.5f;
  }
  return valueAt(s);
}

float EvaluateHermite(const Key& from, const Key& to, float u) {
  const float u2 = u * u;
  const float u3 = u2 * u;
  const float h01 = 3.0f * u2 - 2.0f * u3;
  const float h00 = 1.0f - h01;
  const float h10 = u3 - 2.0f * u2 + u;
  const float h11 = u3 - u2;
  return h00 * from.value + h01 * to.value + h10 * from.cp2Y - h11 * to.cp1Y;
}

}  // namespace

float Curve::Evaluate(float x) const {
  const float a = keys.front().time;
  const float b = keys.back().time;
  float result = 0.0f;
  if (x > b) {
    if (!Extrapolate(after, true, *this, x, result)) return result;
  } else if (x < a) {
    if (!Extrapolate(before, false, *this, x, result)) return result;
  }

  const size_t f = FindSegmentStart(keys, x);
  const Key& from = keys[f];
  if (from.time > x) return from.value;
  const size_t g = std::min(f + 1, keys.size() - 1);
  if (g == f) return from.value;
  const Key& to = keys[g];
  const float u = (x - from.time) / (to.time - from.time);
  switch (to.shape) {
    case kShapeLinear: return from.value + (to.value - from.value) * u;
    case kShapeBezier: return EvaluateBezier(from, to, x);
    case kShapeHermite: return EvaluateHermite(from, to, u);
    case kShapeStep: return from.value;
    default: return 0.0f;
  }
}

void Curve::SetKey(float time, float value) {
  bool matched = false;
  for (Key& key : keys) {
    if (std::fabs(key.time - time) <= 0.1f) {
      key.value = value;
      matched = true;
    }
  }
  if (matched) return;
  keys.push_back(Key{time, value, kShapeLinear, -1.0f, 0.0f, 1.0f, 0.0f});
  std::sort(keys.begin(), keys.end(), [](const Key& l, const Key& r) { return l.time < r.time; });
}

void Curve::Read(const DataAccessor& track) {
  track.ReadInt("before", before);
  track.ReadInt("after", after);
  keys.assign(static_cast<size_t>(track.CountList("key")), Key{});
  for (size_t i = 0; i < keys.size(); ++i) {
    const DataAccessor entry = track.Child("key", static_cast<int32_t>(i));
    Key& key = keys[i];
    entry.ReadFloat("time", key.time, 0.0f);
    entry.ReadFloat("value", key.value, 0.0f);
    entry.ReadInt("shape", key.shape);
    entry.ReadFloat("cp1_x", key.cp1X, 0.0f);
    entry.ReadFloat("cp1_y", key.cp1Y, 0.0f);
    entry.ReadFloat("cp2_x", key.cp2X, 0.0f);
    entry.ReadFloat("cp2_y", key.cp2Y, 0.0f);
  }
}

}  // namespace orvane
