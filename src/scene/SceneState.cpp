// The scene state of the player: its per-frame reset and the default material.

#include "app/Player.h"
#include "render/DrawContext.h"
#include "scene/GBuffer.h"
#include "scene/LightLists.h"
#include "scene/SceneRenderer.h"

namespace orvane {

void Player::BeginScene() {
  pass = renderer ? renderer->gbufferPass : nullptr;

  targets = TargetSet{};
  targets.depth = depth;
  if (gbuffer) {
    for (size_t i = 0; i < gbuffer->targets.size(); ++i) targets.color[i] = gbuffer->targets[i];
  }
  targets.rect = rect;
  world = Identity();

  if (renderer && renderer->drawContext) {
    TargetSet clear = targets;
    clear.clearFlags = kClearColor | kClearDepthStencil;
    renderer->drawContext->SetTargets(clear);
    renderer->drawContext->UnbindTargets();
  }
  ClearLightLists();

  zNear = 0.1f;
  zFar = 1000.0f;
  fov = 45.0f;
  ResetMaterial();
}

void Player::ResetMaterial() {
  const auto set = [](float (&color)[4], float r, float g, float b, float a) {
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
  };
  set(baseColor, 0.2f, 0.2f, 0.2f, 0.0f);
  set(specularColor, 0.01f, 0.01f, 0.01f, 0.0f);
  set(emissiveColor, 0.0f, 0.0f, 0.0f, 0.0f);
  roughness = 0.6f;
  metalness = 0.5f;
  roughnessTex = albedoTex = metalnessTex = emissiveTex = nullptr;
}

}  // namespace orvane
