#include "graph/scalar/HSV2RGBOp.h"

#include <cmath>

#include <imgui.h>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"

namespace orvane {
namespace {
const OperatorRegistration<HSV2RGBOp> kRegistration{
    "HSV2RGB", "Turns a colour given as hue, saturation and value into its red, green and blue parts."};
enum Input : size_t { kHue, kSaturation, kValue };
}  // namespace

HSV2RGBOp::HSV2RGBOp() : Operator(kCategoryScalar) {
  AddFloatInput("Hue", 1.0f);
  AddFloatInput("Saturation", 1.0f);
  AddFloatInput("value", 1.0f);
  const char* const channels[] = {"Red", "Green", "Blue"};
  for (int32_t channel = 0; channel < 3; ++channel) {
    auto function = std::make_unique<HSV2RGBFunction>();
    function->outputIndex = channel;
    AddOutput(channels[channel], kPortFloat, std::move(function));
  }
}

void HSV2RGBOp::HSV2RGBFunction::Evaluate(float time, const PortList& sources, Player& player) {
  float hue = EvaluateFloat(sources, kHue, time, player);
  const float saturation = EvaluateFloat(sources, kSaturation, time, player);
  const float value = EvaluateFloat(sources, kValue, time, player);
  // The conversion truncates the scaled hue to an integer; an infinite or NaN hue has none.
  if (!std::isfinite(hue)) hue = 0.0f;
  float rgb[3];
  ImGui::ColorConvertHSVtoRGB(hue, saturation, value, rgb[0], rgb[1], rgb[2]);
  player.scalar = rgb[outputIndex >= 0 && outputIndex < 3 ? outputIndex : 0];
}

}  // namespace orvane
