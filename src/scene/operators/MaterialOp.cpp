#include "scene/operators/MaterialOp.h"

#include <cmath>

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "scene/SceneInputs.h"
#include "scene/SceneStateScope.h"

namespace orvane {
namespace {
const OperatorRegistration<MaterialOp> kRegistration{
    "Material", "The surface of its scene's meshes: colour, specular, metalness, roughness, glow, textures."};
enum Input : size_t {
  kSceneIn,
  kAlbedoTex,
  kMetalnessTex,
  kRoughnessTex,
  kColorR,
  kSpecularR = kColorR + 3,
  kMetalness = kSpecularR + 3,
  kRoughness,
  kEmissiveR,
  kEmissiveTex = kEmissiveR + 3,
};

// Values pass unclamped; only a non-finite one reads as 0, since a NaN in the G-buffer would
// spread through every light and post-effect pass after it.
float Finite(float value) { return std::isfinite(value) ? value : 0.0f; }

void SetColor(float (&color)[4], const Vector4& rgb, float alpha) {
  color[0] = Finite(rgb.x);
  color[1] = Finite(rgb.y);
  color[2] = Finite(rgb.z);
  color[3] = alpha;
}
}  // namespace

MaterialOp::MaterialOp() : Operator(kCategoryScene) {
  AddInertInput("sceneIn", kPortScene);
  AddInertInput("AlbedoTex", kPortImage);
  AddInertInput("MetalnessTex", kPortImage);
  AddInertInput("RoughnessTex", kPortImage);
  AddFloatInput("Color.R", 0.2f);
  AddFloatInput("Color.G", 0.2f);
  AddFloatInput("Color.B", 0.2f);
  AddFloatInput("Specular.R", 0.01f);
  AddFloatInput("Specular.G", 0.01f);
  AddFloatInput("Specular.B", 0.01f);
  AddFloatInput("Metalness", 0.5f);
  AddFloatInput("Roughness", 0.6f);
  AddFloatInput("Emissive.R", 0.0f);
  AddFloatInput("Emissive.G", 0.0f);
  AddFloatInput("Emissive.B", 0.0f);
  AddInertInput("EmissiveTex", kPortImage);
  AddOutput("SceneOut", kPortScene, std::make_unique<MaterialFunction>());
}

void MaterialOp::MaterialFunction::Evaluate(float time, const PortList& sources, Player& player) {
  const MaterialScope restoreMaterial(player);
  SetColor(player.baseColor, EvaluateFloat3(sources, kColorR, time, player), 0.0f);
  SetColor(player.specularColor, EvaluateFloat3(sources, kSpecularR, time, player), 0.0f);
  player.metalness = Finite(EvaluateFloat(sources, kMetalness, time, player));
  player.roughness = Finite(EvaluateFloat(sources, kRoughness, time, player));
  player.albedoTex = EvaluateTexture(sources, kAlbedoTex, time, player);
  player.metalnessTex = EvaluateTexture(sources, kMetalnessTex, time, player);
  player.roughnessTex = EvaluateTexture(sources, kRoughnessTex, time, player);
  // Alpha 1 marks an emissive colour set by a material; the frame-start default has 0.
  SetColor(player.emissiveColor, EvaluateFloat3(sources, kEmissiveR, time, player), 1.0f);
  player.emissiveTex = EvaluateTexture(sources, kEmissiveTex, time, player);
  EvaluateScene(sources, kSceneIn, time, player);
}

}  // namespace orvane
