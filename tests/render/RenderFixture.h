#pragma once
// Shared fixture of the render tests: one hidden 64x64 window and screen per test process on
// SDL's offscreen driver (llvmpipe), small render targets read back as floats, and passes
// built from GLSL text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "render/Adapter.h"
#include "render/DrawContext.h"
#include "render/Geometry.h"
#include "render/GpuResource.h"
#include "render/Screen.h"
#include "render/ShaderPass.h"
#include "render/TargetSet.h"

namespace orvane::test {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

struct PassDeleter {
  void operator()(ShaderPass* pass) const { DestroyShaderPass(pass); }
};
using PassPtr = std::unique_ptr<ShaderPass, PassDeleter>;

struct ResourceDeleter {
  void operator()(GpuResource* resource) const { DestroyResource(resource); }
};
using ResourcePtr = std::unique_ptr<GpuResource, ResourceDeleter>;

// Geometry released with its owner.
struct OwnedGeometry {
  Geometry geometry;
  OwnedGeometry() = default;
  OwnedGeometry(const OwnedGeometry&) = delete;
  OwnedGeometry& operator=(const OwnedGeometry&) = delete;
  ~OwnedGeometry() { ReleaseGeometry(geometry); }
};

// Vertex shader of the covering triangle: three vertices without buffers, uv (0, 0) top-left.
extern const char* const kFullScreenVS;
// Pixel shader writing gColor from the block at binding 0.
extern const char* const kSolidColorPS;

class RenderTest : public testing::Test {
protected:
  void SetUp() override;

  Adapter* adapter() const { return currentAdapter; }
  DrawContext& draw() const { return *currentAdapter->drawContext; }

  // Stages in the order vertex, hull, domain, geometry, pixel; empty texts are left out.
  // Every given stage must build.
  PassPtr MakePass(const std::string& vs, const std::string& ps, const std::string& gs = "",
                   const std::string& hs = "", const std::string& ds = "");
  ResourcePtr MakeTarget(uint32_t width, uint32_t height, FormatCode format = kFormatRGBA32F,
                         uint32_t extraFlags = 0);
  ResourcePtr MakeDepth(uint32_t width, uint32_t height,
                        FormatCode format = kFormatDepth24Stencil8);
  // Immutable vertex buffer (and 16-bit index buffer when indices are given) set up and finished
  // with the layout and flags.
  void MakeGeometry(OwnedGeometry& out, VertexLayout* layout, const void* vertices,
                    uint32_t vertexCount, uint32_t stride, const std::vector<uint16_t>& indices,
                    uint32_t flags);
  // A target set covering the whole colour target, cleared to `clear`.
  TargetSet Targets(GpuResource* color, GpuResource* depth = nullptr, Rgba clear = {});
  // Sets gColor and draws the covering triangle.
  void FillWith(ShaderPass& pass, Rgba color);
  // Pixels of an RGBA32F target, top row first.
  std::vector<Rgba> ReadPixels(const GpuResource& target);
  Rgba PixelAt(const GpuResource& target, uint32_t x, uint32_t y);
};

void ExpectColorNear(const Rgba& actual, const Rgba& expected, float tolerance = 1e-3f);

}  // namespace orvane::test
