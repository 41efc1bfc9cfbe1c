// Vertex layouts and geometry: ranged indexed draws, instancing, refused layouts.
#include <cstring>

#include "RenderFixture.h"
#include "render/ConstantBuffer.h"
#include "render/DrawCall.h"
#include "render/VertexLayout.h"

namespace orvane::test {
namespace {

constexpr Rgba kGreen{0, 1, 0, 1};
constexpr Rgba kClear{0.25f, 0.5f, 0.75f, 1.0f};

const char* const kPositionVS = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) in vec3 position;
layout(location = 8) in vec4 world0;
void main() { gl_Position = vec4(position.xy + world0.xy, position.z, 1.0); }
)";

struct Position {
  float x, y, z;
};

// Quad k covers column k of four, full height, wound clockwise.
void ColumnQuads(std::vector<Position>& vertices, std::vector<uint16_t>& indices) {
  for (int k = 0; k < 4; ++k) {
    const float left = -1.0f + 0.5f * static_cast<float>(k), right = left + 0.5f;
    const auto base = static_cast<uint16_t>(vertices.size());
    vertices.insert(vertices.end(), {{left, -1, 0}, {left, 1, 0}, {right, 1, 0}, {right, -1, 0}});
    for (uint16_t i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + i));
  }
}

class GeometryDraw : public RenderTest {
protected:
  // Which of the four columns of a 16x4 target were drawn.
  std::vector<bool> DrawnColumns(const GpuResource& target) {
    std::vector<bool> drawn;
    for (uint32_t column = 0; column < 4; ++column) {
      const Rgba pixel = PixelAt(target, column * 4 + 2, 2);
      drawn.push_back(pixel.g == 1.0f && pixel.r == 0.0f);
    }
    return drawn;
  }

  void Run(DrawCall call, GpuResource& target) {
    call.pass->constantBuffers[0]->BeginUpdate();
    call.pass->constantBuffers[0]->SetConstant("gColor", &kGreen);
    call.pass->constantBuffers[0]->EndUpdate();
    draw().SetTargets(Targets(&target, nullptr, kClear));
    draw().Draw(call);
    draw().UnbindTargets();
  }
};

TEST_F(GeometryDraw, RangesSelectIndicesFromFirstToEnd) {
  std::vector<Position> vertices;
  std::vector<uint16_t> indices;
  ColumnQuads(vertices, indices);
  OwnedGeometry quads;
  MakeGeometry(quads, adapter()->defaultLayouts[2], vertices.data(), 16, sizeof(Position), indices,
               kPrimitiveTriangles | kGeometryIndex16);
  EXPECT_EQ(quads.geometry.indexCount, 24u);
  EXPECT_EQ(quads.geometry.vertexCount, 16u);
  EXPECT_EQ(quads.geometry.indexFormat, 57u);
  PassPtr pass = MakePass(kPositionVS, kSolidColorPS);
  ResourcePtr target = MakeTarget(16, 4);
  struct Case {
    const char* name;
    bool ranged;
    DrawRange range;
    std::vector<bool> drawn;
  };
  const Case cases[] = {
      {"whole geometry", false, {}, {true, true, true, true}},
      {"range (6, 12): the second quad", true, {6, 12}, {false, true, false, false}},
      {"range (6, 18): two quads", true, {6, 18}, {false, true, true, false}},
      {"range past the end is cut at it", true, {18, 400}, {false, false, false, true}},
      {"empty range", true, {12, 12}, {false, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrawCall call;
    call.pass = pass.get();
    call.geometry = &quads.geometry;
    call.range = c.ranged ? &c.range : nullptr;
    Run(call, *target);
    EXPECT_EQ(DrawnColumns(*target), c.drawn);
  }
  // firstIndex moves every draw, ranged or not.
  quads.geometry.firstIndex = 12;
  const DrawRange firstQuad{0, 6};
  DrawCall call;
  call.pass = pass.get();
  call.geometry = &quads.geometry;
  call.range = &firstQuad;
  Run(call, *target);
  EXPECT_EQ(DrawnColumns(*target), (std::vector<bool>{false, false, true, false}));
}

TEST_F(GeometryDraw, InstancesStepThroughTheirOwnSlot) {
  const VertexElement elements[] = {kSemanticPosition, MakeElement(kSemanticWorld0, 1, 0, true), 0};
  VertexLayout* layout = CreateVertexLayout(adapter(), elements);
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->Stride0(), 12u);
  EXPECT_EQ(layout->strides[1], 16u);
  const Position quad[] = {{-1, -1, 0}, {-1, 1, 0},    {-0.5f, 1, 0},
                           {-1, -1, 0}, {-0.5f, 1, 0}, {-0.5f, -1, 0}};
  OwnedGeometry geometry;
  MakeGeometry(geometry, layout, quad, 6, sizeof(Position), {}, kPrimitiveTriangles);
  ResourceDesc instanceDesc;
  instanceDesc.flags = kResourceVertexBuffer | kUsageDynamic;
  instanceDesc.bitsPerElement = 128;
  instanceDesc.width = 4;
  geometry.geometry.vertices[1] = CreateResource(adapter(), instanceDesc, nullptr);
  FinishGeometry(geometry.geometry);
  auto* offsets = static_cast<float*>(MapResource(geometry.geometry.vertices[1]));
  ASSERT_NE(offsets, nullptr);
  const float columns[4] = {1.5f, 0.0f, 1.0f, 7.0f};  // the last one lands outside
  for (int i = 0; i < 4; ++i) {
    const float row[4] = {columns[i], 0, 0, 0};
    std::memcpy(offsets + 4 * i, row, sizeof row);
  }
  UnmapResource(geometry.geometry.vertices[1]);

  PassPtr pass = MakePass(kPositionVS, kSolidColorPS);
  ResourcePtr target = MakeTarget(16, 4);
  DrawCall call;
  call.pass = pass.get();
  call.geometry = &geometry.geometry;
  call.instanced = 1;
  call.instanceCount = 4;
  Run(call, *target);
  EXPECT_EQ(DrawnColumns(*target), (std::vector<bool>{true, false, true, true}));
  call.instanced = 0;  // one instance, the first offset
  Run(call, *target);
  EXPECT_EQ(DrawnColumns(*target), (std::vector<bool>{false, false, false, true}));
  DestroyVertexLayout(layout);
}

TEST_F(GeometryDraw, InvalidElementListsAreReportedAndRefused) {
  const VertexElement world4[] = {kSemanticPosition, kSemanticWorld0 + 4, 0};
  testing::internal::CaptureStderr();
  EXPECT_EQ(CreateVertexLayout(adapter(), world4), nullptr);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(printed.find("needs one"), std::string::npos) << printed;
  EXPECT_NE(printed.find("element 1"), std::string::npos) << printed;
}

TEST_F(GeometryDraw, DefaultLayoutsHaveTheirStrides) {
  const uint32_t strides[4] = {32, 24, 12, 16};
  for (int i = 0; i < 4; ++i) {
    ASSERT_NE(adapter()->defaultLayouts[i], nullptr);
    EXPECT_EQ(adapter()->defaultLayouts[i]->Stride0(), strides[i]);
  }
  EXPECT_EQ(adapter()->defaultLayouts[0]->elements,
            (std::vector<VertexElement>{0x30001, 0x30002, 0x20010, 0}));
}

}  // namespace
}  // namespace orvane::test
