#include "scene/ParticleRenderer.h"

#include "app/Player.h"
#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/Diagnostics.h"
#include "render/RenderState.h"
#include "render/ShaderPass.h"
#include "render/VertexElement.h"
#include "render/VertexLayout.h"
#include "render/VertexStream.h"
#include "resources/ResourceLoader.h"
#include "scene/ParticleSimulation.h"
#include "scene/SceneRenderer.h"

namespace orvane {
namespace {

// POSITION float3, COLOR0 float4, TEXCOORD0 float2.
constexpr VertexElement kParticleElements[] = {
    MakeElement(kSemanticPosition), MakeElement(kSemanticColor0, 0, kElementFloat4), MakeElement(kSemanticTexcoord0), 0};
static_assert(kParticleElements[1] == 0x40008);

constexpr ShaderEntries kSpriteEntries{.vertex = "mainVS", .geometry = "mainGS", .pixel = "mainPS"};

}  // namespace

ParticleRenderer::ParticleRenderer(Adapter* adapter, RenderState* state) {
  DebugPrint("LoadShader %s\n", "pointsprites");
  pass = CreateShaderPass(adapter);
  LoadShaderPass("pointsprites", kSpriteEntries, pass, false);
  SetState(pass, state);
  layout_ = CreateVertexLayout(adapter, kParticleElements);
  stream_ = std::make_unique<VertexStream>(adapter, static_cast<uint32_t>(sizeof(ParticleVertex)),
                                           static_cast<uint32_t>(ParticleSimulation::kCapacity));
  geometry_.adapter = adapter;
  geometry_.vertices[0] = stream_->resource();
  if (layout_ && geometry_.vertices[0]) {
    SetupGeometry(layout_, geometry_, kPrimitivePoints);
    FinishGeometry(geometry_);
  }
}

ParticleRenderer::~ParticleRenderer() {
  geometry_.vertices[0] = nullptr;  // the stream's
  ReleaseGeometry(geometry_);
  stream_.reset();
  if (layout_) DestroyVertexLayout(layout_);
  if (pass) DestroyShaderPass(pass);
}

void ParticleRenderer::Upload(const ParticleSimulation& simulation) {
  uploaded_ = 0;
  auto* vertices = static_cast<ParticleVertex*>(stream_->BeginWrite());
  if (vertices == nullptr) return;
  const int32_t count = simulation.count();
  for (int32_t i = 0; i < count; ++i) {
    const Particle& p = simulation[i];
    vertices[i] = ParticleVertex{{p.position.x, p.position.y, p.position.z},
                                 {p.color.x, p.color.y, p.color.z, p.color.w},
                                 {p.size, 0.0f}};
  }
  uploaded_ = static_cast<uint32_t>(count);
}

void ParticleRenderer::Draw(Player& player, float spriteWidth, float spriteHeight) {
  if (geometry_.vertexBuffers[0] == 0 || layout_ == nullptr) return;
  ShaderPass* const previous = player.pass;
  player.pass = pass;
  if (ConstantBuffer* constants = pass->constantBuffers[1]) {
    const float size[4] = {spriteWidth, spriteHeight, 0.0f, 0.0f};
    constants->BeginUpdate();
    constants->SetConstant("gSize", size);
    constants->EndUpdate();
  }
  geometry_.baseVertex = stream_->firstVertex();
  if (uploaded_ > 0) player.renderer->DrawMeshRange(geometry_, player, uploaded_);
  stream_->EndDraw();
  player.pass = previous;
}

}  // namespace orvane
