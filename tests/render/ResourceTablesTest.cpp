// Format table, resource defaults and the initial-data layout.
#include <gtest/gtest.h>

#include <vector>

#include "render/FormatCode.h"
#include "render/NameHash.h"
#include "render/ResourceDesc.h"

namespace orvane {
namespace {

struct FormatCase {
  FormatCode code;
  uint32_t bits;
  uint32_t blockSize;
  uint32_t resource, view, target;
};

TEST(FormatTable, EveryCodeHasItsBitsBlockSizeAndDxgiFormats) {
  const FormatCase cases[] = {
      {kFormatNone, 0, 1, 0, 0, 0},
      {kFormatR8, 8, 1, 61, 61, 61},
      {kFormatRGBA8, 32, 1, 28, 28, 28},
      {kFormatBGRA8, 32, 1, 87, 87, 87},
      {kFormatR16, 16, 1, 56, 56, 56},
      {kFormatDepth24Stencil8, 32, 1, 44, 46, 45},
      {kFormatBC1, 4, 4, 71, 71, 71},
      {kFormatBC2, 8, 4, 74, 74, 74},
      {kFormatBC3, 8, 4, 77, 77, 77},
      {kFormatRG16F, 32, 1, 34, 34, 34},
      {kFormatRGBA16F, 64, 1, 10, 10, 10},
      {kFormatRGBA32F, 128, 1, 2, 2, 2},
      {kFormatDepth32F, 32, 1, 39, 41, 40},
      {kFormatBC1Srgb, 4, 4, 72, 72, 72},
      {kFormatBC2Srgb, 8, 4, 75, 75, 75},
      {kFormatBC3Srgb, 8, 4, 78, 78, 78},
      {kFormatRGBA8Srgb, 32, 1, 29, 29, 29},
      {kFormatBGRA8Srgb, 32, 1, 91, 91, 91},
  };
  ASSERT_EQ(std::size(cases), FormatTable().size());
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.code);
    const FormatInfo* info = FindFormat(c.code);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(FormatBitsPerPixel(c.code), c.bits);
    EXPECT_EQ(FormatBlockSize(c.code), c.blockSize);
    EXPECT_EQ(info->resourceDxgi, c.resource);
    EXPECT_EQ(info->viewDxgi, c.view);
    EXPECT_EQ(info->targetDxgi, c.target);
  }
  EXPECT_EQ(FindFormat(0x10202), nullptr);
}

TEST(FormatTableDeathTest, UnknownCodeIsFatal) {
  EXPECT_EXIT(RequireFormat(0x10202), testing::ExitedWithCode(1),
              "Fatal error: Could not find format");
}

TEST(ResourceDescTest, DefaultsAreSettledInOnePlace) {
  ResourceDesc cube;
  cube.flags = kResourceTexture | kResourceCubeMap;
  cube.format = kFormatRGBA8;
  cube.width = cube.height = 8;
  ASSERT_EQ(ResolveResourceDesc(cube), ResourceError::kNone);
  EXPECT_EQ(cube.arraySize, 6u);
  EXPECT_EQ(cube.mipLevels, 1u);
  EXPECT_EQ(cube.bitsPerElement, 32u);
  EXPECT_EQ(KindOf(cube), ResourceKind::kCubeMap);

  ResourceDesc conflicting = cube;
  conflicting.bitsPerElement = 16;
  EXPECT_EQ(ResolveResourceDesc(conflicting), ResourceError::kConflictingBits);

  ResourceDesc buffer;
  buffer.flags = kResourceVertexBuffer;
  buffer.width = 10;
  EXPECT_EQ(ResolveResourceDesc(buffer), ResourceError::kNoElementSize);
  buffer.bitsPerElement = 256;
  EXPECT_EQ(ResolveResourceDesc(buffer), ResourceError::kNone);
  EXPECT_EQ(InitialDataSize(buffer), 320u);

  ResourceDesc tooManyMips = cube;
  tooManyMips.mipLevels = 5;
  EXPECT_EQ(ResolveResourceDesc(tooManyMips), ResourceError::kTooManyMips);
}

struct LevelCase {
  const char* name;
  ResourceDesc desc;
  std::vector<size_t> sizes;
  std::vector<uint32_t> rowPitches;
};

ResourceDesc Texture(FormatCode format, uint32_t width, uint32_t height, uint32_t mips) {
  ResourceDesc d;
  d.flags = kResourceTexture | kResourceShaderView | kUsageImmutable;
  d.format = format;
  d.width = width;
  d.height = height;
  d.mipLevels = mips;
  return d;
}

TEST(InitialDataLayoutTest, LevelSizesAndRowPitches) {
  const LevelCase cases[] = {
      {"256x256 RGBA8, 9 mips", Texture(kFormatRGBA8, 256, 256, 9),
       {262144, 65536, 16384, 4096, 1024, 256, 64, 16, 4},
       {1024, 512, 256, 128, 64, 32, 16, 8, 4}},
      {"16x16 BC1, 5 mips", Texture(kFormatBC1, 16, 16, 5), {128, 32, 8, 8, 8}, {32, 16, 8, 8, 8}},
      {"16x16 BC3, 3 mips", Texture(kFormatBC3, 16, 16, 3), {256, 64, 16}, {64, 32, 16}},
      // Levels of a non-square texture never shrink below one row or column.
      {"8x2 R8, 4 mips", Texture(kFormatR8, 8, 2, 4), {16, 4, 2, 1}, {8, 4, 2, 1}},
      {"4-texel 1D RGBA32F, 3 mips", Texture(kFormatRGBA32F, 4, 0, 3), {64, 32, 16}, {64, 32, 16}},
  };
  for (const LevelCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResourceDesc d = c.desc;
    ASSERT_EQ(ResolveResourceDesc(d), ResourceError::kNone);
    const std::vector<SubresourceData> layout = InitialDataLayout(d);
    ASSERT_EQ(layout.size(), c.sizes.size());
    size_t offset = 0;
    for (size_t i = 0; i < layout.size(); ++i) {
      EXPECT_EQ(layout[i].mip, i);
      EXPECT_EQ(layout[i].offset, offset);
      EXPECT_EQ(layout[i].size, c.sizes[i]);
      EXPECT_EQ(layout[i].rowPitch, c.rowPitches[i]);
      offset += layout[i].size;
    }
  }
}

TEST(InitialDataLayoutTest, SlicesFollowEachOtherWithAllTheirMips) {
  ResourceDesc d = Texture(kFormatRGBA8, 4, 4, 2);
  d.flags |= kResourceCubeMap;
  ASSERT_EQ(ResolveResourceDesc(d), ResourceError::kNone);
  const std::vector<SubresourceData> layout = InitialDataLayout(d);
  ASSERT_EQ(layout.size(), 12u);
  for (size_t i = 0; i < layout.size(); ++i) {
    EXPECT_EQ(layout[i].slice, i / 2);
    EXPECT_EQ(layout[i].mip, i % 2);
    EXPECT_EQ(layout[i].offset, (i / 2) * 80 + (i % 2) * 64);
  }
}

TEST(NameHashTest, IsCrc32WithItsLowestBitInverted) {
  EXPECT_EQ(NameHash("abc"), 0x352441C3u);
  EXPECT_EQ(NameHash("123456789"), 0xCBF43926u ^ 1u);
  EXPECT_EQ(NameHash(""), 1u);
}

}  // namespace
}  // namespace orvane
