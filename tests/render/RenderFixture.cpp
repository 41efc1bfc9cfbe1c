#include "RenderFixture.h"

#include <cstring>

#include "render/ConstantBuffer.h"
#include "render/Window.h"

namespace orvane::test {

const char* const kFullScreenVS = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) out vec2 uv;
void main() {
  vec2 p = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
  uv = p;
  gl_Position = vec4(p.x * 2.0 - 1.0, 1.0 - p.y * 2.0, 0.0, 1.0);
}
)";

const char* const kSolidColorPS = R"(#version 450 core
layout(std140, binding = 0) uniform Params { vec4 gColor; };
layout(location = 0) out vec4 outColor;
void main() { outColor = gColor; }
)";

namespace {

// One window and screen for the whole test process, made on first use.
class ScreenEnvironment : public testing::Environment {
public:
  void TearDown() override {
    if (!currentScreen) return;
    delete currentScreen;
    currentScreen = nullptr;
    CloseWindow(window_);
  }

  static void Ensure() {
    if (currentScreen) return;
    UseOffscreenVideoWhenHeadless(true);
    ScreenParams params;
    params.width = 64;
    params.height = 64;
    window_ = OpenWindow(params);
    ASSERT_NE(window_, nullptr);
    CreateScreen(window_, params);
  }

private:
  static inline SDL_Window* window_ = nullptr;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new ScreenEnvironment);

}  // namespace

void RenderTest::SetUp() {
  ScreenEnvironment::Ensure();
  ASSERT_NE(currentAdapter, nullptr);
  currentAdapter->BeginFrame();
}

PassPtr RenderTest::MakePass(const std::string& vs, const std::string& ps, const std::string& gs,
                             const std::string& hs, const std::string& ds) {
  PassPtr pass(CreateShaderPass(adapter()));
  const std::pair<const std::string*, int32_t> stages[] = {{&vs, kStageVertex},
                                                           {&hs, kStageHull},
                                                           {&ds, kStageDomain},
                                                           {&gs, kStageGeometry},
                                                           {&ps, kStagePixel}};
  for (const auto& [text, stage] : stages) {
    if (text->empty()) continue;
    EXPECT_TRUE(AddShader(pass.get(), ShaderBlob::FromText(*text, stage))) << stage;
  }
  return pass;
}

ResourcePtr RenderTest::MakeTarget(uint32_t width, uint32_t height, FormatCode format,
                                   uint32_t extraFlags) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView | extraFlags;
  desc.format = format;
  desc.width = width;
  desc.height = height;
  return ResourcePtr(CreateResource(adapter(), desc, nullptr));
}

ResourcePtr RenderTest::MakeDepth(uint32_t width, uint32_t height, FormatCode format) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceDepthStencil | kResourceShaderView;
  desc.format = format;
  desc.width = width;
  desc.height = height;
  return ResourcePtr(CreateResource(adapter(), desc, nullptr));
}

void RenderTest::MakeGeometry(OwnedGeometry& out, VertexLayout* layout, const void* vertices,
                              uint32_t vertexCount, uint32_t stride,
                              const std::vector<uint16_t>& indices, uint32_t flags) {
  ResourceDesc vertexDesc;
  vertexDesc.flags = kResourceVertexBuffer | kUsageImmutable;
  vertexDesc.bitsPerElement = stride * 8;
  vertexDesc.width = vertexCount;
  out.geometry.vertices[0] = CreateResource(adapter(), vertexDesc, vertices);
  if (!indices.empty()) {
    ResourceDesc indexDesc;
    indexDesc.flags = kResourceIndexBuffer | kUsageImmutable;
    indexDesc.bitsPerElement = 16;
    indexDesc.width = static_cast<uint32_t>(indices.size());
    out.geometry.index = CreateResource(adapter(), indexDesc, indices.data());
  }
  SetupGeometry(layout, out.geometry, flags);
  FinishGeometry(out.geometry);
}

TargetSet RenderTest::Targets(GpuResource* color, GpuResource* depth, Rgba clear) {
  TargetSet targets;
  targets.color[0] = color;
  targets.depth = depth;
  targets.clearFlags = kClearColor | kClearDepthStencil;
  const GpuResource* sized = color ? color : depth;
  targets.rect = {0, 0, static_cast<int32_t>(sized->Width()),
                  static_cast<int32_t>(sized->Height())};
  targets.clearColor[0] = clear.r;
  targets.clearColor[1] = clear.g;
  targets.clearColor[2] = clear.b;
  targets.clearColor[3] = clear.a;
  targets.clearDepth = 1.0f;
  return targets;
}

void RenderTest::FillWith(ShaderPass& pass, Rgba color) {
  ConstantBuffer* params = pass.constantBuffers[0];
  ASSERT_NE(params, nullptr);
  params->BeginUpdate();
  params->SetConstant("gColor", &color);
  params->EndUpdate();
  draw().DrawFullScreen(pass, 3);
}

std::vector<Rgba> RenderTest::ReadPixels(const GpuResource& target) {
  const std::vector<uint8_t> bytes = ReadTexture(target);
  std::vector<Rgba> pixels(bytes.size() / sizeof(Rgba));
  std::memcpy(pixels.data(), bytes.data(), pixels.size() * sizeof(Rgba));
  return pixels;
}

Rgba RenderTest::PixelAt(const GpuResource& target, uint32_t x, uint32_t y) {
  return ReadPixels(target)[y * target.Width() + x];
}

void ExpectColorNear(const Rgba& actual, const Rgba& expected, float tolerance) {
  EXPECT_NEAR(actual.r, expected.r, tolerance);
  EXPECT_NEAR(actual.g, expected.g, tolerance);
  EXPECT_NEAR(actual.b, expected.b, tolerance);
  EXPECT_NEAR(actual.a, expected.a, tolerance);
}

}  // namespace orvane::test
