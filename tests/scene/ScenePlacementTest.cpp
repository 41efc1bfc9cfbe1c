// The placement and viewing maths of the scene operators: Euler rotations, placement under a
// parent, the camera frame and its perspective, and what degenerate inputs give.

#include "scene/ScenePlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

Vector4 Point(float x, float y, float z) { return {x, y, z, 1.0f}; }
Vector4 Direction(float x, float y, float z) { return {x, y, z, 0.0f}; }

void ExpectNear(const Vector4& actual, const Vector4& expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
  EXPECT_NEAR(actual.w, expected.w, tolerance);
}

Vector4 Row(const Matrix& m, int row) { return {m.m[row][0], m.m[row][1], m.m[row][2], m.m[row][3]}; }

float Dot(const Vector4& a, const Vector4& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector4 Cross(const Vector4& a, const Vector4& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f};
}

TEST(EulerRotation, RotatesAboutXThenYThenZInDegrees) {
  struct Case {
    Vector4 degrees, point, expected;
  };
  const Case cases[] = {
      {{90, 0, 0}, Point(0, 1, 0), Point(0, 0, 1)},
      {{0, 90, 0}, Point(1, 0, 0), Point(0, 0, -1)},
      {{0, 90, 0}, Point(0, 0, 1), Point(1, 0, 0)},
      {{0, 0, 90}, Point(1, 0, 0), Point(0, 1, 0)},
      // X first: (0, 1, 0) turns to (0, 0, 1), which Y then turns to (1, 0, 0). Y first would
      // leave it on the Y axis and X would give (0, 0, 1).
      {{90, 90, 0}, Point(0, 1, 0), Point(1, 0, 0)},
      // Y first: (0, 0, 1) to (1, 0, 0), which Z turns to (0, 1, 0).
      {{0, 90, 90}, Point(0, 0, 1), Point(0, 1, 0)},
      {{0, 0, 180}, Point(2, 3, 4), Point(-2, -3, 4)},
      {{360, -360, 720}, Point(2, 3, 4), Point(2, 3, 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.degrees.x << ", " << c.degrees.y << ", " << c.degrees.z);
    ExpectNear(Transform(c.point, EulerRotation(c.degrees)), c.expected, 1e-5f);
  }
}

TEST(EulerRotation, IsAProperRotationForAnyAngles) {
  const Matrix r = EulerRotation({33, -71, 140});
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(Dot(Row(r, i), Row(r, i)), 1.0f, 1e-5f);
    EXPECT_NEAR(Dot(Row(r, i), Row(r, (i + 1) % 3)), 0.0f, 1e-5f);
  }
  ExpectNear(Cross(Row(r, 0), Row(r, 1)), Row(r, 2), 1e-5f);
  ExpectNear(Row(r, 3), {0, 0, 0, 1});
}

TEST(PlaceUnder, ScalesThenRotatesThenTranslatesInTheParentsFrame) {
  // (1, 0, 0) scaled by 2 along X, turned 90 degrees about Z onto (0, 2, 0), moved by (1, 2, 3).
  const Matrix placed = PlaceUnder(Identity(), {1, 2, 3, 0}, {0, 0, 90, 0}, {2, 1, 1, 0});
  ExpectNear(Transform(Point(1, 0, 0), placed), Point(1, 4, 3));

  // A child's translation is taken in its parent's scaled and rotated frame.
  const Matrix outer = PlaceUnder(Identity(), {10, 0, 0, 0}, {0, 90, 0, 0}, {2, 2, 2, 0});
  const Matrix inner = PlaceUnder(outer, {1, 0, 0, 0}, {}, {1, 1, 1, 0});
  ExpectNear(Transform(Point(0, 0, 0), inner), Point(10, 0, -2));
  ExpectNear(Transform(Point(0, 1, 0), inner), Point(10, 2, -2));
}

TEST(PlaceUnder, WhatIsNotFiniteCollapsesToTheParentsOrigin) {
  const Matrix parent = PlaceUnder(Identity(), {5, 6, 7, 0}, {0, 30, 0, 0}, {1e30f, 1e30f, 1e30f, 0});
  ASSERT_TRUE(IsFinite(parent));
  struct Case {
    const char* what;
    Vector4 translation, degrees, scale;
  };
  const Case cases[] = {
      {"NaN position", {kNaN, 0, 0, 0}, {}, {1, 1, 1, 0}},
      {"infinite rotation", {}, {0, kInf, 0, 0}, {1, 1, 1, 0}},
      {"NaN scale", {}, {}, {1, kNaN, 1, 0}},
      {"product beyond float range", {}, {}, {1e30f, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Matrix placed = PlaceUnder(parent, c.translation, c.degrees, c.scale);
    EXPECT_TRUE(IsFinite(placed));
    for (int row = 0; row < 3; ++row) ExpectNear(Row(placed, row), {});
    ExpectNear(Row(placed, 3), Point(5, 6, 7));
  }
  Matrix brokenParent = Identity();
  brokenParent.m[3][1] = kNaN;
  const Matrix placed = PlaceUnder(brokenParent, {}, {}, {1, 1, 1, 0});
  EXPECT_TRUE(IsFinite(placed));
  ExpectNear(Row(placed, 3), Point(0, 0, 0));
}

TEST(LookAlongFrame, TheDefaultCameraLooksFromFourFourFourAtTheOrigin) {
  const auto frame = LookAlongFrame(Point(4, 4, 4), Direction(-1, -1, -1));
  ASSERT_TRUE(frame.has_value());
  const float k = 1.0f / std::sqrt(3.0f);
  ExpectNear(Row(*frame, 2), Direction(-k, -k, -k));
  ExpectNear(Row(*frame, 3), Direction(4, 4, 4));  // the eye, with w 0
  EXPECT_NEAR(Row(*frame, 0).y, 0.0f, 1e-6f);      // no roll: right stays horizontal
  EXPECT_GT(Row(*frame, 1).y, 0.0f);               // up points up
  // In view space the origin lies straight ahead, at the eye's distance.
  ExpectNear(Transform(Point(0, 0, 0), RigidInverse(*frame)), Point(0, 0, std::sqrt(48.0f)), 1e-4f);
}

TEST(LookAlongFrame, EveryUsableDirectionGivesAnOrthonormalLeftHandedFrame) {
  const Vector4 directions[] = {Direction(0, 0, 1),    Direction(3, 0, 0),       Direction(0, -1, 0),
                                Direction(0, 5, 0),    Direction(1e-30f, 0, 1e-30f), Direction(1e30f, 2e30f, -1e30f),
                                Direction(0, -1, 1e-7f)};
  for (const Vector4& d : directions) {
    SCOPED_TRACE(::testing::Message() << d.x << ", " << d.y << ", " << d.z);
    const auto frame = LookAlongFrame(Point(1, 2, 3), d);
    ASSERT_TRUE(frame.has_value());
    ASSERT_TRUE(IsFinite(*frame));
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(Dot(Row(*frame, i), Row(*frame, i)), 1.0f, 1e-5f);
      EXPECT_NEAR(Dot(Row(*frame, i), Row(*frame, (i + 1) % 3)), 0.0f, 1e-5f);
    }
    ExpectNear(Cross(Row(*frame, 0), Row(*frame, 1)), Row(*frame, 2), 1e-5f);
    EXPECT_GT(Dot(Row(*frame, 2), d), 0.0f);  // forward follows the direction
  }
  // Straight down, +Z is up on the screen.
  ExpectNear(Row(*LookAlongFrame(Point(0, 0, 0), Direction(0, -1, 0)), 1), Direction(0, 0, 1));
}

TEST(LookAlongFrame, GivesNoFrameForAZeroOrNonFiniteDirectionOrEye) {
  const std::pair<Vector4, Vector4> cases[] = {
      {Point(0, 0, 0), Direction(0, 0, 0)},    {Point(0, 0, 0), Direction(kNaN, 0, 1)},
      {Point(0, 0, 0), Direction(kInf, 0, 0)}, {Point(kNaN, 0, 0), Direction(0, 0, 1)},
      {Point(0, -kInf, 0), Direction(0, 0, 1)},
  };
  for (const auto& [eye, direction] : cases) EXPECT_FALSE(LookAlongFrame(eye, direction).has_value());
}

TEST(PerspectiveProjection, MapsTheFieldOfViewAndTheDepthRange) {
  const auto p = PerspectiveProjection(45.0f, 2.0f, 0.5f, 100.0f);
  ASSERT_TRUE(p.has_value());
  const float f = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
  EXPECT_NEAR(p->m[1][1], f, 1e-5f);
  EXPECT_NEAR(p->m[0][0], f / 2.0f, 1e-5f);
  // The top edge of the view at distance 10 maps to y = 1; near and far depth to 0 and 1.
  const Vector4 top = Transform(Point(0, 10.0f / f, 10.0f), *p);
  EXPECT_NEAR(top.y / top.w, 1.0f, 1e-5f);
  const Vector4 nearPoint = Transform(Point(0, 0, 0.5f), *p);
  const Vector4 farPoint = Transform(Point(0, 0, 100.0f), *p);
  EXPECT_NEAR(nearPoint.z / nearPoint.w, 0.0f, 1e-6f);
  EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-6f);
}

// Every field of view follows the same projection; one past 180 degrees or below zero turns the
// picture upside down, as the cotangent says.
TEST(PerspectiveProjection, FollowsTheProjectionForEveryFieldOfView) {
  struct Case {
    float fov;
    bool upright;
  };
  const Case cases[] = {{0.5f, true}, {90.0f, true}, {179.9f, true}, {-45.0f, false}, {270.0f, false}, {-200.0f, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fov);
    const auto p = PerspectiveProjection(c.fov, 1.0f, 0.1f, 10.0f);
    ASSERT_TRUE(p.has_value());
    EXPECT_TRUE(IsFinite(*p));
    EXPECT_NEAR(p->m[1][1], std::tan(1.5707964f - c.fov * kRadiansPerDegree / 2.0f), 1e-4f);
    EXPECT_EQ(p->m[1][1] > 0.0f, c.upright);
  }
  // -45 degrees is the 45-degree picture turned by 180 degrees.
  EXPECT_NEAR(PerspectiveProjection(-45.0f, 1.0f, 0.1f, 10.0f)->m[1][1],
              -PerspectiveProjection(45.0f, 1.0f, 0.1f, 10.0f)->m[1][1], 1e-5f);
}

TEST(PerspectiveProjection, GivesNoneWhereTheMatrixCouldNotBeFinite) {
  struct Case {
    const char* what;
    float fov, aspect, zNear, zFar;
  };
  const Case cases[] = {
      {"near equal to far", 45, 1, 5, 5},     {"NaN field of view", kNaN, 1, 0.1f, 10},
      {"infinite field of view", kInf, 1, 0.1f, 10}, {"zero aspect", 45, 0, 0.1f, 10},
      {"negative aspect", 45, -1, 0.1f, 10},  {"NaN aspect", 45, kNaN, 0.1f, 10},
      {"infinite aspect", 45, kInf, 0.1f, 10}, {"NaN near plane", 45, 1, kNaN, 10},
      {"infinite far plane", 45, 1, 0.1f, kInf}, {"zero field of view", 0, 1, 0.1f, 10},
      {"180 degrees", 180, 1, 0.1f, 10},       {"-180 degrees", -180, 1, 0.1f, 10},
      {"360 degrees", 360, 1, 0.1f, 10},
  };
  for (const Case& c : cases) EXPECT_FALSE(PerspectiveProjection(c.fov, c.aspect, c.zNear, c.zFar).has_value()) << c.what;
}

}  // namespace
}  // namespace orvane
