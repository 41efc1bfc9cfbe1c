#include "app/FrameProfile.h"

#include <gtest/gtest.h>

#include <regex>

#include "app/BenchmarkReport.h"

namespace orvane {
namespace {

GpuFrameTiming Frame(double total, std::vector<std::pair<std::string, double>> labels, bool measured = true) {
  GpuFrameTiming timing;
  timing.measured = measured;
  timing.totalMs = total;
  timing.labels = std::move(labels);
  return timing;
}

TEST(FrameProfile, GpuLinesPerLabelSortedByTotalTime) {
  FrameProfile profile;
  profile.AddGpuFrame(Frame(10.0, {{"FXAA", 1.0}, {"POINT LIGHTS", 4.0}, {"POINT LIGHTS", 2.0}}));
  profile.AddGpuFrame(Frame(10.0, {{"FXAA", 3.0}}));  // no lights in this frame
  const std::string table = profile.Table();
  EXPECT_EQ(table,
            "label         calls/frame  mean_ms  p95_ms  share_%\n"
            "POINT LIGHTS         1.00    3.000   6.000     30.0\n"
            "FXAA                 1.00    2.000   3.000     20.0\n");
}

TEST(FrameProfile, WithoutTimerQueriesTheGpuLinesSayNotAvailable) {
  FrameProfile profile;
  profile.AddGpuFrame(Frame(0.0, {{"FXAA", 0.0}}, false));
  EXPECT_NE(profile.Table().find("FXAA          1.00      n/a     n/a      n/a\n"), std::string::npos)
      << profile.Table();
}

TEST(FrameProfile, CpuPhasesFollowTheGpuLines) {
  FrameProfile profile;
  profile.AddGpuFrame(Frame(1.0, {{"TONE MAPPING", 1.0}}));
  for (int frame = 0; frame < 3; ++frame) {
    profile.BeginPhase("cpu:evaluate");
    profile.BeginPhase("cpu:present");
    profile.EndCpuFrame();
  }
  const std::string table = profile.Table();
  const std::regex expected(
      "label +calls/frame +mean_ms +p95_ms +share_%\n"
      "TONE MAPPING  +1\\.00 +1\\.000 +1\\.000 +100\\.0\n"
      "cpu:(evaluate|present)  +1\\.00 +[0-9.]+ +[0-9.]+ +[0-9.]+\n"
      "cpu:(evaluate|present)  +1\\.00 +[0-9.]+ +[0-9.]+ +[0-9.]+\n");
  EXPECT_TRUE(std::regex_match(table, expected)) << table;
  EXPECT_EQ(profile.cpuFrames(), 3);
}

TEST(Percentile, NearestRank) {
  EXPECT_EQ(Percentile({}, 0.5), 0.0);
  EXPECT_EQ(Percentile({3, 1, 2}, 0.5), 2.0);
  std::vector<double> hundred;
  for (int i = 1; i <= 100; ++i) hundred.push_back(i);
  EXPECT_EQ(Percentile(hundred, 0.95), 95.0);
  EXPECT_EQ(Percentile(hundred, 0.99), 99.0);
  EXPECT_EQ(Percentile(hundred, 1.0), 100.0);
}

TEST(BenchmarkReport, OneKeyAndValueALine) {
  EXPECT_EQ(BenchmarkReport({2.0, 4.0, 6.0, 8.0}, 0.5, 640, 360, "llvmpipe"),
            "frames: 4\nseconds: 0.500\nfps: 8.00\np50_ms: 4.000\np95_ms: 8.000\np99_ms: 8.000\nmax_ms: 8.000\n"
            "size: 640x360\nrenderer: llvmpipe\n");
}

}  // namespace
}  // namespace orvane
