#include "scene/SceneRenderer.h"

#include <array>
#include <cstring>

#include "app/Player.h"
#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/Diagnostics.h"
#include "render/DrawCall.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/Matrix.h"
#include "render/RenderState.h"
#include "render/Sampler.h"
#include "render/SamplerDesc.h"
#include "render/ShaderPass.h"
#include "render/TargetSet.h"
#include "resources/ResourceLoader.h"
#include "scene/ViewportRegion.h"

namespace orvane {
namespace {

// Every covered pixel gets stencil 1, so that the light pass copies only where geometry is.
RenderStateDesc GBufferStateDesc() {
  RenderStateDesc desc;
  desc.flags = kStateDepthTest | kStateDepthWrite | kStateStencil | kStateCullBack;
  desc.depthComparison = kCompareLessEqual;
  desc.stencilReadMask = 0xFF;
  desc.stencilWriteMask = 0xFF;
  desc.stencilReference = 1;
  desc.front = {kStencilKeep, kStencilKeep, kStencilReplace, kCompareAlways};
  desc.back = desc.front;
  return desc;
}

ShaderPass* LoadPass(Adapter* adapter, const char* name, const char* vertexEntry = "VS") {
  DebugPrint("LoadShader %s\n", name);
  ShaderPass* pass = CreateShaderPass(adapter);
  LoadShaderPass(name, ShaderEntries{.vertex = vertexEntry, .pixel = "PS"}, pass, false);
  return pass;
}

TargetSet SingleTarget(GpuResource* destination, const TargetRect& rect, GpuResource* depth, bool clear) {
  TargetSet targets;
  targets.depth = depth;
  targets.color[0] = destination;
  targets.clearFlags = clear ? (kClearColor | kClearDepthStencil) : 0;
  targets.rect = rect;
  return targets;
}

}  // namespace

Matrix ViewFromCamera(const Matrix& camera) { return RigidInverse(camera); }

SceneRenderer::SceneRenderer(Adapter* adapter_, DrawContext* drawContext_)
    : adapter(adapter_), drawContext(drawContext_) {
  gbufferPass = LoadPass(adapter, "gbuffer");
  SetState(gbufferPass, GetRenderState(adapter, GBufferStateDesc()));
  copyPass = LoadPass(adapter, "copy");
  copyRegionPass = LoadPass(adapter, "copy", "RegionVS");
  // Looked up once: every mesh draw and every copy binds one of these.
  linearSampler_ = GetSampler(adapter, MakeSamplerDesc(kFilterMinMagLinear, kAddressWrap));
  pointSampler_ = GetSampler(adapter, MakeSamplerDesc(kFilterPoint, kAddressWrap));
  SamplerDesc data = MakeSamplerDesc(kFilterMinMagLinear, kAddressWrap);
  data.mode |= kSamplerRawColor;
  dataSampler_ = GetSampler(adapter, data);

  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceShaderView | kUsageDefault;
  desc.format = kFormatRGBA8;
  desc.width = 2;
  desc.height = 2;
  std::array<uint8_t, 16> texels;
  texels.fill(0xFF);
  white = CreateResource(adapter, desc, texels.data());
}

SceneRenderer::~SceneRenderer() {
  if (white) DestroyResource(white);
  if (copyRegionPass) DestroyShaderPass(copyRegionPass);
  if (copyPass) DestroyShaderPass(copyPass);
  if (gbufferPass) DestroyShaderPass(gbufferPass);
}

void SceneRenderer::SetDrawConstants(ShaderPass& pass, const Player& player) {
  // Colour slots (albedo, emissive) are decoded to linear light by the sampler where the texture
  // is display-encoded; roughness and metalness are data and are read as stored.
  const std::array<GpuResource*, 4> textures{player.albedoTex, player.roughnessTex, player.metalnessTex,
                                             player.emissiveTex};
  const std::array<Sampler*, 4> samplers{linearSampler_, dataSampler_, dataSampler_, linearSampler_};
  for (uint32_t slot = 0; slot < textures.size(); ++slot) {
    SetTexture(&pass, slot, textures[slot] ? textures[slot] : white, samplers[slot]);
  }
  ConstantBuffer* constants = pass.constantBuffers[0];
  if (constants == nullptr) return;

  const Matrix view = ViewFromCamera(player.camera);
  const Matrix worldView = Multiply(player.world, view);
  const Matrix worldViewProj = Multiply(worldView, player.projection);
  const Matrix transposed[4] = {Transpose(worldViewProj), Transpose(worldView), Transpose(player.projection),
                                Transpose(NormalTransform(worldView))};
  constants->BeginUpdate();
  constants->SetConstant("gWorldViewProj", &transposed[0]);
  constants->SetConstant("gWorldView", &transposed[1]);
  constants->SetConstant("gProj", &transposed[2]);
  constants->SetConstant("gNormalMatrix", &transposed[3]);
  constants->SetConstant("gBaseColor", player.baseColor);
  constants->SetConstant("gSpecularMapColor", player.specularColor);
  constants->SetConstant("gRoughness", &player.roughness);
  constants->SetConstant("gMetalness", &player.metalness);
  constants->SetConstant("gEmissiveColor", player.emissiveColor);
  constants->EndUpdate();
}

void SceneRenderer::Draw(Geometry& geometry, Player& player, const DrawRange* range) {
  if (player.pass == nullptr) return;
  drawContext->SetTargets(player.targets);
  SetDrawConstants(*player.pass, player);
  DrawCall call;
  call.pass = player.pass;
  call.geometry = &geometry;
  call.range = range;
  drawContext->Draw(call);
  drawContext->UnbindTargets();
}

void SceneRenderer::DrawMesh(Geometry& geometry, Player& player) { Draw(geometry, player, nullptr); }

void SceneRenderer::DrawMeshRange(Geometry& geometry, Player& player, uint32_t count) {
  const DrawRange range{0, count};
  Draw(geometry, player, &range);
}

void SceneRenderer::Copy(GpuResource* destination, GpuResource* source, const TargetRect& rect, GpuResource* depth,
                         const RenderStateDesc& desc, bool clear) {
  SetState(copyPass, GetRenderState(adapter, desc));
  SetTexture(copyPass, 0, source, pointSampler_);
  drawContext->SetTargets(SingleTarget(destination, rect, depth, clear));
  drawContext->DrawFullScreen(*copyPass, 3);
  drawContext->UnbindResources(*copyPass);
  drawContext->UnbindTargets();
}

void SceneRenderer::CopyRegion(GpuResource* destination, GpuResource* source, const TargetRect& rect,
                               const RegionConstants& region, GpuResource* depth, const RenderStateDesc& desc) {
  if (ConstantBuffer* constants = copyRegionPass->constantBuffers[0]) {
    constants->BeginUpdate();
    constants->SetConstant("gRegionScale", region.scale);
    constants->SetConstant("gRegionOffset", region.offset);
    constants->EndUpdate();
  }
  SetState(copyRegionPass, GetRenderState(adapter, desc));
  SetTexture(copyRegionPass, 0, source, pointSampler_);
  drawContext->SetTargets(SingleTarget(destination, rect, depth, false));
  drawContext->DrawFullScreen(*copyRegionPass, 3);
  drawContext->UnbindResources(*copyRegionPass);
  drawContext->UnbindTargets();
}

void SceneRenderer::Clear(GpuResource* destination) {
  TargetSet targets;
  targets.color[0] = destination;
  targets.clearFlags = kClearColor;
  targets.rect = {0, 0, static_cast<int32_t>(destination->Width()), static_cast<int32_t>(destination->Height())};
  drawContext->SetTargets(targets);
  drawContext->UnbindTargets();
}

void SceneRenderer::DrawFullScreen(GpuResource* destination, ShaderPass& pass, const TargetRect& rect) {
  drawContext->SetTargets(SingleTarget(destination, rect, nullptr, false));
  drawContext->DrawFullScreen(pass, 3);
  drawContext->UnbindResources(pass);
  drawContext->UnbindTargets();
}

}  // namespace orvane
