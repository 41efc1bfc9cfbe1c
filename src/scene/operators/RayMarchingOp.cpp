#include "scene/operators/RayMarchingOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "render/ConstantBuffer.h"
#include "render/DrawContext.h"
#include "render/RenderState.h"
#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneInputs.h"
#include "scene/SceneRenderer.h"

namespace orvane {
namespace {
const OperatorRegistration<RayMarchingOp> kRegistration{
    "RayMarching", "Draws a ray-marching shader into the G-buffer, with depth, like a mesh."};
enum Input : size_t { kFilepath, kParam1X, kParam2X = kParam1X + 4 };

constexpr ShaderEntries kMarchEntries{.vertex = "VS", .pixel = "PS"};

Vector4 EvaluateFloat4(const PortList& sources, size_t first, float time, Player& player) {
  Vector4 v = EvaluateFloat3(sources, first, time, player);
  v.w = EvaluateFloat(sources, first + 3, time, player);
  return v;
}

Vector4 Row(const Matrix& m, int row) { return {m.m[row][0], m.m[row][1], m.m[row][2], m.m[row][3]}; }

// Scalars and pairs are handed over in 16-byte slots: a shader that declares a wider type than
// expected reads zeros rather than memory beyond the value.
Vector4 Scalar(float value) { return {value, 0.0f, 0.0f, 0.0f}; }
}  // namespace

RayMarchingOp::RayMarchingOp() : Operator(kCategoryScene) {
  AddTextInput("Filepath", "", kHintShaderPath);
  for (const char* name : {"Param1.X", "Param1.Y", "Param1.Z", "Param1.W", "Param2.X", "Param2.Y", "Param2.Z",
                           "Param2.W"}) {
    AddFloatInput(name, 1.0f);
  }
  AddOutput("SceneOut", kPortScene, std::make_unique<RayMarchFunction>());
}

RayMarchingOp::RayMarchFunction::~RayMarchFunction() {
  if (pass) DestroyShaderPass(pass);
}

// Loaded once: a path that fails is not tried again, and a later change of the path is not
// followed. An empty path is retried every frame.
void RayMarchingOp::RayMarchFunction::Load(const std::string& path, Player& player) {
  Adapter* adapter = player.renderer->adapter;
  if (LoadShaderPassFromFile(adapter, path, kMarchEntries, pass)) {
    SetState(pass, player.renderer->gbufferPass ? player.renderer->gbufferPass->state : nullptr);
  }
  dirty = false;
}

void RayMarchingOp::RayMarchFunction::SetMarchConstants(float time, const PortList& sources, Player& player) {
  ConstantBuffer* constants = pass->constantBuffers[1];
  if (constants == nullptr) return;
  const Vector4 param1 = EvaluateFloat4(sources, kParam1X, time, player);
  const Vector4 param2 = EvaluateFloat4(sources, kParam2X, time, player);
  const Vector4 resolution{static_cast<float>(player.rect.right - player.rect.left),
                           static_cast<float>(player.rect.bottom - player.rect.top), 0.0f, 0.0f};
  const Vector4 timeSlot = Scalar(time);
  const Vector4 fov = Scalar(player.fov);
  const Vector4 eye = Row(player.camera, 3);
  const Vector4 forward = Row(player.camera, 2);
  constants->BeginUpdate();
  constants->SetConstant("gTime", &timeSlot);
  constants->SetConstant("gResolution", &resolution);
  constants->SetConstant("gParam1", &param1);
  constants->SetConstant("gParam2", &param2);
  constants->SetConstant("gCamPos", &eye);
  constants->SetConstant("gCamDir", &forward);
  constants->SetConstant("gFOV", &fov);
  constants->EndUpdate();
}

void RayMarchingOp::RayMarchFunction::Evaluate(float time, const PortList& sources, Player& player) {
  sources[kFilepath]->Evaluate(time, player);
  const std::string path = player.text;
  if (!player.renderer) return;
  if (dirty && !path.empty()) Load(path, player);
  if (pass == nullptr || !pass->HasStage(kStageVertex) || !pass->HasStage(kStagePixel)) return;

  player.renderer->SetDrawConstants(*pass, player);
  SetMarchConstants(time, sources, player);
  DrawContext& draw = *player.renderer->drawContext;
  draw.SetTargets(player.targets);
  draw.DrawFullScreen(*pass, 3);
  draw.UnbindResources(*pass);
  draw.UnbindTargets();
}

}  // namespace orvane
