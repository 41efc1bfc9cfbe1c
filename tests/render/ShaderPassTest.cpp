// Shader passes: reflection into constant buffers, constants by name, refused stages, optional
// geometry and tessellation stages.
#include "RenderFixture.h"
#include "render/ConstantBuffer.h"
#include "render/DrawCall.h"
#include "render/Sampler.h"

namespace orvane::test {
namespace {

constexpr Rgba kGreen{0, 1, 0, 1};
constexpr Rgba kClear{0.25f, 0.5f, 0.75f, 1.0f};

// The covering triangle, moved out of sight when gOffset.x > 0.5.
const char* const kSharedVS = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(std140, binding = 0) uniform Params { vec4 gOffset; vec4 gColor; };
void main() {
  vec2 p = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2) * vec2(2.0, -2.0) + vec2(-1.0, 1.0);
  gl_Position = vec4(p + gOffset.xy * 8.0, 0.0, 1.0);
}
)";
const char* const kSharedPS = R"(#version 450 core
layout(std140, binding = 0) uniform Params { vec4 gOffset; vec4 gColor; };
layout(location = 0) out vec4 outColor;
void main() { outColor = gColor; }
)";

using ShaderPasses = RenderTest;

TEST_F(ShaderPasses, VertexAndPixelStageShareOneConstantBuffer) {
  PassPtr pass = MakePass(kSharedVS, kSharedPS);
  ConstantBuffer* params = pass->constantBuffers[0];
  ASSERT_NE(params, nullptr);
  EXPECT_EQ(params->stageMask, 0b10001u);
  EXPECT_EQ(params->slot, 0u);
  EXPECT_EQ(params->size, 32u);
  for (uint32_t r = 1; r < kMaxConstantBuffers; ++r) EXPECT_EQ(pass->constantBuffers[r], nullptr);
  ASSERT_EQ(params->variables().size(), 2u);
  EXPECT_EQ(params->FindVariable("gOffset")->offset, 0u);
  EXPECT_EQ(params->FindVariable("gColor")->offset, 16u);
  EXPECT_EQ(params->FindVariable("gColor")->size, 16u);

  ResourcePtr target = MakeTarget(8, 8);
  const Rgba inPlace{0, 0, 0, 0}, away{1, 0, 0, 0};
  struct Case {
    Rgba offset;
    Rgba expected;
  };
  for (const Case& c : {Case{inPlace, kGreen}, Case{away, kClear}}) {
    params->BeginUpdate();
    params->SetConstant("gOffset", &c.offset);
    params->SetConstant("gColor", &kGreen);
    params->EndUpdate();
    draw().SetTargets(Targets(target.get(), nullptr, kClear));
    draw().DrawFullScreen(*pass, 3);
    draw().UnbindTargets();
    ExpectColorNear(PixelAt(*target, 4, 4), c.expected);
  }
}

TEST_F(ShaderPasses, SetConstantOfAnUnknownNameChangesNothing) {
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  ConstantBuffer& params = *pass->constantBuffers[0];
  params.BeginUpdate();
  params.SetConstant("gColor", &kGreen);
  params.EndUpdate();
  const std::vector<uint8_t> before = params.contents();
  const float time[4] = {99, 99, 99, 99};
  testing::internal::CaptureStderr();
  params.BeginUpdate();
  params.SetConstant("gTime", time);
  params.EndUpdate();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(params.contents(), before);
  params.SetConstant("gColor", time);  // outside an update: ignored
  EXPECT_EQ(params.contents(), before);

  ResourcePtr target = MakeTarget(4, 4);
  draw().SetTargets(Targets(target.get()));
  draw().DrawFullScreen(*pass, 3);
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*target, 1, 1), kGreen);
}

TEST_F(ShaderPasses, DrawsKeepTheConstantsTheyWereGivenAndIdleBuffersKeepTheirs) {
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  PassPtr idle = MakePass(kFullScreenVS, kSolidColorPS);
  ResourcePtr first = MakeTarget(4, 4);
  ResourcePtr second = MakeTarget(4, 4);
  ResourcePtr third = MakeTarget(4, 4);
  const Rgba red{1, 0, 0, 1}, blue{0, 0, 1, 1};
  idle->constantBuffers[0]->BeginUpdate();
  idle->constantBuffers[0]->SetConstant("gColor", &blue);
  idle->constantBuffers[0]->EndUpdate();

  draw().SetTargets(Targets(first.get()));
  FillWith(*pass, kGreen);
  draw().SetTargets(Targets(second.get()));
  FillWith(*pass, red);  // rewritten before the first draw has been read back
  // Many updates of another buffer carry the constant data round the whole ring and more.
  ConstantBuffer& busy = *pass->constantBuffers[0];
  for (int i = 0; i < 700000; ++i) {
    busy.BeginUpdate();
    busy.SetConstant("gColor", &red);
    busy.EndUpdate();
  }
  draw().SetTargets(Targets(third.get()));
  draw().DrawFullScreen(*idle, 3);  // last updated long ago
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*first, 1, 1), kGreen);
  ExpectColorNear(PixelAt(*second, 1, 1), red);
  ExpectColorNear(PixelAt(*third, 1, 1), blue);
}

TEST_F(ShaderPasses, ReflectionGivesOffsetsAndWholeSizesOfMatricesAndArrays) {
  const char* ps = R"(#version 450 core
layout(std140, binding = 3) uniform Scene {
  mat4 gProj; vec3 gDirection; float gArray[3]; vec2 gRegionScale;
};
layout(location = 0) out vec4 outColor;
void main() { outColor = gProj[0] + vec4(gDirection, gArray[2]) + gRegionScale.xyxy; }
)";
  PassPtr pass = MakePass(kFullScreenVS, ps);
  ConstantBuffer* scene = pass->constantBuffers[3];
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(scene->stageMask, 1u << kStagePixel);
  struct Expected {
    const char* name;
    uint32_t offset, size;
  };
  for (const Expected& e : {Expected{"gProj", 0, 64}, Expected{"gDirection", 64, 12},
                            Expected{"gArray", 80, 36}, Expected{"gRegionScale", 128, 8}}) {
    SCOPED_TRACE(e.name);
    const ConstantBuffer::Variable* v = scene->FindVariable(e.name);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->offset, e.offset);
    EXPECT_EQ(v->size, e.size);
  }
}

TEST_F(ShaderPasses, StagesThatDoNotBuildAreReportedAndLeftOut) {
  PassPtr pass(CreateShaderPass(adapter()));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(AddShader(
      pass.get(), ShaderBlob::FromText("#version 450 core\nvoid main() { oops }\n", kStageVertex)));
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find("vertex stage"), std::string::npos);
  EXPECT_FALSE(LastCompilerMessage().empty());
  EXPECT_NE(printed.find(LastCompilerMessage()), std::string::npos);
  EXPECT_FALSE(pass->HasStage(kStageVertex));
  EXPECT_TRUE(AddShader(pass.get(), ShaderBlob::FromText(kSolidColorPS, kStagePixel)));

  ResourcePtr target = MakeTarget(4, 4);
  draw().SetTargets(Targets(target.get(), nullptr, kClear));
  draw().DrawFullScreen(*pass, 3);  // no vertex stage: nothing is drawn
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*target, 1, 1), kClear);

  PassPtr noPixel(CreateShaderPass(adapter()));
  EXPECT_TRUE(AddShader(noPixel.get(), ShaderBlob::FromText(kFullScreenVS, kStageVertex)));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(AddShader(
      noPixel.get(), ShaderBlob::FromText("#version 450 core\nout vec4 c; void main() { c = x; }\n",
                                          kStagePixel)));
  testing::internal::GetCapturedStderr();
  draw().SetTargets(Targets(target.get(), nullptr, kClear));
  draw().DrawFullScreen(*noPixel, 3);  // whatever it leaves, drawing goes on
  draw().UnbindTargets();
}

TEST_F(ShaderPasses, MoreThanEightBlocksOrABindingAboveSevenIsRefused) {
  std::string nine = "#version 450 core\nlayout(location = 0) out vec4 outColor;\n";
  std::string sum = "vec4(0)";
  for (int i = 0; i < 9; ++i) {
    nine += "layout(std140, binding = " + std::to_string(i % 8) + ") uniform B" +
            std::to_string(i) + " { vec4 v" + std::to_string(i) + "; };\n";
    sum += " + v" + std::to_string(i);
  }
  nine += "void main() { outColor = " + sum + "; }\n";
  const std::string highBinding = R"(#version 450 core
layout(std140, binding = 9) uniform High { vec4 gColor; };
layout(location = 0) out vec4 outColor;
void main() { outColor = gColor; }
)";
  struct Case {
    const char* name;
    std::string source;
    const char* message;
  };
  for (const Case& c : {Case{"nine blocks", nine, "9 uniform blocks"},
                        Case{"binding 9", highBinding, "binding 9"}}) {
    SCOPED_TRACE(c.name);
    PassPtr pass(CreateShaderPass(adapter()));
    testing::internal::CaptureStderr();
    const bool added = AddShader(pass.get(), ShaderBlob::FromText(c.source, kStagePixel));
    const std::string printed = testing::internal::GetCapturedStderr();
    if (printed.find("failed to compile") != std::string::npos)
      GTEST_SKIP() << "driver refuses the shader itself";
    EXPECT_FALSE(added);
    EXPECT_NE(printed.find(c.message), std::string::npos) << printed;
    EXPECT_FALSE(pass->HasStage(kStagePixel));
    for (ConstantBuffer* buffer : pass->constantBuffers) EXPECT_EQ(buffer, nullptr);
  }
}

TEST_F(ShaderPasses, SetTextureGrowsThePixelListsToTheRegister) {
  PassPtr pass = MakePass(kFullScreenVS, kSolidColorPS);
  ResourcePtr texture = MakeTarget(4, 4);
  SamplerDesc desc;
  Sampler* sampler = GetSampler(adapter(), desc);
  SetTexture(pass.get(), 2, texture.get(), sampler);
  ASSERT_EQ(pass->textures[kStagePixel].size(), 3u);
  ASSERT_EQ(pass->samplers[kStagePixel].size(), 3u);
  EXPECT_EQ(pass->textures[kStagePixel][0], nullptr);
  EXPECT_EQ(pass->textures[kStagePixel][1], nullptr);
  EXPECT_EQ(pass->textures[kStagePixel][2], texture.get());
  EXPECT_EQ(pass->samplers[kStagePixel][2], sampler);
  for (int stage = 0; stage < kStagePixel; ++stage) EXPECT_TRUE(pass->textures[stage].empty());
}

// Three control points, passed through and tessellated into the triangle they span.
const char* const kPatchVS = R"(#version 450 core
layout(location = 0) out vec2 corner;
void main() {
  const vec2 corners[3] = vec2[](vec2(-1, -1), vec2(-1, 1), vec2(1, 1));
  corner = corners[gl_VertexID % 3];
}
)";
const char* const kPatchHS = R"(#version 450 core
layout(vertices = 3) out;
layout(location = 0) in vec2 corner[];
layout(location = 0) out vec2 controlPoint[];
void main() {
  controlPoint[gl_InvocationID] = corner[gl_InvocationID];
  gl_TessLevelOuter[0] = 4.0; gl_TessLevelOuter[1] = 4.0; gl_TessLevelOuter[2] = 4.0;
  gl_TessLevelInner[0] = 4.0;
}
)";
const char* const kPatchDS = R"(#version 450 core
layout(triangles, equal_spacing, ccw) in;
layout(location = 0) in vec2 controlPoint[];
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 p = gl_TessCoord.x * controlPoint[0] + gl_TessCoord.y * controlPoint[1]
         + gl_TessCoord.z * controlPoint[2];
  gl_Position = vec4(p, 0.0, 1.0);
}
)";
const char* const kTriangleVS = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
void main() {
  const vec2 corners[3] = vec2[](vec2(-1, -1), vec2(-1, 1), vec2(1, 1));
  gl_Position = vec4(corners[gl_VertexID % 3], 0.0, 1.0);
}
)";

TEST_F(ShaderPasses, TessellatedPassDrawsItsPatches) {
  PassPtr pass = MakePass(kPatchVS, kSolidColorPS, "", kPatchHS, kPatchDS);
  Geometry patches;
  SetupGeometry(nullptr, patches, kPrimitivePatches | 3);
  FinishGeometry(patches);
  ASSERT_EQ(patches.topology, 35u);
  patches.vertexCount = 3;
  ResourcePtr target = MakeTarget(16, 16);
  pass->constantBuffers[0]->BeginUpdate();
  pass->constantBuffers[0]->SetConstant("gColor", &kGreen);
  pass->constantBuffers[0]->EndUpdate();
  draw().SetTargets(Targets(target.get(), nullptr, kClear));
  DrawCall call;
  call.pass = pass.get();
  call.geometry = &patches;
  draw().Draw(call);
  draw().UnbindTargets();
  // The triangle (-1,-1), (-1,1), (1,1) covers the upper left: top-right and bottom-left corners
  // differ.
  ExpectColorNear(PixelAt(*target, 2, 1), kGreen);
  ExpectColorNear(PixelAt(*target, 13, 14), kClear);
}

TEST_F(ShaderPasses, HullWithoutDomainBindsNeither) {
  PassPtr pass = MakePass(kTriangleVS, kSolidColorPS, "", kPatchHS, "");
  EXPECT_TRUE(pass->HasStage(kStageHull));
  Geometry triangle;
  SetupGeometry(nullptr, triangle, kPrimitiveTriangles);
  FinishGeometry(triangle);
  triangle.vertexCount = 3;
  ResourcePtr target = MakeTarget(16, 16);
  pass->constantBuffers[0]->BeginUpdate();
  pass->constantBuffers[0]->SetConstant("gColor", &kGreen);
  pass->constantBuffers[0]->EndUpdate();
  draw().SetTargets(Targets(target.get(), nullptr, kClear));
  DrawCall call;
  call.pass = pass.get();
  call.geometry = &triangle;
  draw().Draw(call);
  draw().UnbindTargets();
  ExpectColorNear(PixelAt(*target, 2, 1), kGreen);
  ExpectColorNear(PixelAt(*target, 13, 14), kClear);
}

TEST_F(ShaderPasses, GeometryStageExpandsPointsIntoQuads) {
  const char* vs = R"(#version 450 core
layout(location = 0) out vec2 centre;
void main() { centre = vec2(-0.5, 0.0); }
)";
  const char* gs = R"(#version 450 core
layout(points) in;
layout(triangle_strip, max_vertices = 4) out;
layout(location = 0) in vec2 centre[];
out gl_PerVertex { vec4 gl_Position; };
void main() {
  for (int i = 0; i < 4; ++i) {
    vec2 corner = vec2(i & 1, i >> 1) * vec2(2.0, -2.0) + vec2(-1.0, 1.0);
    gl_Position = vec4(centre[0] + corner * vec2(0.5, 1.0), 0.0, 1.0);
    EmitVertex();
  }
  EndPrimitive();
}
)";
  PassPtr pass = MakePass(vs, kSolidColorPS, gs);
  ASSERT_TRUE(pass->HasStage(kStageGeometry));
  Geometry point;
  SetupGeometry(nullptr, point, kPrimitivePoints);
  FinishGeometry(point);
  point.vertexCount = 1;
  ResourcePtr target = MakeTarget(16, 16);
  pass->constantBuffers[0]->BeginUpdate();
  pass->constantBuffers[0]->SetConstant("gColor", &kGreen);
  pass->constantBuffers[0]->EndUpdate();
  draw().SetTargets(Targets(target.get(), nullptr, kClear));
  DrawCall call;
  call.pass = pass.get();
  call.geometry = &point;
  draw().Draw(call);
  draw().UnbindTargets();
  const std::vector<Rgba> pixels = ReadPixels(*target);
  for (uint32_t y = 0; y < 16; y += 3)
    for (uint32_t x = 0; x < 16; ++x) ExpectColorNear(pixels[y * 16 + x], x < 8 ? kGreen : kClear);
}

}  // namespace
}  // namespace orvane::test
