// The particle simulation on the CPU: emission clock, emitters, update order, removal by
// swapping, the capacity, and the random numbers it takes from the shared rand() generator.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/ParticleSimulation.h"
#include "scene/RuntimeRandom.h"

namespace orvane {
namespace {

float Length(const Vector4& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// A simulation that has been through the load-time pass and the first frame at 0.
struct Started {
  ParticleSimulation simulation;
  explicit Started(const ParticleSettings& settings) {
    simulation.Advance(-10.0f, settings);
    simulation.Advance(0.0f, settings);
  }
};

TEST(ParticleSimulation, TheLoadTimePassEmitsNothingAndTheClockStartsAtTheFirstFrame) {
  ParticleSimulation simulation;
  EXPECT_EQ(simulation.emissionClock(), -1.0f);
  simulation.Advance(-10.0f, {});
  EXPECT_EQ(simulation.count(), 0);
  EXPECT_EQ(simulation.lastTime(), -10.0f);
  simulation.Advance(0.0f, {});
  EXPECT_EQ(simulation.count(), 0);
  EXPECT_EQ(simulation.emissionClock(), 0.0f);
}

TEST(ParticleSimulation, EmitsOneParticlePerIntervalStrictlyCovered) {
  Started started({});
  started.simulation.Advance(0.055f, {});  // rate 100: 0.01 < 0.055 - clock five times
  EXPECT_EQ(started.simulation.count(), 5);
  EXPECT_NEAR(started.simulation.emissionClock(), 0.05f, 1e-6f);
}

TEST(ParticleSimulation, NeverHoldsMoreThan4999AndCatchesUpWhenRoomIsFree) {
  ParticleSettings settings;
  settings.rate = kMaxParticleRate;
  settings.lifetime = 100.0f;
  Started started(settings);
  started.simulation.Advance(1.0f, settings);
  EXPECT_EQ(started.simulation.count(), 4999);
  const float behind = started.simulation.emissionClock();
  EXPECT_LT(behind, 0.5f) << "the clock stays behind";
  started.simulation.Advance(2.0f, settings);
  EXPECT_EQ(started.simulation.count(), 4999);
}

TEST(ParticleSimulation, RatesThatMeanNothingEmitNothing) {
  const float rates[] = {0.0f, -5.0f, std::numeric_limits<float>::quiet_NaN()};
  for (float rate : rates) {
    SCOPED_TRACE(rate);
    ParticleSettings settings;
    settings.rate = rate;
    Started started(settings);
    started.simulation.Advance(1.0f, settings);
    EXPECT_EQ(started.simulation.count(), 0);
  }
}

// The first particle of a cone emitter, from the numbers drawn in order: a, b, colour, size.
TEST(ParticleSimulation, NewParticlesTakeTheirNumbersInOrder) {
  ParticleSettings settings;
  settings.rate = 1.0f;
  settings.emitterParam = {30.0f, 2.0f, 0.0f, 0.0f};
  Started started(settings);
  RuntimeSrand(99);
  started.simulation.Advance(1.5f, settings);
  ASSERT_EQ(started.simulation.count(), 1);

  RuntimeSrand(99);
  const float a = 2.0f * static_cast<float>(RuntimeRand()) / 32767.0f - 1.0f;
  const float b = 2.0f * static_cast<float>(RuntimeRand()) / 32767.0f - 1.0f;
  const float colour = static_cast<float>(RuntimeRand()) / 32767.0f;
  const float size = static_cast<float>(RuntimeRand()) / 32767.0f;
  const Particle& p = started.simulation[0];
  const float ring = std::hypot(a, b);
  EXPECT_NEAR(p.position.x, 2.0f * a / ring, 1e-5f);
  EXPECT_NEAR(p.position.z, 2.0f * b / ring, 1e-5f);
  EXPECT_EQ(p.position.y, 0.0f);
  const float theta = 30.0f * 3.14159265f / 180.0f;
  const float spread = std::hypot(std::sin(theta) * a, std::cos(theta), std::sin(theta) * b);
  EXPECT_NEAR(p.velocity.y, 2.0f * std::cos(theta) / spread, 1e-5f) << "not moved in the frame that made it";
  EXPECT_NEAR(p.color.x, 0.1f + (10.5f - 0.1f) * colour, 1e-4f);
  EXPECT_NEAR(p.color.z, 10.1f + (0.5f - 10.1f) * colour, 1e-4f);
  EXPECT_EQ(p.color.w, 1.0f);
  EXPECT_NEAR(p.size, 0.1f + 0.1f * size, 1e-6f);
  EXPECT_EQ(p.life, 2.0f);
}

TEST(ParticleSimulation, EmittersPlaceParticlesOnTheirShapes) {
  ParticleSettings sphere;
  sphere.emitter = kEmitterSphere;
  sphere.emitterParam = {2.0f, 3.0f, 0.0f, 0.0f};
  sphere.speed = 4.0f;
  Started onSphere(sphere);
  onSphere.simulation.Advance(1.0f, sphere);
  ASSERT_GT(onSphere.simulation.count(), 50);
  for (int32_t i = 0; i < onSphere.simulation.count(); ++i) {
    const Particle& p = onSphere.simulation[i];
    EXPECT_GE(Length(p.position), 2.0f - 1e-4f);
    EXPECT_LE(Length(p.position), 3.0f + 1e-4f);
  }

  ParticleSettings plane;
  plane.emitter = kEmitterPlane;
  plane.emitterParam = {-1.0f, 1.0f, 5.0f, 6.0f};
  Started onPlane(plane);
  onPlane.simulation.Advance(0.5f, plane);
  ASSERT_GT(onPlane.simulation.count(), 10);
  for (int32_t i = 0; i < onPlane.simulation.count(); ++i) {
    const Particle& p = onPlane.simulation[i];
    EXPECT_GE(p.position.x, -1.0f);
    EXPECT_LE(p.position.x, 1.0f);
    EXPECT_GE(p.position.z, 5.0f);
    EXPECT_LE(p.position.z, 6.0f);
    EXPECT_EQ(p.velocity.y, 2.0f);
  }
}

TEST(ParticleSimulation, ParticlesFallShrinkInTheirLastSecondAndDieAfterIt) {
  ParticleSettings settings;
  settings.rate = 1.0f;
  settings.gravity = 1.0f;
  Started started(settings);
  started.simulation.Advance(1.5f, settings);  // times exact in binary, so life reaches 0 exactly
  ASSERT_EQ(started.simulation.count(), 1);
  settings.rate = 0.0f;  // no more
  const float size = started.simulation[0].size;
  const float speed = started.simulation[0].velocity.y;

  started.simulation.Advance(2.0f, settings);  // life 1.5
  EXPECT_EQ(started.simulation[0].size, size);
  EXPECT_NEAR(started.simulation[0].velocity.y, speed - 0.5f, 1e-5f);
  started.simulation.Advance(2.5f, settings);  // life 1.0: not yet below one
  EXPECT_EQ(started.simulation[0].size, size);
  started.simulation.Advance(2.75f, settings);  // life 0.75: shrinks by 2 h of its size
  EXPECT_NEAR(started.simulation[0].size, size * 0.5f, 1e-6f);
  started.simulation.Advance(3.5f, settings);  // life 0: still there
  EXPECT_EQ(started.simulation.count(), 1);
  EXPECT_EQ(started.simulation[0].life, 0.0f);
  started.simulation.Advance(3.5f, settings);  // removed by the first update after
  EXPECT_EQ(started.simulation.count(), 0);
}

TEST(ParticleSimulation, ADeadParticleIsReplacedByTheLastOneWhichIsNotMovedThatFrame) {
  ParticleSettings settings;
  settings.rate = 1.0f;
  settings.gravity = 0.0f;
  Started started(settings);
  settings.lifetime = 0.5f;
  started.simulation.Advance(1.5f, settings);  // A, short-lived
  settings.lifetime = 10.0f;
  started.simulation.Advance(2.5f, settings);  // A dead now (life 0.5 - 1 < 0); B appended
  ASSERT_EQ(started.simulation.count(), 2);
  settings.rate = 0.0f;
  const Particle lastBefore = started.simulation[1];
  started.simulation.Advance(3.0f, settings);
  ASSERT_EQ(started.simulation.count(), 1);
  EXPECT_EQ(started.simulation[0].position.y, lastBefore.position.y) << "moved into the slot, not updated";
  EXPECT_EQ(started.simulation[0].life, lastBefore.life);
}

TEST(ParticleSimulation, ABackwardJumpKeepsTheParticlesAndEmitsFromTheNewTime) {
  Started started({});
  started.simulation.Advance(5.0f, {});
  const int32_t count = started.simulation.count();
  ASSERT_GT(count, 0);
  const Vector4 position = started.simulation[0].position;
  started.simulation.Advance(2.0f, {});
  EXPECT_EQ(started.simulation.count(), count);
  EXPECT_EQ(started.simulation[0].position.y, position.y) << "no step backwards";
  EXPECT_EQ(started.simulation.emissionClock(), 2.0f);
  started.simulation.Advance(2.055f, {});
  EXPECT_EQ(started.simulation.count(), count + 5) << "five new; none was dead before the step";
  EXPECT_NEAR(started.simulation.emissionClock(), 2.05f, 1e-5f);
}

}  // namespace
}  // namespace orvane
