#include "scene/operators/ParticleSystemOp.h"

#include <algorithm>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "render/ShaderPass.h"
#include "scene/InputNumbers.h"
#include "scene/ParticleRenderer.h"
#include "scene/RuntimeRandom.h"
#include "scene/SceneInputs.h"
#include "scene/SceneRenderer.h"

namespace orvane {
namespace {
const OperatorRegistration<ParticleSystemOp> kRegistration{
    "Particles", "Emits, moves and draws up to 4,999 glowing point particles."};
enum Input : size_t {
  kSceneIn,
  kRate,
  kSizeX,
  kSizeY,
  kStartSpeed,
  kGravity,
  kLifetime,
  kSizeMin,
  kSizeMax,
  kSeed,
  kRandomVelPower,
  kColor1R,
  kColor2R = kColor1R + 3,
  kEmitter = kColor2R + 3,
  kEmitterParamX,
};

Vector4 Opaque(Vector4 rgb) {
  rgb.w = 1.0f;
  return rgb;
}
}  // namespace

ParticleSystemOp::ParticleSystemOp() : Operator(kCategoryScene) {
  AddInertInput("SceneIn", kPortScene);
  AddFloatInput("Rate", 100.0f);
  AddFloatInput("Size.X", 1.0f);
  AddFloatInput("Size.Y", 1.0f);
  AddFloatInput("StartSpeed", 2.0f);
  AddFloatInput("GravityModifier", 10.0f);
  AddFloatInput("Lifetime", 2.0f);
  AddFloatInput("StartSizeMin", 0.1f);
  AddFloatInput("StartSizeMax", 0.2f);
  AddFloatInput("Seed", 0.0f);
  AddFloatInput("RandomVelPower", 0.0f);
  AddFloatInput("StartColor1.R", 0.1f);
  AddFloatInput("StartColor1.G", 0.1f);
  AddFloatInput("StartColor1.B", 10.1f);
  AddFloatInput("StartColor2.R", 10.5f);
  AddFloatInput("StartColor2.G", 0.5f);
  AddFloatInput("StartColor2.B", 0.5f);
  AddFloatInput("Emitter", 0.0f, kHintChoice);
  AddOptions({"Cone", "Sphere", "Plane"});
  AddFloatInput("EmitterParam.X", 1.0f);
  AddFloatInput("EmitterParam.Y", 1.0f);
  AddFloatInput("EmitterParam.Z", 1.0f);
  AddFloatInput("EmitterParam.W", 1.0f);
  AddOutput("SceneOut", kPortScene, std::make_unique<ParticleFunction>());
}

ParticleSystemOp::ParticleFunction::ParticleFunction() = default;
ParticleSystemOp::ParticleFunction::~ParticleFunction() = default;

// In the order the generator and the document expect: rate first, the random power last.
ParticleSettings ParticleSystemOp::ParticleFunction::ReadSettings(float time, const PortList& sources,
                                                                  Player& player) {
  ParticleSettings s;
  s.rate = std::min(EvaluateFloat(sources, kRate, time, player), kMaxParticleRate);
  s.speed = EvaluateFloat(sources, kStartSpeed, time, player);
  s.gravity = EvaluateFloat(sources, kGravity, time, player);
  s.lifetime = EvaluateFloat(sources, kLifetime, time, player);
  s.sizeMin = EvaluateFloat(sources, kSizeMin, time, player);
  s.sizeMax = EvaluateFloat(sources, kSizeMax, time, player);
  s.color1 = Opaque(EvaluateFloat3(sources, kColor1R, time, player));
  s.color2 = Opaque(EvaluateFloat3(sources, kColor2R, time, player));
  s.emitter = ChoiceOf(EvaluateFloat(sources, kEmitter, time, player));
  s.emitterParam = EvaluateFloat3(sources, kEmitterParamX, time, player);
  s.emitterParam.w = EvaluateFloat(sources, kEmitterParamX + 3, time, player);
  s.randomPower = EvaluateFloat(sources, kRandomVelPower, time, player);
  return s;
}

void ParticleSystemOp::ParticleFunction::Evaluate(float time, const PortList& sources, Player& player) {
  // A positive seed restarts the shared generator every frame: the same numbers each frame.
  const int32_t seed = TruncatedInt(EvaluateFloat(sources, kSeed, time, player));
  if (seed > 0) RuntimeSrand(static_cast<uint32_t>(seed));
  simulation.Advance(time, ReadSettings(time, sources, player));

  if (!player.renderer) {
    // Without a device the simulation runs on; only the sizes are read, as a draw would.
    EvaluateFloat(sources, kSizeX, time, player);
    EvaluateFloat(sources, kSizeY, time, player);
    return;
  }
  if (!renderer) {
    ShaderPass* gbuffer = player.renderer->gbufferPass;
    renderer = std::make_unique<ParticleRenderer>(player.renderer->adapter, gbuffer ? gbuffer->state : nullptr);
  }
  renderer->Upload(simulation);
  const float width = EvaluateFloat(sources, kSizeX, time, player);
  const float height = EvaluateFloat(sources, kSizeY, time, player);
  renderer->Draw(player, width, height);
}

}  // namespace orvane
