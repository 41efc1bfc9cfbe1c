#include "graph/Curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/Player.h"
#include "document/DataAccessor.h"
#include "graph/CurveFunction.h"
#include "graph/Port.h"
#include "support/DocumentText.h"

namespace orvane {
namespace {

Key Linear(float time, float value) { return Key{time, value, kShapeLinear, 0, 0, 0, 0}; }
Key Shaped(float time, float value, int32_t shape) { return Key{time, value, shape, 0, 0, 0, 0}; }

Curve MakeCurve(std::vector<Key> keys, int32_t before, int32_t after) {
  Curve curve;
  curve.keys = std::move(keys);
  curve.before = before;
  curve.after = after;
  return curve;
}

struct CurveCase {
  const char* what;
  Curve curve;
  float time;
  float expected;
};

TEST(Curve, SegmentsAndExtrapolation) {
  const std::vector<Key> ramp{Linear(0, 0), Linear(1, 10)};
  const std::vector<Key> later{Linear(2, 0), Linear(4, 10)};
  const CurveCase cases[] = {
      {"linear inside", MakeCurve(ramp, 1, 1), 0.25f, 2.5f},
      {"exactly on the first key", MakeCurve(ramp, 1, 1), 0.0f, 0.0f},
      {"exactly on the last key", MakeCurve(ramp, 1, 1), 1.0f, 10.0f},
      {"after: zero", MakeCurve(ramp, 1, 0), 1.5f, 0.0f},
      {"after: hold", MakeCurve(ramp, 1, 1), 7.0f, 10.0f},
      {"after: repeat", MakeCurve(ramp, 1, 2), 1.25f, 2.5f},
      {"after: mirror, odd pass", MakeCurve(ramp, 1, 3), 1.25f, 7.5f},
      {"after: mirror, even pass", MakeCurve(ramp, 1, 3), 2.25f, 2.5f},
      {"after: unknown rule clamps", MakeCurve(ramp, 1, 9), 3.0f, 10.0f},
      {"before: zero", MakeCurve(later, 0, 1), 1.0f, 0.0f},
      {"before: hold", MakeCurve({Linear(2, 5), Linear(4, 10)}, 1, 1), -3.0f, 5.0f},
      {"before: repeat", MakeCurve(later, 2, 1), 1.5f, 7.5f},
      {"before: mirror", MakeCurve(later, 3, 1), 1.5f, 2.5f},
      {"before: unknown rule clamps", MakeCurve({Linear(2, 5), Linear(4, 10)}, -4, 1), 0.0f, 5.0f},
      {"step", MakeCurve({Linear(0, 1), Shaped(1, 5, kShapeStep)}, 1, 1), 0.99f, 1.0f},
      {"step at its end key", MakeCurve({Linear(0, 1), Shaped(1, 5, kShapeStep)}, 1, 1), 1.0f, 5.0f},
      {"unknown shape", MakeCurve({Linear(0, 1), Shaped(1, 5, 7)}, 1, 1), 0.5f, 0.0f},
      {"hermite, flat tangents", MakeCurve({Linear(0, 0), Shaped(1, 1, kShapeHermite)}, 1, 1), 0.25f, 0.15625f},
      {"hermite on a key", MakeCurve({Linear(0, 2), Shaped(1, 1, kShapeHermite)}, 1, 1), 0.0f, 2.0f},
      {"three keys, second segment", MakeCurve({Linear(0, 0), Linear(1, 10), Linear(3, 30)}, 1, 1), 2.0f, 20.0f},
  };
  for (const CurveCase& c : cases) EXPECT_NEAR(c.curve.Evaluate(c.time), c.expected, 1e-5f) << c.what;
}

TEST(Curve, HermiteHandlesAreTangentsNotScaledByTheSegment) {
  Key from = Linear(0, 0);
  from.cp2Y = 2.0f;
  Key to = Shaped(10, 0, kShapeHermite);
  to.cp1Y = 1.0f;
  const Curve curve = MakeCurve({from, to}, 1, 1);
  // u = 0.5: h10 = 0.125, h11 = -0.125: 0.125 * 2 + 0.125 * 1.
  EXPECT_NEAR(curve.Evaluate(5.0f), 0.375f, 1e-6f);
}

TEST(Curve, BezierWithThirdHandlesIsLinear) {
  Key from = Linear(0, 0);
  from.cp2X = 1.0f / 3.0f;
  from.cp2Y = 10.0f / 3.0f;
  Key to = Shaped(1, 10, kShapeBezier);
  to.cp1X = -1.0f / 3.0f;
  to.cp1Y = -10.0f / 3.0f;
  const Curve curve = MakeCurve({from, to}, 1, 1);
  for (float t : {0.0f, 0.1f, 0.37f, 0.5f, 0.9f, 1.0f}) EXPECT_NEAR(curve.Evaluate(t), 10.0f * t, 2e-3f) << t;
}

TEST(Curve, BezierBisectionEndsWhereFloatsRunOutOfPrecision) {
  // Beyond a few thousand seconds the spacing of floats exceeds the bisection's tolerance.
  Key from = Linear(5000.0f, 0.0f);
  Key to = Shaped(5001.0f, 1.0f, kShapeBezier);
  to.cp1X = -0.5f;
  const Curve curve = MakeCurve({from, to}, 1, 1);
  const float value = curve.Evaluate(5000.3f);
  EXPECT_GE(value, 0.0f);
  EXPECT_LE(value, 1.0f);
}

TEST(Curve, ASingleKeyGivesItsValueForAnyRuleAndTime) {
  for (int32_t rule : {0, 1, 2, 3, 5}) {
    const Curve curve = MakeCurve({Linear(2, 4)}, rule, rule);
    for (float t : {-100.0f, 1.0f, 2.0f, 3.0f, 1e30f}) {
      const float expected = (rule == 0 && t != 2.0f) ? 0.0f : 4.0f;
      EXPECT_EQ(curve.Evaluate(t), expected) << "rule " << rule << " time " << t;
    }
  }
}

TEST(Curve, NonFiniteTimesAndUnsortedKeysGiveSomeValue) {
  const float times[] = {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), 3e38f, -3e38f};
  const Curve curves[] = {
      MakeCurve({Linear(0, 0), Linear(1, 1)}, 3, 3),
      MakeCurve({Linear(0, 0), Linear(1, 1)}, 2, 2),
      MakeCurve({Linear(5, 0), Linear(1, 1), Linear(3, 2)}, 3, 3),  // unsorted, as a document may hold
      MakeCurve({Linear(1, 0), Linear(1, 1)}, 3, 3),                // zero-length range
      MakeCurve({Linear(0, 0), Shaped(1, 1, kShapeBezier)}, 3, 3),
  };
  for (const Curve& curve : curves) {
    for (float t : times) curve.Evaluate(t);  // must not trap; the value is unspecified
  }
}

TEST(Curve, SetKeyChangesNearbyKeysOrInsertsInOrder) {
  Curve curve = MakeCurve({Linear(0, 0), Linear(2, 5)}, 1, 1);
  curve.SetKey(2.05f, 9.0f);
  ASSERT_EQ(curve.keys.size(), 2u);
  EXPECT_EQ(curve.keys[1].value, 9.0f);
  EXPECT_EQ(curve.keys[1].time, 2.0f);

  curve.SetKey(1.0f, 3.0f);
  ASSERT_EQ(curve.keys.size(), 3u);
  const Key& inserted = curve.keys[1];
  EXPECT_EQ(inserted.time, 1.0f);
  EXPECT_EQ(inserted.value, 3.0f);
  EXPECT_EQ(inserted.shape, kShapeLinear);
  EXPECT_EQ(inserted.cp1X, -1.0f);
  EXPECT_EQ(inserted.cp2X, 1.0f);
}

TEST(Curve, ReadsATrackWithZeroDefaults) {
  const auto root = testing::ParseText(
      "track { key { time: 1; value: 2; shape: 2; cp1_x: -1; cp1_y: 0.5; cp2_x: 1; cp2_y: -0.5; }\n"
      "        key[] { value: 3; } key[3] { time: 9; } }");
  Curve curve;
  curve.Read(DataAccessor(root.get()).Child("track"));
  EXPECT_EQ(curve.before, 0);
  EXPECT_EQ(curve.after, 0);
  ASSERT_EQ(curve.keys.size(), 2u);  // index 2 is missing: key 3 is not read
  const Key& first = curve.keys[0];
  EXPECT_EQ(first.time, 1.0f);
  EXPECT_EQ(first.value, 2.0f);
  EXPECT_EQ(first.shape, kShapeHermite);
  EXPECT_EQ(first.cp1X, -1.0f);
  EXPECT_EQ(first.cp1Y, 0.5f);
  EXPECT_EQ(first.cp2X, 1.0f);
  EXPECT_EQ(first.cp2Y, -0.5f);
  EXPECT_EQ(curve.keys[1].time, 0.0f);
  EXPECT_EQ(curve.keys[1].shape, kShapeLinear);
}

TEST(CurveFunction, ConversionKeepsTheValueAndStartsWithoutKeys) {
  Port port;
  port.function = std::make_unique<ValueFunction>(std::make_unique<Float>(4.0f));
  IValue* const value = port.function->GetValue();
  ASSERT_TRUE(ConvertToAnimated(port));
  ASSERT_NE(port.curve, nullptr);
  EXPECT_EQ(port.function.get(), port.curve);
  EXPECT_EQ(port.function->GetValue(), value);
  EXPECT_EQ(port.curve->curve.before, kExtrapolateHold);
  EXPECT_EQ(port.curve->curve.after, kExtrapolateHold);
  EXPECT_TRUE(port.curve->dirty);
  EXPECT_FALSE(ConvertToAnimated(port));  // once only

  // Without keys the input behaves as its constant; with keys it follows the curve and caches it.
  Player player;
  port.Evaluate(3.0f, player);
  EXPECT_EQ(player.scalar, 4.0f);
  port.curve->Assign(player, 1.0f);  // key (1, 4)
  player.scalar = 8.0f;
  port.curve->Assign(player, 3.0f);  // key (3, 8)
  port.Evaluate(2.0f, player);
  EXPECT_EQ(player.scalar, 6.0f);
  EXPECT_EQ(static_cast<Float*>(value)->value, 6.0f);
}

TEST(CurveFunction, ConnectedOrValuelessPortsAreNotConverted) {
  Port source;
  Port connected;
  connected.function = std::make_unique<ValueFunction>(std::make_unique<Float>());
  connected.AppendSource(&source);
  EXPECT_FALSE(ConvertToAnimated(connected));
  Port empty;
  empty.function = std::make_unique<ValueFunction>(nullptr);
  EXPECT_FALSE(ConvertToAnimated(empty));
  Port none;
  EXPECT_FALSE(ConvertToAnimated(none));
}

}  // namespace
}  // namespace orvane
