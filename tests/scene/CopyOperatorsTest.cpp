// Repeat, Replicate and the scene time window without a GPU: the world matrices and times their
// copies are drawn with, seen by a probe operator below them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "scene/InputNumbers.h"
#include "scene/ReplicaFrame.h"
#include "scene/SceneDocument.h"
#include "scene/SceneProbeOp.h"
#include "support/GraphFixture.h"

namespace orvane {
namespace {

using testing::LoadedGraph;
using testing::ProbeOp;
using testing::ProbeRecord;
using testing::SceneDocument;
using Inputs = std::vector<std::pair<int, std::string>>;

bool SameBits(const Matrix& a, const Matrix& b) { return std::memcmp(&a, &b, sizeof(Matrix)) == 0; }

Vector4 Row(const Matrix& m, int row) { return {m.m[row][0], m.m[row][1], m.m[row][2], m.m[row][3]}; }

void ExpectNear(const Vector4& actual, const Vector4& expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// `type` with `inputs` drawing a probe; one evaluation at `time`; the probe's records.
class CopyTest : public ::testing::Test {
protected:
  std::vector<ProbeRecord> Run(const std::string& type, const Inputs& inputs, float time = 0.0f,
                               int evaluations = 1) {
    SceneDocument doc;
    const int probe = doc.Add("TestProbe", {{0, "Tag: copy"}});
    const int op = doc.Add(type, inputs, {{probe, "OutScene", type == "Eval" ? "SCeneIn" : "InScene"}});
    graph_ = std::make_unique<LoadedGraph>(doc.text());
    ProbeOp::Log().clear();
    start_ = Identity();
    start_.m[3][0] = 0.25f;  // a parent that is not the identity
    graph_->player.world = start_;
    for (int i = 0; i < evaluations; ++i) graph_->output(static_cast<size_t>(op)).Evaluate(time, graph_->player);
    EXPECT_TRUE(SameBits(graph_->player.world, start_)) << "the world matrix is put back";
    return ProbeOp::Log();
  }

  std::unique_ptr<LoadedGraph> graph_;
  Matrix start_;
};

// ---------------------------------------------------------------------------------------------
// Repeat.

TEST_F(CopyTest, RepeatDrawsCopiesOneToCountStepsAwayAndNeverTheOriginal) {
  const auto copies = Run("Repeat", {{2, "Count: 3"}, {3, "Position.X: 2"}});
  ASSERT_EQ(copies.size(), 3u);
  for (size_t k = 0; k < copies.size(); ++k) ExpectNear(Row(copies[k].world, 3), {0.25f + 2.0f * (k + 1), 0, 0, 1});
}

TEST_F(CopyTest, RepeatCountsAreTruncatedAndBounded) {
  const struct {
    const char* count;
    size_t copies;
  } cases[] = {{"2.9", 2}, {"1", 1}, {"0.99", 0}, {"-3", 0}, {"nan", 0}, {"-inf", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    EXPECT_EQ(Run("Repeat", {{2, std::string("Count: ") + c.count}}).size(), c.copies);
  }
  // A count of a billion or infinity is held at the bound instead of stalling the frame.
  EXPECT_EQ(Run("Repeat", {{2, "Count: 1e9"}}).size(), static_cast<size_t>(kMaxSceneCopies));
  EXPECT_EQ(Run("Repeat", {{2, "Count: inf"}}).size(), static_cast<size_t>(kMaxSceneCopies));
}

TEST_F(CopyTest, RepeatDrawsEachCopyOneTimeOffsetEarlier) {
  const auto copies = Run("Repeat", {{1, "TimeOffset: 0.5"}, {2, "Count: 3"}}, 10.0f);
  ASSERT_EQ(copies.size(), 3u);
  EXPECT_FLOAT_EQ(copies[0].time, 9.5f);
  EXPECT_FLOAT_EQ(copies[1].time, 9.0f);
  EXPECT_FLOAT_EQ(copies[2].time, 8.5f);
}

TEST_F(CopyTest, RepeatScaleGrowsLinearlyNotAsAPower) {
  const auto copies = Run("Repeat", {{2, "Count: 3"}, {9, "Scale.X: 0.5"}});
  ASSERT_EQ(copies.size(), 3u);
  EXPECT_FLOAT_EQ(copies[0].world.m[0][0], 0.5f);
  EXPECT_FLOAT_EQ(copies[1].world.m[0][0], 0.0f);
  EXPECT_FLOAT_EQ(copies[2].world.m[0][0], -0.5f);
  EXPECT_FLOAT_EQ(copies[2].world.m[1][1], 1.0f);
}

TEST_F(CopyTest, RepeatTurnsEachCopyByKTimesTheRotation) {
  const auto copies = Run("Repeat", {{2, "Count: 2"}, {7, "Rotation.Y: 45"}});
  ASSERT_EQ(copies.size(), 2u);
  // Copy 2 is turned by 90 degrees about Y: X goes to -Z.
  ExpectNear(Row(copies[1].world, 0), {0, 0, -1, 0});
}

TEST_F(CopyTest, RepeatWithItsDefaultsDrawsOnceUnchanged) {
  const auto copies = Run("Repeat", {});
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_TRUE(SameBits(copies[0].world, start_));
}

// ---------------------------------------------------------------------------------------------
// Replicate.

TEST_F(CopyTest, ReplicateRingPlacesCopiesAroundTheCentreFacingIt) {
  const auto copies = Run("Replicate", {{1, "Count: 4"}, {2, "Radius: 2"}, {8, "SizeRandom: -1"}});
  ASSERT_EQ(copies.size(), 4u);
  const Vector4 expected[] = {{2, 0, 0, 1}, {0, 0, 2, 1}, {-2, 0, 0, 1}, {0, 0, -2, 1}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const Vector4 at{expected[i].x + 0.25f, expected[i].y, expected[i].z, 1};
    ExpectNear(Row(copies[i].world, 3), at);
    // Z points at the centre; X and Y stay a unit frame.
    ExpectNear(Row(copies[i].world, 2), {-expected[i].x / 2, 0, -expected[i].z / 2, 0});
    ExpectNear(Row(copies[i].world, 1), {0, 1, 0, 0});
  }
}

TEST_F(CopyTest, ReplicateFixedTurnsEveryCopyHalfwayAboutY) {
  const auto copies = Run("Replicate", {{1, "Count: 3"}, {9, "Orientation: 1"}});
  ASSERT_EQ(copies.size(), 3u);
  for (const ProbeRecord& copy : copies) {
    ExpectNear(Row(copy.world, 0), {-1, 0, 0, 0});
    ExpectNear(Row(copy.world, 1), {0, 1, 0, 0});
    ExpectNear(Row(copy.world, 2), {0, 0, -1, 0});
  }
}

// The numbers are drawn per copy in a fixed order: on a ring with a negative SizeRandom six
// (ua ub uc for the offset, ue uf ug for the rotation).
TEST_F(CopyTest, ReplicateDrawsItsNumbersInTheDocumentedOrder) {
  const auto copies = Run("Replicate", {{1, "Count: 3"},
                                        {2, "Radius: 0"},
                                        {4, "Seed: 42"},
                                        {5, "OffsetRandom.X: 2"},
                                        {6, "OffsetRandom.Y: 4"},
                                        {7, "OffsetRandom.Z: 8"},
                                        {8, "SizeRandom: -1"},
                                        {9, "Orientation: 1"}});
  ASSERT_EQ(copies.size(), 3u);
  std::mt19937 random(42);
  for (const ProbeRecord& copy : copies) {
    const float ua = ReplicaUniform(random), ub = ReplicaUniform(random), uc = ReplicaUniform(random);
    for (int skip = 0; skip < 3; ++skip) random();
    ExpectNear(Row(copy.world, 3), {0.25f + (uc - 0.5f) * 2, (ub - 0.5f) * 4, (ua - 0.5f) * 8, 1});
  }
}

// "Point" draws its three coordinates first (x from the third) and, with SizeRandom >= 0, one
// more for the size: ten per copy.
TEST_F(CopyTest, ReplicatePointsDrawTheirCoordinatesAndSizeFirst) {
  const auto copies = Run("Replicate", {{1, "Count: 2"},
                                        {2, "Radius: 3"},
                                        {3, "Mode: 1"},
                                        {4, "Seed: 7"},
                                        {8, "SizeRandom: 0.5"},
                                        {9, "Orientation: 1"}});
  ASSERT_EQ(copies.size(), 2u);
  std::mt19937 random(7);
  for (const ProbeRecord& copy : copies) {
    const float u1 = ReplicaUniform(random), u2 = ReplicaUniform(random), u3 = ReplicaUniform(random);
    for (int skip = 0; skip < 3; ++skip) random();
    const float ud = ReplicaUniform(random);
    for (int skip = 0; skip < 3; ++skip) random();
    ExpectNear(Row(copy.world, 3), {0.25f + 3 * (2 * u3 - 1), 3 * (2 * u2 - 1), 3 * (2 * u1 - 1), 1});
    EXPECT_NEAR(copy.world.m[0][0], -(1.0f + 0.5f * ud), 1e-5f);
  }
}

TEST_F(CopyTest, ReplicateGivesTheSameMatricesForTheSameSeedAndShiftsWithTheSizeDraw) {
  const Inputs base{{1, "Count: 5"}, {3, "Mode: 1"}, {4, "Seed: 3"}, {14, "RotateRandom.X: 90"},
                    {15, "RotateRandom.Y: 90"}, {16, "RotateRandom.Z: 90"}};
  Inputs negative = base, zero = base;
  negative.push_back({8, "SizeRandom: -1"});
  zero.push_back({8, "SizeRandom: 0"});
  const auto first = Run("Replicate", negative, 0.0f, 2);
  ASSERT_EQ(first.size(), 10u);
  for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(SameBits(first[i].world, first[i + 5].world)) << i;
  // One more number per copy: every copy after the first lands and turns differently.
  const auto shifted = Run("Replicate", zero);
  ASSERT_EQ(shifted.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NE(Row(first[i].world, 0).x, Row(shifted[i].world, 0).x) << i;
    EXPECT_NEAR(std::hypot(shifted[i].world.m[0][0], shifted[i].world.m[0][1], shifted[i].world.m[0][2]), 1.0f, 1e-5f)
        << "SizeRandom 0 draws but keeps the size";
  }
}

TEST_F(CopyTest, ReplicateWrapsOnlyXByTheTruncatedRemainder) {
  const struct {
    const char* offset;
    const char* wrap;
    float x;
  } cases[] = {{"7.5", "3", 1.5f}, {"-7.5", "3", -1.5f}, {"7.5", "0.5", 7.5f}, {"7.5", "0", 7.5f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.offset) + " wrap " + c.wrap);
    const auto copies = Run("Replicate", {{3, "Mode: 2"},
                                          {9, "Orientation: 1"},
                                          {10, std::string("Offset.X: ") + c.offset},
                                          {11, "Offset.Y: 7.5"},
                                          {13, std::string("Wrap: ") + c.wrap}});
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NEAR(copies[0].world.m[3][0], c.x + 0.25f, 1e-5f);
    EXPECT_NEAR(copies[0].world.m[3][1], 7.5f, 1e-5f);
  }
}

TEST_F(CopyTest, ReplicateBelowOneCopyEvaluatesNothingElse) {
  SceneDocument doc;
  const int radius = doc.Add("TestProbe", {{0, "Tag: radius"}});
  const int copy = doc.Add("TestProbe", {{0, "Tag: copy"}});
  const int op = doc.Add("Replicate", {{1, "Count: 0.5"}}, {{radius, "OutFloat", "Radius"}, {copy, "OutScene", "InScene"}});
  LoadedGraph graph(doc.text());
  ProbeOp::Log().clear();
  graph.output(static_cast<size_t>(op)).Evaluate(0.0f, graph.player);
  EXPECT_TRUE(ProbeOp::Log().empty());
}

TEST_F(CopyTest, ReplicateLeavesOutCopiesWithoutAFacingAndBoundsItsCount) {
  // "Surface" facing at the centre has no direction: no copy, nothing non-finite drawn.
  EXPECT_TRUE(Run("Replicate", {{1, "Count: 3"}, {2, "Radius: 0"}}).empty());
  EXPECT_EQ(Run("Replicate", {{1, "Count: 1e9"}, {9, "Orientation: 1"}}).size(), static_cast<size_t>(kMaxSceneCopies));
  EXPECT_TRUE(Run("Replicate", {{1, "Count: nan"}}).empty());
}

TEST(ReplicaAxes, FaceAwayFromTheCentreEvenStraightBelowIt) {
  const Vector4 facings[] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, -1, 0, 0}, {0.3f, -0.9f, 0.1f, 0}};
  for (const Vector4& facing : facings) {
    const std::optional<Matrix> axes = ReplicaAxes(facing);
    ASSERT_TRUE(axes.has_value());
    const float length = std::sqrt(facing.x * facing.x + facing.y * facing.y + facing.z * facing.z);
    ExpectNear(Row(*axes, 2), {-facing.x / length, -facing.y / length, -facing.z / length, 0});
    for (int row = 0; row < 3; ++row) {
      const Vector4 r = Row(*axes, row);
      EXPECT_NEAR(r.x * r.x + r.y * r.y + r.z * r.z, 1.0f, 1e-5f);
    }
  }
  EXPECT_FALSE(ReplicaAxes({0, 0, 0, 0}).has_value());
  EXPECT_FALSE(ReplicaAxes({std::numeric_limits<float>::quiet_NaN(), 0, 0, 0}).has_value());
}

// ---------------------------------------------------------------------------------------------
// The scene time window.

TEST_F(CopyTest, EvalDrawsWithinItsClosedWindowOnly) {
  const struct {
    float time;
    bool drawn;
  } cases[] = {{5.0f, true}, {10.0f, true}, {7.0f, true}, {4.999f, false}, {10.001f, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    EXPECT_EQ(Run("Eval", {{1, "Start: 5"}, {2, "End: 10"}}, c.time).size(), c.drawn ? 1u : 0u);
  }
  EXPECT_TRUE(Run("Eval", {{1, "Start: 10"}, {2, "End: 5"}}, 7.0f).empty()) << "start after end: never";
}

TEST_F(CopyTest, EvalDrawsNothingInTheLoadTimePass) {
  EXPECT_TRUE(Run("Eval", {}, -10.0f).empty());
  EXPECT_EQ(Run("Eval", {}, 0.0f).size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Whole numbers from float inputs.

TEST(InputNumbers, ConversionsAreTotalAndBounded) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(TruncatedCount(2.9f, 100), 2);
  EXPECT_EQ(TruncatedCount(0.99f, 100), 0);
  EXPECT_EQ(TruncatedCount(nan, 100), 0);
  EXPECT_EQ(TruncatedCount(-inf, 100), 0);
  EXPECT_EQ(TruncatedCount(inf, 100), 100);
  EXPECT_EQ(TruncatedCount(1e9f, 100), 100);
  EXPECT_EQ(ChoiceOf(1.7f), 1);
  EXPECT_EQ(ChoiceOf(-0.5f), 0);
  EXPECT_EQ(ChoiceOf(nan), -1);
  EXPECT_EQ(ChoiceOf(1e12f), -1);
  EXPECT_EQ(TruncatedInt(7.9f), 7);
  EXPECT_EQ(TruncatedInt(-7.9f), -7);
  EXPECT_EQ(TruncatedInt(nan), 0);
  EXPECT_EQ(TruncatedInt(1e12f), 2147483520);
  EXPECT_EQ(TruncatedInt(-1e12f), INT32_MIN);
}

}  // namespace
}  // namespace orvane
