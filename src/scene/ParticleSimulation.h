#pragma once
// The particle system's simulation on the CPU: emission at a constant rate from a cone, a
// spherical shell or a plane, gravity, a random wander, shrinking during the last second of life
// and removal when life runs out. Random numbers come from the process's rand() generator
// (RuntimeRandom.h) in a fixed order, so that a document's particles come out as authored.

#include <array>
#include <cstdint>
#include <memory>

#include "render/Matrix.h"

namespace orvane {

struct Particle {
  Vector4 color;
  Vector4 position;
  Vector4 velocity;
  float size = 0.0f;
  float life = 0.0f;  // seconds left
};

enum ParticleEmitter : int32_t { kEmitterCone = 0, kEmitterSphere = 1, kEmitterPlane = 2 };

// What the inputs set each frame.
struct ParticleSettings {
  Vector4 color1{0.1f, 0.1f, 10.1f, 1.0f};
  Vector4 color2{10.5f, 0.5f, 0.5f, 1.0f};
  float rate = 100.0f;  // per second, at most kMaxParticleRate
  float speed = 2.0f;
  float lifetime = 2.0f;
  float sizeMin = 0.1f;
  float sizeMax = 0.2f;
  float gravity = 10.0f;
  int32_t emitter = kEmitterCone;
  Vector4 emitterParam{1.0f, 1.0f, 1.0f, 1.0f};
  float randomPower = 0.0f;
};

inline constexpr float kMaxParticleRate = 10000.0f;

class ParticleSimulation {
public:
  static constexpr int32_t kCapacity = 5000;  // live particles stay below it: at most 4,999

  ParticleSimulation();

  // One frame at `time`: the emission clock follows time jumps, live particles move by the time
  // since the last frame (none when time went backwards), new ones are emitted, and `time`
  // becomes the last time.
  void Advance(float time, const ParticleSettings& settings);

  int32_t count() const { return count_; }
  const Particle& operator[](int32_t i) const { return (*particles_)[static_cast<size_t>(i)]; }
  float lastTime() const { return lastTime_; }
  float emissionClock() const { return emissionClock_; }

private:
  void Update(float step, const ParticleSettings& settings);
  void Emit(float time, const ParticleSettings& settings);
  void PlaceNew(Particle& particle, const ParticleSettings& settings);

  std::unique_ptr<std::array<Particle, kCapacity>> particles_;
  int32_t count_ = 0;
  float lastTime_ = 0.0f;
  float emissionClock_ = -1.0f;
};

}  // namespace orvane
