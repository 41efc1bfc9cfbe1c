#include "ImageTestSupport.h"

#include <cstdio>

#include "graph/OperatorRegistry.h"
#include "image/PostEffects.h"
#include "render/Camera.h"
#include "render/ConstantBuffer.h"

namespace orvane::test {
namespace {

const OperatorRegistration<TestPaintOp> kRegistration{"TestPaint"};
enum PaintInput : size_t { kPattern, kColorR, kColorG, kColorB, kColorA, kSlope };

const char* const kPaintPS = R"(#version 450 core
layout(std140, binding = 0) uniform Paint { vec4 gColor; vec4 gViewport; float gPattern; float gSlope; };
layout(location = 0) out vec4 outColor;
void main() {
  vec2 p = gl_FragCoord.xy - gViewport.xy;
  int pattern = int(gPattern);
  if (pattern == 1) outColor = p.y < gSlope * p.x + 12.0 ? gColor : vec4(0.0, 0.0, 0.0, 1.0);
  else if (pattern == 2) outColor = gColor * (p.x / gViewport.z);
  else if (pattern == 3) outColor = vec4(uintBitsToFloat(p.x < gViewport.z * 0.5 ? 0x7F800000u : 0x7FC00000u));
  else outColor = gColor;
}
)";

const char* const kReadPS = R"(#version 450 core
layout(binding = 0) uniform sampler2D gSource;
layout(location = 0) out vec4 outColor;
void main() { outColor = texelFetch(gSource, ivec2(gl_FragCoord.xy), 0); }
)";

Camera DefaultCamera() {
  Camera camera;
  camera.nearPlane = 0.1f;
  camera.farPlane = 1000.0f;
  camera.fieldOfView = 45.0f;
  camera.mode = kProjectionPerspective;
  UpdateProjection(camera, kSize, kSize);
  return camera;
}

}  // namespace

TestPaintOp::TestPaintOp() : Operator(kCategoryScene) {
  AddFloatInput("Pattern", 0.0f);
  AddFloatInput("Color.R", 1.0f);
  AddFloatInput("Color.G", 1.0f);
  AddFloatInput("Color.B", 1.0f);
  AddFloatInput("Color.A", 1.0f);
  AddFloatInput("Slope", 0.4f);
  AddOutput("SceneOut", kPortScene, std::make_unique<PaintFunction>(*this));
}

TestPaintOp::~TestPaintOp() {
  if (pass) DestroyShaderPass(pass);
}

void TestPaintOp::PaintFunction::Evaluate(float time, const PortList& sources, Player& player) {
  ++owner_.evaluations;
  owner_.seenRect = player.rect;
  owner_.seenImage = player.image;
  const float pattern = EvaluateFloat(sources, kPattern, time, player);
  float color[4];
  for (size_t c = 0; c < 4; ++c) color[c] = EvaluateFloat(sources, kColorR + c, time, player);
  const float slope = EvaluateFloat(sources, kSlope, time, player);
  if (pattern < 0.0f || player.image == nullptr) return;
  if (owner_.pass == nullptr) {
    owner_.pass = CreateShaderPass(currentAdapter);
    AddShader(owner_.pass, ShaderBlob::FromText(kFullScreenVS, kStageVertex));
    AddShader(owner_.pass, ShaderBlob::FromText(kPaintPS, kStagePixel));
  }
  const TargetRect& r = player.rect;
  const float viewport[4] = {static_cast<float>(r.left), static_cast<float>(r.top),
                             static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top)};
  ConstantBuffer* constants = owner_.pass->constantBuffers[0];
  constants->BeginUpdate();
  constants->SetConstant("gColor", color);
  constants->SetConstant("gViewport", viewport);
  constants->SetConstant("gPattern", &pattern);
  constants->SetConstant("gSlope", &slope);
  constants->EndUpdate();
  TargetSet targets;
  targets.color[0] = player.image;
  targets.rect = player.rect;
  DrawContext& draw = *currentAdapter->drawContext;
  draw.SetTargets(targets);
  draw.DrawFullScreen(*owner_.pass, 3);
  draw.UnbindTargets();
}

void ImageRenderTest::SetUp() {
  RenderTest::SetUp();
  static const Camera camera = DefaultCamera();
  ASSERT_NE(CreatePostEffects(adapter(), currentScreen, &camera), nullptr);
  copy_ = MakePass(kFullScreenVS, kReadPS);
}

void ImageRenderTest::TearDown() {
  DestroyPostEffects();
  copy_.reset();
}

void ImageRenderTest::PrepareSwapTargets(Player& player) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA32F;
  desc.width = kSize;
  desc.height = kSize;
  for (GpuResource*& target : player.images) target = CreateResource(currentAdapter, desc, nullptr);
  player.imageIndex = 0;
  player.rect = {0, 0, static_cast<int32_t>(kSize), static_cast<int32_t>(kSize)};
}

std::vector<Rgba> ImageRenderTest::ReadImage(GpuResource* image) {
  if (image == nullptr) return {};
  if (image->desc.format == kFormatRGBA32F) return ReadPixels(*image);
  ResourcePtr floats = MakeTarget(image->Width(), image->Height());
  CopyImage(image, floats.get());
  return ReadPixels(*floats);
}

void ImageRenderTest::CopyImage(GpuResource* source, GpuResource* destination) {
  SetTexture(copy_.get(), 0, source, nullptr);
  draw().SetTargets(Targets(destination));
  draw().DrawFullScreen(*copy_, 3);
  draw().UnbindTargets();
}

void SetInput(Operator& op, const char* name, float value) {
  Port* port = op.FindPort(name);
  ASSERT_NE(port, nullptr) << name;
  auto* held = dynamic_cast<Float*>(port->function->GetValue());
  ASSERT_NE(held, nullptr) << name;
  held->value = value;
}

std::string GraphText(const std::vector<std::string>& operators) {
  std::string text = "operator { type: FinalOutput; }\n";
  for (const std::string& body : operators) text += "operator[] { type: " + body + " }\n";
  return text;
}

std::string Link(int source, const char* sourceProp, int target, const char* targetProp, int index) {
  char text[256];
  std::snprintf(text, sizeof text, " connection[%d] { source: %d; sourceProp: %s; target: %d; targetProp: %s; }",
                index, source, sourceProp, target, targetProp);
  return text;
}

}  // namespace orvane::test
