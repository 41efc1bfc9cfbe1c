#include "graph/scalar/SinOp.h"

#include <cmath>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"

namespace orvane {
namespace {
const OperatorRegistration<SinOp> kRegistration{
    "Sin", "A sine wave: sin(Frequency * Value + Phase) * Amplitude + Offset, in radians."};
enum Input : size_t { kValue, kAmplitude, kFrequency, kPhase, kOffset };
}  // namespace

SinOp::SinOp() : Operator(kCategoryScalar) {
  AddFloatInput("Value", 0.0f);
  AddFloatInput("Amplitude", 1.0f);
  AddFloatInput("Frequency", 1.0f);
  AddFloatInput("Phase", 0.0f);
  AddFloatInput("Offset", 0.0f);
  AddOutput("FloatOut", kPortFloat, std::make_unique<SinFunction>());
}

void SinOp::SinFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const float value = EvaluateFloat(sources, kValue, time, player);
  const float amplitude = EvaluateFloat(sources, kAmplitude, time, player);
  const float frequency = EvaluateFloat(sources, kFrequency, time, player);
  const float phase = EvaluateFloat(sources, kPhase, time, player);
  const float offset = EvaluateFloat(sources, kOffset, time, player);
  player.scalar = std::sin(frequency * value + phase) * amplitude + offset;
}

}  // namespace orvane
