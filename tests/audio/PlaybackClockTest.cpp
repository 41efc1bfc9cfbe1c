#include "audio/PlaybackClock.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(PlaybackClock, StoppedUntilStarted) {
  PlaybackClock clock(1000, 5000);
  EXPECT_FALSE(clock.started());
  EXPECT_FALSE(clock.IsActive(100.0));
  EXPECT_EQ(clock.Position(100.0), 0.0);
}

TEST(PlaybackClock, WithoutADeviceTheMusicRunsOnTheWallClock) {
  PlaybackClock clock(1000, 5000);  // five seconds
  clock.StartWithoutDevice(10.0);
  const std::pair<double, double> samples[] = {{10.0, 0.0}, {10.5, 0.5}, {12.25, 2.25}, {14.999, 4.999}};
  for (const auto& [now, position] : samples) {
    EXPECT_NEAR(clock.Position(now), position, 1e-9);
    EXPECT_TRUE(clock.IsActive(now));
  }
  EXPECT_FALSE(clock.IsActive(15.0));
  EXPECT_EQ(clock.Position(99.0), 5.0);  // held at the end
}

TEST(PlaybackClock, WithADeviceItFollowsTheSamplesHandedOver) {
  PlaybackClock clock(1000, 5000);
  clock.StartWithDevice(100);  // the device queues 0.1 s
  EXPECT_EQ(clock.Position(0.0), 0.0);  // nothing heard yet
  clock.OnSamplesHanded(100, 1.0);
  EXPECT_NEAR(clock.Position(1.0), 0.0, 1e-9);
  EXPECT_NEAR(clock.Position(1.05), 0.05, 1e-9);  // carried forward between requests
  EXPECT_NEAR(clock.Position(1.3), 0.1, 1e-9);    // but never past what was handed over
  clock.OnSamplesHanded(200, 1.1);
  EXPECT_NEAR(clock.Position(1.15), 0.15, 1e-9);
}

TEST(PlaybackClock, NeverGoesBackwards) {
  PlaybackClock clock(1000, 5000);
  clock.StartWithDevice(100);
  clock.OnSamplesHanded(300, 1.0);
  const double ahead = clock.Position(1.09);  // 0.29
  clock.OnSamplesHanded(400, 1.095);          // the device asked a little early: estimate 0.3
  EXPECT_GE(clock.Position(1.0951), ahead);
  clock.OnSamplesHanded(500, 1.096);
  EXPECT_GE(clock.Position(1.0), ahead);  // a clock reading from before the last one
}

TEST(PlaybackClock, EndsAfterTheLastSampleIsPlayed) {
  PlaybackClock clock(1000, 1000);
  clock.StartWithDevice(100);
  clock.OnSamplesHanded(1000, 1.0);  // all music handed over; 0.1 s still queued
  EXPECT_TRUE(clock.IsActive(1.0));
  clock.OnSamplesHanded(1100, 1.1);  // silence after the end keeps the clock going
  EXPECT_FALSE(clock.IsActive(1.1));
  EXPECT_EQ(clock.Position(2.0), 1.0);
}

TEST(PlaybackClock, SeekJumpsAndRunsOnFromThere) {
  struct Case {
    bool device;
    double target, expected;
  };
  const Case cases[] = {{false, 3.0, 3.0}, {false, -1.0, 0.0}, {false, 9.0, 5.0},
                        {true, 3.0, 3.0},  {true, 0.5, 0.5},   {true, 9.0, 5.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    PlaybackClock clock(1000, 5000);
    if (c.device) {
      clock.StartWithDevice(100);
      clock.OnSamplesHanded(2100, 2.0);
    } else {
      clock.StartWithoutDevice(0.0);
    }
    EXPECT_NEAR(clock.Position(2.0), 2.0, 1e-9);
    clock.Seek(c.target, 2.0);
    EXPECT_NEAR(clock.Position(2.0), c.expected, 1e-9);  // backwards too
    if (c.expected < 4.9) {
      EXPECT_NEAR(clock.Position(2.05), c.expected + 0.05, 1e-9);
    }
  }
}

TEST(PlaybackClock, PauseHoldsThePositionAndResumeCarriesOn) {
  PlaybackClock clock(1000, 5000);
  clock.StartWithoutDevice(0.0);
  clock.Pause(1.0);
  EXPECT_TRUE(clock.paused());
  EXPECT_NEAR(clock.Position(3.0), 1.0, 1e-9);
  EXPECT_TRUE(clock.IsActive(30.0));  // paused music has not ended
  clock.Seek(2.0, 3.0);               // seeking while paused moves the held position
  EXPECT_NEAR(clock.Position(4.0), 2.0, 1e-9);
  clock.Resume(10.0);
  EXPECT_FALSE(clock.paused());
  EXPECT_NEAR(clock.Position(10.5), 2.5, 1e-9);
}

}  // namespace
}  // namespace orvane
