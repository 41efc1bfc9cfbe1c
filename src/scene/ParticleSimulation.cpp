#include "scene/ParticleSimulation.h"

#include <cmath>
#include <utility>

#include "scene/RuntimeRandom.h"

namespace orvane {
namespace {

constexpr float kRandMax = static_cast<float>(kRuntimeRandMax);

// A number in [0, 1].
float Unit() { return static_cast<float>(RuntimeRand()) / kRandMax; }
// A number in [-1, 1].
float Signed() { return 2.0f * static_cast<float>(RuntimeRand()) / kRandMax - 1.0f; }

// Zero stays zero, so that a degenerate direction adds nothing instead of NaNs.
Vector4 Normalised(float x, float y, float z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0.0f)) return {};
  return {x / length, y / length, z / length, 0.0f};
}

Vector4 Scaled(const Vector4& v, float s) { return {v.x * s, v.y * s, v.z * s, v.w * s}; }

Vector4 Lerp(const Vector4& a, const Vector4& b, float t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t, a.w + (b.w - a.w) * t};
}

}  // namespace

ParticleSimulation::ParticleSimulation() : particles_(std::make_unique<std::array<Particle, kCapacity>>()) {}

void ParticleSimulation::Advance(float time, const ParticleSettings& settings) {
  const float elapsed = time - lastTime_;
  // Scrubbing backwards keeps the particles and resumes emission from the new time.
  if (elapsed < 0.0f) emissionClock_ = time;
  if (emissionClock_ < 0.0f && time > -1.0f) emissionClock_ = time;
  Update(elapsed > 0.0f ? elapsed : 0.0f, settings);
  Emit(time, settings);
  lastTime_ = time;
}

// A dead particle is replaced by the last live one, which is then not moved in this pass.
void ParticleSimulation::Update(float step, const ParticleSettings& settings) {
  std::array<Particle, kCapacity>& particles = *particles_;
  for (int32_t i = 0; i < count_; ++i) {
    Particle& p = particles[static_cast<size_t>(i)];
    if (p.life <= 0.0f) {
      --count_;
      if (count_ <= 0) {
        count_ = 0;
        return;
      }
      std::swap(p, particles[static_cast<size_t>(count_)]);
      continue;
    }
    p.velocity.y -= settings.gravity * step;
    const float r1 = Signed();
    const float r2 = Signed();
    const float r3 = Signed();
    const Vector4 wander = Normalised(r3, r2, r1);
    const float push = settings.randomPower * step;
    p.velocity.x += wander.x * push;
    p.velocity.y += wander.y * push;
    p.velocity.z += wander.z * push;
    p.position.x += p.velocity.x * step;
    p.position.y += p.velocity.y * step;
    p.position.z += p.velocity.z * step;
    p.life -= step;
    if (p.life < 1.0f) p.size -= 2.0f * step * p.size;  // shrinks during its last second
  }
}

// One particle per interval of the clock not yet covered; when the capacity stops emission the
// clock stays behind and the missed particles come as soon as there is room.
void ParticleSimulation::Emit(float time, const ParticleSettings& settings) {
  // A rate of zero emits nothing; so do negative and NaN rates, which mean nothing sensible.
  if (!(settings.rate > 0.0f)) return;
  const float interval = 1.0f / settings.rate;
  while (interval < time - emissionClock_ && count_ < kCapacity - 1) {
    PlaceNew((*particles_)[static_cast<size_t>(count_)], settings);
    emissionClock_ += interval;
    ++count_;
  }
}

void ParticleSimulation::PlaceNew(Particle& p, const ParticleSettings& settings) {
  const Vector4& shape = settings.emitterParam;
  const float speed = settings.speed;
  if (settings.emitter == kEmitterCone) {
    const float theta = shape.x * 3.14159265f / 180.0f;
    const float a = Signed();
    const float b = Signed();
    p.position = Scaled(Normalised(a, 0.0f, b), shape.y);
    p.velocity = Scaled(Normalised(std::sin(theta) * a, std::cos(theta), std::sin(theta) * b), speed);
  } else if (settings.emitter == kEmitterSphere) {
    const float c1 = Signed();
    const float c2 = Signed();
    const float c3 = Signed();
    const Vector4 direction = Normalised(c3, c2, c1);
    const float radius = shape.x + Unit() * (shape.y - shape.x);
    p.position = Scaled(direction, radius);
    p.velocity = Scaled(direction, speed);
  } else if (settings.emitter == kEmitterPlane) {
    const float r1 = Unit();
    const float r2 = Unit();
    p.position = {shape.x + r2 * (shape.y - shape.x), 0.0f, shape.z + r1 * (shape.w - shape.z), 0.0f};
    p.velocity = {0.0f, speed, 0.0f, 0.0f};
  }
  p.color = Lerp(settings.color1, settings.color2, Unit());
  p.life = settings.lifetime;
  p.size = settings.sizeMin + (settings.sizeMax - settings.sizeMin) * Unit();
}

}  // namespace orvane
