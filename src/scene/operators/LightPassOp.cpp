#include "scene/operators/LightPassOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/DrawCall.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/RenderState.h"
#include "render/RenderStateDesc.h"
#include "render/Sampler.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "render/TargetSet.h"
#include "resources/ResourceLoader.h"
#include "scene/GBuffer.h"
#include "scene/LightLists.h"
#include "scene/LightVolume.h"
#include "scene/SceneRenderer.h"
#include "scene/ViewportRegion.h"

namespace orvane {
namespace {
const OperatorRegistration<LightPassOp> kRegistration{
    "LightPass", "Draws its scene into the G-buffer and lights it with its lights into the current image."};
enum Input : size_t { kSceneIn, kPointLight, kDirLight };

constexpr ShaderEntries kLightEntries{.vertex = "VS", .pixel = "PS"};
constexpr uint32_t kDepthSlot = 4;
// The sphere is drawn larger than the light's reach, so that its flat faces never cut it short.
constexpr float kVolumeScale = 1.2f;

// Lights add up: colour one + one. Alpha takes the light shader's 1, so that however many lights
// meet, earlier ones are never weighted by the alpha of later ones.
constexpr uint16_t kAddColor = BlendWord(kBlendOne, kBlendOne, kBlendOpAdd);
constexpr uint16_t kSourceAlpha = BlendWord(kBlendOne, kBlendZero, 0);
static_assert(kSourceAlpha == 0x0042);

// Lights pass only where the coverage mark's stencil is 1 (the scene drew there); a point
// light's far side also only where it is not in front of the scene's depth, since surfaces
// beyond the volume are out of reach. Neither is written. Without a mark bound the tests have no
// effect.
RenderStateDesc LightStateDesc(uint32_t cull, bool depthBounded) {
  RenderStateDesc desc;
  desc.flags = cull | kStateStencil | (depthBounded ? kStateDepthTest : 0u);
  desc.depthComparison = kCompareGreaterEqual;
  desc.colorBlend[0] = kAddColor;
  desc.alphaBlend[0] = kSourceAlpha;
  desc.stencilReadMask = 0xFF;
  desc.stencilWriteMask = 0;  // nothing written: the test can reject pixels before shading
  desc.stencilReference = 1;
  desc.front = {kStencilKeep, kStencilKeep, kStencilKeep, kCompareEqual};
  desc.back = desc.front;
  return desc;
}

// Lit colour lands only where the scene drew (stencil 1). Depth is tested but not written: a
// later light pass of the frame draws its scene against the depth this one's scene left.
RenderStateDesc CopyStateDesc() {
  RenderStateDesc desc;
  desc.flags = kStateDepthTest | kStateStencil | kStateCullBack;
  desc.depthComparison = kCompareLessEqual;
  desc.stencilReadMask = 0xFF;
  desc.stencilWriteMask = 0xFF;
  desc.stencilReference = 1;
  desc.front = {kStencilKeep, kStencilKeep, kStencilKeep, kCompareEqual};
  desc.back = desc.front;
  return desc;
}

TargetSet GBufferTargets(const Player& player) {
  TargetSet targets;
  targets.depth = player.depth;
  for (size_t i = 0; i < player.gbuffer->targets.size(); ++i) targets.color[i] = player.gbuffer->targets[i];
  targets.rect = player.rect;
  return targets;
}

TargetSet LitTargets(GpuResource* lit, const TargetRect& rect) {
  TargetSet targets;
  targets.color[0] = lit;
  targets.clearFlags = kClearColor | kClearDepthStencil;
  targets.rect = rect;
  return targets;
}

// The swap target the lights are drawn into. It must not be the image the result is copied
// into, so when the next swap target is that image the other one is taken.
GpuResource* TakeLitTarget(Player& player) {
  GpuResource* lit = player.TakeSwapTarget();
  if (lit == player.image) lit = player.TakeSwapTarget();
  return lit == player.image ? nullptr : lit;
}


// What every light of a pass reads: the G-buffer and depth, and how to get back from a pixel to
// the world.
void SetSharedConstants(ShaderPass& pass, const Player& player, const Matrix& view) {
  Sampler* sampler = GetSampler(player.renderer->adapter, MakeSamplerDesc(kFilterPoint, kAddressWrap));
  for (uint32_t slot = 0; slot < player.gbuffer->targets.size(); ++slot) {
    SetTexture(&pass, slot, player.gbuffer->targets[slot], sampler);
  }
  SetTexture(&pass, kDepthSlot, player.depth, sampler);
  ConstantBuffer* constants = pass.constantBuffers[0];
  if (constants == nullptr) return;
  const Matrix inverseViewProj = Transpose(Inverse(Multiply(view, player.projection)));
  const Matrix inverseView = Transpose(player.camera);
  const Vector4 eye{player.camera.m[3][0], player.camera.m[3][1], player.camera.m[3][2], 0.0f};
  const RegionConstants region = RegionOf(player.rect, currentScreen);
  constants->BeginUpdate();
  constants->SetConstant("gInvWorldViewProj", &inverseViewProj);
  constants->SetConstant("gInvView", &inverseView);
  constants->SetConstant("gEyePos", &eye);
  constants->SetConstant("gRegionScale", region.scale);
  constants->SetConstant("gRegionOffset", region.offset);
  constants->EndUpdate();
}

// A full-screen light. The scene's emitted light is added by the draw marked first, once per
// light pass however many lights it draws.
void DrawDirLight(DrawContext& draw, ShaderPass& pass, const Vector4& direction, const Vector4& color, bool first) {
  if (ConstantBuffer* constants = pass.constantBuffers[1]) {
    const float firstLight = first ? 1.0f : 0.0f;
    constants->BeginUpdate();
    constants->SetConstant("gLightDir", &direction);
    constants->SetConstant("gLightColor", &color);
    constants->SetConstant("gFirstLight", &firstLight);
    constants->EndUpdate();
  }
  draw.DrawFullScreen(pass, 3);
  draw.UnbindResources(pass);
}

void DrawPointLight(DrawContext& draw, ShaderPass& pass, Geometry& sphere, const PointLightRecord& light,
                    const Matrix& viewProj) {
  if (ConstantBuffer* constants = pass.constantBuffers[1]) {
    const float s = light.radius * kVolumeScale;
    Matrix volume;
    volume.m[0][0] = volume.m[1][1] = volume.m[2][2] = s;
    volume.m[3][0] = light.position.x;
    volume.m[3][1] = light.position.y;
    volume.m[3][2] = light.position.z;
    volume.m[3][3] = 1.0f;
    const Matrix worldViewProj = Transpose(Multiply(volume, viewProj));
    constants->BeginUpdate();
    constants->SetConstant("gWorldViewProj", &worldViewProj);
    constants->SetConstant("gLightPos", &light.position);
    constants->SetConstant("gLightCol", &light.color);
    constants->SetConstant("gLightRadius", &light.radius);
    constants->SetConstant("gLightBrightness", &light.brightness);
    constants->EndUpdate();
  }
  DrawCall call;
  call.pass = &pass;
  call.geometry = &sphere;
  draw.Draw(call);
}

template <class List>
bool AnyDrawable(const List& lights) {
  for (const auto& light : lights) {
    if (IsDrawable(light)) return true;
  }
  return false;
}

// Every light of the lists into the bound lit target. Emitted light comes with the first
// directional light; a pass with point lights only draws it on its own, full-screen.
void DrawLights(ShaderPass* dirPass, ShaderPass* pointPass, Player& player) {
  Adapter& adapter = *player.renderer->adapter;
  DrawContext& draw = *player.renderer->drawContext;
  const Matrix view = ViewFromCamera(player.camera);
  bool emitted = false;
  if (dirPass && AnyDrawable(dirLightList)) {
    adapter.BeginEvent("DIR LIGHTS");
    SetSharedConstants(*dirPass, player, view);
    for (const DirLightRecord& light : dirLightList) {
      if (!IsDrawable(light)) continue;
      DrawDirLight(draw, *dirPass, light.direction, light.color, !emitted);
      emitted = true;
    }
    adapter.EndEvent();
  }
  if (!pointPass || !currentLightVolume || !AnyDrawable(pointLightList)) return;
  if (dirPass && !emitted) {
    adapter.BeginEvent("EMISSION");
    SetSharedConstants(*dirPass, player, view);
    DrawDirLight(draw, *dirPass, {0.0f, 0.0f, 1.0f, 0.0f}, {}, true);
    adapter.EndEvent();
  }
  adapter.BeginEvent("POINT LIGHTS");
  SetSharedConstants(*pointPass, player, view);
  const Matrix viewProj = Multiply(view, player.projection);
  for (const PointLightRecord& light : pointLightList) {
    if (IsDrawable(light)) DrawPointLight(draw, *pointPass, currentLightVolume->lightSphere, light, viewProj);
  }
  draw.UnbindResources(*pointPass);
  adapter.EndEvent();
}

}  // namespace

LightPassOp::LightPassOp() : Operator(kCategoryScene) {
  AddInertInput("SceneIn", kPortScene);
  AddTextInput("PointLight", "data\\shaders\\lights\\pointLight.hlsl", kHintShaderPath);
  AddTextInput("DirLight", "data\\shaders\\lights\\dirLight.hlsl", kHintShaderPath);
  AddOutput("ImageOut", kPortImage, std::make_unique<LightPassFunction>());
}

LightPassOp::LightPassFunction::~LightPassFunction() {
  if (pointPass) DestroyShaderPass(pointPass);
  if (dirPass) DestroyShaderPass(dirPass);
}

void LightPassOp::LightPassFunction::LoadPasses(float time, const PortList& sources, Player& player) {
  sources[kPointLight]->Evaluate(time, player);
  const std::string pointPath = player.text;
  sources[kDirLight]->Evaluate(time, player);
  const std::string dirPath = player.text;
  Adapter* adapter = player.renderer->adapter;
  if (!pointPass && LoadShaderPassFromFile(adapter, pointPath, kLightEntries, pointPass)) {
    SetState(pointPass, GetRenderState(adapter, LightStateDesc(kStateCullFront, true)));
  }
  if (!dirPass && LoadShaderPassFromFile(adapter, dirPath, kLightEntries, dirPass)) {
    SetState(dirPass, GetRenderState(adapter, LightStateDesc(kStateCullBack, false)));
  }
  dirty = false;
}

void LightPassOp::LightPassFunction::Evaluate(float time, const PortList& sources, Player& player) {
  // Without a renderer (no GPU) the scene still runs, so its lights are still listed.
  if (!player.renderer || !player.gbuffer) {
    sources[kSceneIn]->Evaluate(time, player);
    return;
  }
  if (dirty) LoadPasses(time, sources, player);
  player.targets = GBufferTargets(player);
  player.pass = player.renderer->gbufferPass;
  sources[kSceneIn]->Evaluate(time, player);

  GpuResource* lit = TakeLitTarget(player);
  if (lit == nullptr) return;
  DrawContext& draw = *player.renderer->drawContext;
  TargetSet litTargets = LitTargets(lit, player.rect);
  litTargets.depth = coverage.Fit(player.renderer->adapter, *lit);
  draw.SetTargets(litTargets);
  if (litTargets.depth) coverage.Mark(draw, player.gbuffer->targets[0], player.depth);
  DrawLights(dirPass, pointPass, player);
  draw.UnbindTargets();
  if (player.image == nullptr) return;
  // The lights were drawn within the player's rectangle of the screen-sized target: that region
  // fills the image, whatever its size.
  const TargetRect whole{0, 0, static_cast<int32_t>(player.image->Width()), static_cast<int32_t>(player.image->Height())};
  player.renderer->CopyRegion(player.image, lit, whole, RegionOf(player.rect, currentScreen), player.depth,
                              CopyStateDesc());
}

}  // namespace orvane
