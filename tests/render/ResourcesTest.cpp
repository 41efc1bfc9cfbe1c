// Every format created, filled and sampled; texture kinds, buffers and window-sized resources.
#include <cmath>
#include <cstring>
#include <functional>

#include "RenderFixture.h"
#include "render/Sampler.h"

namespace orvane::test {
namespace {

// Samples texel (x, y) of a 4x4 texture at pixel (x, y) of the target.
const char* const kSampleTexturePS = R"(#version 450 core
layout(binding = 0) uniform sampler2D source;
layout(location = 0) out vec4 outColor;
void main() { outColor = texture(source, gl_FragCoord.xy / 4.0); }
)";

uint16_t Half(float value) {
  // Exact for the small dyadic values used here.
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  if (value == 0.0f) return 0;
  const uint32_t sign = (bits >> 16) & 0x8000u;
  const int exponent = static_cast<int>((bits >> 23) & 0xFFu) - 127 + 15;
  const uint32_t mantissa = (bits >> 13) & 0x3FFu;
  return static_cast<uint16_t>(sign | (static_cast<uint32_t>(exponent) << 10) | mantissa);
}

float SrgbToLinear(float c) {
  return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

template <typename T>
void Append(std::vector<uint8_t>& bytes, T value) {
  const auto* p = reinterpret_cast<const uint8_t*>(&value);
  bytes.insert(bytes.end(), p, p + sizeof value);
}

// Red and blue end points; rows use indices 0, 1, 2, 3: red, blue, 2/3 red + 1/3 blue, 1/3 red +
// 2/3 blue.
void AppendColorBlock(std::vector<uint8_t>& bytes) {
  Append<uint16_t>(bytes, 0xF800);
  Append<uint16_t>(bytes, 0x001F);
  for (uint8_t row : {0x00, 0x55, 0xAA, 0xFF}) bytes.push_back(row);
}

Rgba ColorBlockTexel(uint32_t y) {
  const float redShare[4] = {1.0f, 0.0f, 2.0f / 3.0f, 1.0f / 3.0f};
  return {redShare[y], 0.0f, 1.0f - redShare[y], 1.0f};
}

struct FormatCase {
  const char* name;
  FormatCode format;
  std::function<std::vector<uint8_t>()> data;
  std::function<Rgba(uint32_t x, uint32_t y)> expected;
  float tolerance;
};

float Ramp(uint32_t x, uint32_t y) { return static_cast<float>(y * 4 + x) / 15.0f; }

std::vector<FormatCase> FormatCases() {
  auto perTexel = [](auto write) {
    return [write] {
      std::vector<uint8_t> bytes;
      for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x) write(bytes, x, y);
      return bytes;
    };
  };
  auto byteOf = [](uint32_t x, uint32_t y) {
    return static_cast<uint8_t>(std::lround(Ramp(x, y) * 255));
  };
  const auto bc2 = [] {
    std::vector<uint8_t> bytes;
    for (uint8_t row : {0x00, 0x55, 0xAA, 0xFF}) bytes.insert(bytes.end(), {row, row});
    AppendColorBlock(bytes);
    return bytes;
  };
  const auto bc3 = [] {
    std::vector<uint8_t> bytes = {255, 0};
    uint64_t indices = 0;
    const uint64_t rowIndex[4] = {0, 1, 2, 7};
    for (uint32_t texel = 0; texel < 16; ++texel) indices |= rowIndex[texel / 4] << (3 * texel);
    for (int i = 0; i < 6; ++i) bytes.push_back(static_cast<uint8_t>(indices >> (8 * i)));
    AppendColorBlock(bytes);
    return bytes;
  };
  const auto bc1 = [] {
    std::vector<uint8_t> bytes;
    AppendColorBlock(bytes);
    return bytes;
  };
  const float bc2Alpha[4] = {0.0f, 5.0f / 15.0f, 10.0f / 15.0f, 1.0f};
  const float bc3Alpha[4] = {1.0f, 0.0f, 6.0f / 7.0f, 1.0f / 7.0f};
  auto withAlpha = [](Rgba c, float a) { return Rgba{c.r, c.g, c.b, a}; };
  auto srgb = [](Rgba c) {
    return Rgba{SrgbToLinear(c.r), SrgbToLinear(c.g), SrgbToLinear(c.b), c.a};
  };
  return {
      {"R8", kFormatR8,
       perTexel([&](auto& b, uint32_t x, uint32_t y) { b.push_back(byteOf(x, y)); }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 0, 0, 1};
       },
       0.003f},
      {"RGBA8", kFormatRGBA8, perTexel([&](auto& b, uint32_t x, uint32_t y) {
         b.insert(b.end(), {byteOf(x, y), 255, 0, 51});
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 1, 0, 0.2f};
       },
       0.003f},
      {"BGRA8", kFormatBGRA8, perTexel([&](auto& b, uint32_t x, uint32_t y) {
         b.insert(b.end(), {0, 255, byteOf(x, y), 51});
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 1, 0, 0.2f};
       },
       0.003f},
      {"R16", kFormatR16, perTexel([&](auto& b, uint32_t x, uint32_t y) {
         Append<uint16_t>(b, static_cast<uint16_t>(byteOf(x, y) * 257));
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 0, 0, 1};
       },
       0.003f},
      {"depth 24 + stencil 8, sampled as depth", kFormatDepth24Stencil8,
       perTexel([](auto& b, uint32_t x, uint32_t y) {
         Append<uint32_t>(
             b, static_cast<uint32_t>(std::lround(static_cast<double>(Ramp(x, y)) * 16777215.0))
                        << 8 |
                    0x33u);
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 0, 0, 1};
       },
       1e-4f},
      {"BC1", kFormatBC1, bc1, [](uint32_t, uint32_t y) { return ColorBlockTexel(y); }, 0.02f},
      {"BC2", kFormatBC2, bc2,
       [=](uint32_t, uint32_t y) { return withAlpha(ColorBlockTexel(y), bc2Alpha[y]); }, 0.02f},
      {"BC3", kFormatBC3, bc3,
       [=](uint32_t, uint32_t y) { return withAlpha(ColorBlockTexel(y), bc3Alpha[y]); }, 0.02f},
      {"RG16F", kFormatRG16F, perTexel([](auto& b, uint32_t x, uint32_t y) {
         Append(b, Half(x * 0.25f));
         Append(b, Half(-2.0f * static_cast<float>(y)));
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{x * 0.25f, -2.0f * static_cast<float>(y), 0, 1};
       },
       0.0f},
      {"RGBA16F", kFormatRGBA16F, perTexel([](auto& b, uint32_t x, uint32_t y) {
         for (float v : {x * 0.5f, y * 0.125f, 4.0f, -1.0f}) Append(b, Half(v));
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{x * 0.5f, y * 0.125f, 4.0f, -1.0f};
       },
       0.0f},
      {"RGBA32F", kFormatRGBA32F, perTexel([](auto& b, uint32_t x, uint32_t y) {
         for (float v : {Ramp(x, y), 100.0f, -0.3f, 1e-3f}) Append(b, v);
       }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 100.0f, -0.3f, 1e-3f};
       },
       0.0f},
      {"depth 32F", kFormatDepth32F,
       perTexel([](auto& b, uint32_t x, uint32_t y) { Append(b, Ramp(x, y)); }),
       [](uint32_t x, uint32_t y) {
         return Rgba{Ramp(x, y), 0, 0, 1};
       },
       0.0f},
      {"BC1 sRGB", kFormatBC1Srgb, bc1,
       [=](uint32_t, uint32_t y) { return srgb(ColorBlockTexel(y)); }, 0.02f},
      {"BC2 sRGB", kFormatBC2Srgb, bc2,
       [=](uint32_t, uint32_t y) { return srgb(withAlpha(ColorBlockTexel(y), bc2Alpha[y])); },
       0.02f},
      {"BC3 sRGB", kFormatBC3Srgb, bc3,
       [=](uint32_t, uint32_t y) { return srgb(withAlpha(ColorBlockTexel(y), bc3Alpha[y])); },
       0.02f},
      {"RGBA8 sRGB", kFormatRGBA8Srgb, perTexel([&](auto& b, uint32_t x, uint32_t y) {
         b.insert(b.end(), {byteOf(x, y), 255, 0, 51});
       }),
       [=](uint32_t x, uint32_t y) { return srgb(Rgba{Ramp(x, y), 1, 0, 0.2f}); }, 0.003f},
      {"BGRA8 sRGB", kFormatBGRA8Srgb, perTexel([&](auto& b, uint32_t x, uint32_t y) {
         b.insert(b.end(), {0, 255, byteOf(x, y), 51});
       }),
       [=](uint32_t x, uint32_t y) { return srgb(Rgba{Ramp(x, y), 1, 0, 0.2f}); }, 0.003f},
  };
}

using Resources = RenderTest;

TEST_F(Resources, EveryFormatIsCreatedFilledAndSampledTopRowFirst) {
  const std::vector<FormatCase> cases = FormatCases();
  ASSERT_EQ(cases.size() + 1, FormatTable().size());  // all but "none"
  PassPtr pass = MakePass(kFullScreenVS, kSampleTexturePS);
  SamplerDesc pointClamp;
  pointClamp.mode = SamplerMode(kFilterPoint, kAddressClamp, kAddressClamp, kAddressClamp);
  pointClamp.maxLod = 1e37f;
  Sampler* sampler = GetSampler(adapter(), pointClamp);
  ResourcePtr target = MakeTarget(4, 4);
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResourceDesc desc;
    desc.flags = kResourceTexture | kResourceShaderView | kUsageImmutable;
    desc.format = c.format;
    desc.width = 4;
    desc.height = 4;
    const std::vector<uint8_t> data = c.data();
    ASSERT_EQ(data.size(), [&] {
      ResourceDesc d = desc;
      ResolveResourceDesc(d);
      return InitialDataSize(d);
    }());
    ResourcePtr texture(CreateResource(adapter(), desc, data.data()));
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(GetShaderView(texture.get()), 0u);
    SetTexture(pass.get(), 0, texture.get(), sampler);
    draw().SetTargets(Targets(target.get()));
    draw().DrawFullScreen(*pass, 3);
    draw().UnbindTargets();
    const std::vector<Rgba> pixels = ReadPixels(*target);
    for (uint32_t y = 0; y < 4; ++y)
      for (uint32_t x = 0; x < 4; ++x) {
        SCOPED_TRACE(testing::Message() << "texel " << x << "," << y);
        ExpectColorNear(pixels[y * 4 + x], c.expected(x, y), std::max(c.tolerance, 1e-6f));
      }
  }
}

// Data kept in a colour file (a roughness map) is read as stored through a raw-colour sampler,
// while the same texture through a plain sampler is decoded to linear light.
TEST_F(Resources, RawColourSamplersReadSrgbTexturesAsStored) {
  PassPtr pass = MakePass(kFullScreenVS, kSampleTexturePS);
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceShaderView | kUsageImmutable;
  desc.format = kFormatRGBA8Srgb;
  desc.width = desc.height = 1;
  const uint8_t texel[4] = {128, 64, 255, 255};
  ResourcePtr texture(CreateResource(adapter(), desc, texel));
  ResourcePtr target = MakeTarget(1, 1);
  const struct {
    uint32_t extraMode;
    Rgba expected;
  } cases[] = {{0, {SrgbToLinear(128 / 255.0f), SrgbToLinear(64 / 255.0f), 1, 1}},
               {kSamplerRawColor, {128 / 255.0f, 64 / 255.0f, 1, 1}}};
  for (const auto& c : cases) {
    SamplerDesc sampler = MakeSamplerDesc(kFilterPoint, kAddressClamp);
    sampler.mode |= c.extraMode;
    SetTexture(pass.get(), 0, texture.get(), GetSampler(adapter(), sampler));
    draw().SetTargets(Targets(target.get()));
    draw().DrawFullScreen(*pass, 3);
    draw().UnbindTargets();
    ExpectColorNear(ReadPixels(*target)[0], c.expected, 0.003f);
  }
}

TEST_F(Resources, TargetsAlternateBetweenBeingDrawnAndSampled) {
  // Each pass adds a quarter to what it samples, writing into the target it did not read.
  const char* addQuarter = R"(#version 450 core
layout(binding = 0) uniform sampler2D source;
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 outColor;
void main() { outColor = texture(source, uv) + vec4(0.25); }
)";
  PassPtr pass = MakePass(kFullScreenVS, addQuarter);
  SamplerDesc linear;
  linear.mode = SamplerMode(kFilterMinMagLinear, kAddressClamp, kAddressClamp, kAddressClamp);
  linear.maxLod = 1e37f;
  Sampler* sampler = GetSampler(adapter(), linear);
  ResourcePtr images[2] = {MakeTarget(8, 8, kFormatRGBA16F), MakeTarget(8, 8, kFormatRGBA16F)};
  draw().SetTargets(Targets(images[0].get()));  // cleared to 0
  const size_t framebuffers = draw().FramebufferCount();
  for (int step = 1; step <= 4; ++step) {
    GpuResource* source = images[(step + 1) % 2].get();
    GpuResource* destination = images[step % 2].get();
    SetTexture(pass.get(), 0, source, sampler);
    draw().SetTargets(Targets(destination));
    draw().DrawFullScreen(*pass, 3);
    draw().UnbindTargets();
  }
  EXPECT_EQ(draw().FramebufferCount(), framebuffers + 1);  // one per target, made once
  const std::vector<uint8_t> half = ReadTexture(*images[0]);
  uint16_t red;
  std::memcpy(&red, half.data(), 2);
  EXPECT_EQ(red, Half(1.0f));
}

struct KindCase {
  const char* name;
  uint32_t extraFlags;
  uint32_t width, height, depth, arraySize, mips;
  ResourceKind kind;
};

TEST_F(Resources, TextureKindsTakeTheirInitialDataSliceBySliceAndMipByMip) {
  const KindCase cases[] = {
      {"1D", 0, 8, 0, 0, 1, 4, ResourceKind::kTexture1D},
      {"1D array", 0, 8, 0, 0, 3, 2, ResourceKind::kTexture1DArray},
      {"2D with mips", 0, 8, 4, 0, 1, 4, ResourceKind::kTexture2D},
      {"2D array", 0, 4, 4, 0, 3, 3, ResourceKind::kTexture2DArray},
      {"cube map", kResourceCubeMap, 4, 4, 0, 0, 2, ResourceKind::kCubeMap},
      {"3D", 0, 4, 4, 2, 1, 1, ResourceKind::kTexture3D},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResourceDesc desc;
    desc.flags = kResourceTexture | kResourceShaderView | kUsageImmutable | c.extraFlags;
    desc.format = kFormatRGBA8;
    desc.width = c.width;
    desc.height = c.height;
    desc.depth = c.depth;
    desc.arraySize = c.arraySize;
    desc.mipLevels = c.mips;
    ResourceDesc resolved = desc;
    ASSERT_EQ(ResolveResourceDesc(resolved), ResourceError::kNone);
    std::vector<uint8_t> data(InitialDataSize(resolved));
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 251);
    ResourcePtr texture(CreateResource(adapter(), desc, data.data()));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->kind, c.kind);
    for (const SubresourceData& s : InitialDataLayout(resolved)) {
      SCOPED_TRACE(testing::Message() << "slice " << s.slice << " mip " << s.mip);
      const std::vector<uint8_t> read = ReadTexture(*texture, s.mip, s.slice);
      ASSERT_EQ(read.size(), s.size);
      EXPECT_EQ(std::memcmp(read.data(), data.data() + s.offset, s.size), 0);
    }
  }
}

TEST_F(Resources, BuffersOfEveryKindAndUsage) {
  struct Case {
    const char* name;
    uint32_t flags;
    bool mappable, updatable;
  };
  const Case cases[] = {
      {"immutable vertices", kResourceVertexBuffer | kUsageImmutable, false, false},
      {"default indices", kResourceIndexBuffer | kUsageDefault, false, true},
      {"usage 0 is default", kResourceVertexBuffer, false, true},
      {"dynamic vertices", kResourceVertexBuffer | kUsageDynamic, true, true},
      {"dynamic constants", kResourceConstantBuffer | kUsageDynamic, true, true},
      {"CPU-readable", kResourceShaderView | kUsageReadback, false, true},
  };
  const std::vector<float> data(16, 1.5f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResourceDesc desc;
    desc.flags = c.flags;
    desc.bitsPerElement = 128;
    desc.width = 4;
    ResourcePtr buffer(CreateResource(adapter(), desc, data.data()));
    ASSERT_NE(buffer, nullptr);
    EXPECT_NE(buffer->object, 0u);
    EXPECT_EQ(buffer->kind, ResourceKind::kBuffer);
    EXPECT_EQ(GetShaderView(buffer.get()), 0u);
    void* mapped = MapResource(buffer.get());
    EXPECT_EQ(mapped != nullptr, c.mappable);
    if (mapped) {
      std::memset(mapped, 0, 64);
      UnmapResource(buffer.get());
    }
  }
  ResourceDesc immutable;
  immutable.flags = kResourceVertexBuffer | kUsageImmutable;
  immutable.bitsPerElement = 32;
  immutable.width = 4;
  testing::internal::CaptureStderr();
  ResourcePtr empty(CreateResource(adapter(), immutable, nullptr));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("without initial data"), std::string::npos);
  EXPECT_NE(empty, nullptr);
  ResourceDesc conflicting = immutable;
  conflicting.format = kFormatRGBA8;
  conflicting.bitsPerElement = 16;
  testing::internal::CaptureStderr();
  EXPECT_EQ(CreateResource(adapter(), conflicting, nullptr), nullptr);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("conflicts"), std::string::npos);
}

TEST_F(Resources, ResizingTheScreenRecreatesWhatFollowsTheWindow) {
  Screen& screen = *currentScreen;
  const int32_t oldWidth = screen.width, oldHeight = screen.height;
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA16F;
  desc.options = kOptionFollowWindow;
  desc.width = static_cast<uint32_t>(oldWidth);
  desc.height = static_cast<uint32_t>(oldHeight);
  ResourcePtr follows(CreateResource(adapter(), desc, nullptr));
  desc.options = 0;
  ResourcePtr fixed(CreateResource(adapter(), desc, nullptr));
  ASSERT_EQ(adapter()->resizable.size(), 1u);
  draw().SetTargets(Targets(follows.get()));  // a cached framebuffer must not outlive the texture

  screen.Resize(40, 24);
  EXPECT_EQ(follows->Width(), 40u);
  EXPECT_EQ(follows->Height(), 24u);
  EXPECT_EQ(fixed->Width(), static_cast<uint32_t>(oldWidth));
  EXPECT_EQ(screen.backBuffer->Width(), 40u);
  EXPECT_EQ(screen.depthBuffer->Height(), 24u);
  // The recreated texture renders at its new size.
  draw().SetTargets(Targets(follows.get(), nullptr, {0.5f, 0, 0, 1}));
  draw().UnbindTargets();
  EXPECT_EQ(ReadTexture(*follows).size(), 40u * 24u * 8u);

  const GpuResource* sameBackBuffer = screen.backBuffer;
  screen.Resize(40, 24);  // the same size again changes nothing
  EXPECT_EQ(screen.backBuffer, sameBackBuffer);
  screen.Resize(oldWidth, oldHeight);
  follows.reset();
  EXPECT_TRUE(adapter()->resizable.empty());
}

}  // namespace
}  // namespace orvane::test
