#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/DdsBuilder.h"
#include "resources/DdsReader.h"
#include "resources/ReadWholeFile.h"

namespace orvane {
namespace {

using test::Bytes;
using test::DdsBuilder;

const std::string kSamples = std::string(ORVANE_SHARED_DIR) + "/external-samples/dds/";

// Facts of the sample files: size, mips, array size (6 per cube), DXGI format, payload bytes.
struct DdsSampleFacts {
  const char* file;
  std::size_t width;
  std::size_t height;
  std::size_t mipLevels;
  std::size_t arraySize;
  std::uint32_t dxgiFormat;
  bool cube;
  std::size_t pixelBytes;
};

class DdsSampleTest : public testing::TestWithParam<DdsSampleFacts> {};

TEST_P(DdsSampleTest, MetadataMatchesTheFacts) {
  const DdsSampleFacts& facts = GetParam();
  const ImageResult result = ReadDds(kSamples + facts.file);
  ASSERT_TRUE(result.Ok()) << ImageErrorName(result.error);
  const DecodedImage& image = result.image;
  EXPECT_EQ(image.width, facts.width);
  EXPECT_EQ(image.height, facts.height);
  EXPECT_EQ(image.mipLevels, facts.mipLevels);
  EXPECT_EQ(image.arraySize, facts.arraySize);
  EXPECT_EQ(image.dxgiFormat, facts.dxgiFormat);
  EXPECT_EQ(image.IsCubeMap(), facts.cube);
  EXPECT_EQ(image.dimension, ImageDimension::Texture2D);
  EXPECT_EQ(image.pixels.size(), facts.pixelBytes);
}

INSTANTIATE_TEST_SUITE_P(
    ExternalSamples, DdsSampleTest,
    testing::Values(
        DdsSampleFacts{"dxt1_129x66_mips.dds", 129, 66, 8, 1, 71, false, 6000},
        DdsSampleFacts{"dxt3_129x66_mips.dds", 129, 66, 8, 1, 74, false, 12000},
        DdsSampleFacts{"dxt5_129x66_mips.dds", 129, 66, 8, 1, 77, false, 12000},
        DdsSampleFacts{"a8r8g8b8_129x66_mips.dds", 129, 66, 8, 1, 87, false, 45236},
        DdsSampleFacts{"a8r8g8b8_64x64_nomips.dds", 64, 64, 1, 1, 87, false, 16384},
        DdsSampleFacts{"rgba32f_fourcc116_129x66_mips.dds", 129, 66, 8, 1, 2, false, 180944},
        DdsSampleFacts{"dx10_rgba32f_fmt2_129x66_mips.dds", 129, 66, 8, 1, 2, false, 180944},
        DdsSampleFacts{"cube_dxt1_128_mips.dds", 128, 128, 8, 6, 71, true, 65616},
        DdsSampleFacts{"dx10_cube_bc1_128_mips.dds", 128, 128, 8, 6, 71, true, 65616},
        DdsSampleFacts{"cube_dxt1_5x5_mips_magnum.dds", 5, 5, 3, 6, 71, true, 288},
        DdsSampleFacts{"dx10_rgba8_srgb_3x2_magnum.dds", 3, 2, 1, 1, 29, false, 24}),
    [](const testing::TestParamInfo<DdsSampleFacts>& sample) {
      std::string name = sample.param.file;
      return name.substr(0, name.find('.'));
    });

TEST(DdsSamples, PixelsAreTheFilePayload) {
  // a8r8g8b8: texel (64, 33) of level 0 is B,G,R,A = c3 43 81 00.
  const ImageResult bgra = ReadDds(kSamples + "a8r8g8b8_129x66_mips.dds");
  ASSERT_TRUE(bgra.Ok());
  const std::size_t texel = (33 * 129 + 64) * 4;
  EXPECT_EQ(bgra.image.pixels[texel], 0xc3);
  EXPECT_EQ(bgra.image.pixels[texel + 1], 0x43);
  EXPECT_EQ(bgra.image.pixels[texel + 2], 0x81);
  EXPECT_EQ(bgra.image.pixels[texel + 3], 0x00);

  // DXT1: the first block, read from byte 128.
  const ImageResult dxt1 = ReadDds(kSamples + "dxt1_129x66_mips.dds");
  ASSERT_TRUE(dxt1.Ok());
  const std::vector<std::uint8_t> firstBlock = {0xff, 0xff, 0x21, 0x00, 0x55, 0x55, 0x55, 0x25};
  EXPECT_EQ(std::vector<std::uint8_t>(dxt1.image.pixels.begin(), dxt1.image.pixels.begin() + 8), firstBlock);

  // DX10 sRGB RGBA8: texel 0 = (240, 215, 219, 255).
  const ImageResult srgb = ReadDds(kSamples + "dx10_rgba8_srgb_3x2_magnum.dds");
  ASSERT_TRUE(srgb.Ok());
  EXPECT_EQ(std::vector<std::uint8_t>(srgb.image.pixels.begin(), srgb.image.pixels.begin() + 4),
            (std::vector<std::uint8_t>{240, 215, 219, 255}));
}

TEST(DdsSamples, LegacyAndDx10FilesOfTheSamePayloadReadTheSame) {
  const struct {
    const char* legacy;
    const char* dx10;
  } pairs[] = {{"rgba32f_fourcc116_129x66_mips.dds", "dx10_rgba32f_fmt2_129x66_mips.dds"},
               {"cube_dxt1_128_mips.dds", "dx10_cube_bc1_128_mips.dds"}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.dx10);
    const ImageResult legacy = ReadDds(kSamples + pair.legacy);
    const ImageResult dx10 = ReadDds(kSamples + pair.dx10);
    ASSERT_TRUE(legacy.Ok());
    ASSERT_TRUE(dx10.Ok());
    EXPECT_EQ(legacy.image.pixels, dx10.image.pixels);
  }
}

// --- hand-built headers -----------------------------------------------------------------------

TEST(DdsLegacyTable, PixelFormatsMapToDxgi) {
  const struct {
    const char* name;
    DdsPixelFormat format;
    std::uint32_t dxgi;  // 0: unsupported
  } cases[] = {
      {"DXT1", {kDdsPfFourCC, MakeFourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0}, 71},
      {"DXT2", {kDdsPfFourCC, MakeFourCC('D', 'X', 'T', '2'), 0, 0, 0, 0, 0}, 74},
      {"DXT3", {kDdsPfFourCC, MakeFourCC('D', 'X', 'T', '3'), 0, 0, 0, 0, 0}, 74},
      {"DXT4", {kDdsPfFourCC, MakeFourCC('D', 'X', 'T', '4'), 0, 0, 0, 0, 0}, 77},
      {"DXT5", {kDdsPfFourCC, MakeFourCC('D', 'X', 'T', '5'), 0, 0, 0, 0, 0}, 77},
      {"BC4U", {kDdsPfFourCC, MakeFourCC('B', 'C', '4', 'U'), 0, 0, 0, 0, 0}, 80},
      {"ATI2", {kDdsPfFourCC, MakeFourCC('A', 'T', 'I', '2'), 0, 0, 0, 0, 0}, 83},
      {"code 116", {kDdsPfFourCC, 116, 0, 0, 0, 0, 0}, 2},
      {"code 113", {kDdsPfFourCC, 113, 0, 0, 0, 0, 0}, 10},
      {"unknown code", {kDdsPfFourCC, MakeFourCC('A', 'B', 'C', 'D'), 0, 0, 0, 0, 0}, 0},
      {"A8R8G8B8", {kDdsPfRgb | kDdsPfAlphaPixels, 0, 32, 0xff0000, 0xff00, 0xff, 0xff000000}, 87},
      {"X8R8G8B8", {kDdsPfRgb, 0, 32, 0xff0000, 0xff00, 0xff, 0}, 88},
      {"A8B8G8R8", {kDdsPfRgb | kDdsPfAlphaPixels, 0, 32, 0xff, 0xff00, 0xff0000, 0xff000000}, 28},
      {"R8G8B8", {kDdsPfRgb, 0, 24, 0xff0000, 0xff00, 0xff, 0}, 28},
      {"R5G6B5", {kDdsPfRgb, 0, 16, 0xf800, 0x7e0, 0x1f, 0}, 85},
      {"L8", {kDdsPfLuminance, 0, 8, 0xff, 0, 0, 0}, 61},
      {"L16", {kDdsPfLuminance, 0, 16, 0xffff, 0, 0, 0}, 56},
      {"P8", {kDdsPfPalette8, 0, 8, 0, 0, 0, 0}, 28},
      {"odd masks", {kDdsPfRgb, 0, 32, 0xff, 0xff, 0xff, 0}, 0},
      {"no flags", {0, MakeFourCC('D', 'X', 'T', '1'), 32, 0xff0000, 0xff00, 0xff, 0xff000000}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto match = MatchDdsLegacyFormat(c.format);
    EXPECT_EQ(match ? match->dxgiFormat : 0u, c.dxgi);
  }
}

TEST(DdsReader, MipChainsCubesArraysAndVolumes) {
  const struct {
    const char* name;
    DdsBuilder header;
    std::size_t payload;  // bytes the file carries after its headers
    std::size_t arraySize;
    std::size_t depth;
    ImageDimension dimension;
    bool cube;
  } cases[] = {
      // DXT5 8x8 with 4 mips: 64 + 16 + 16 + 16.
      {"DXT5 mips", [] { DdsBuilder h; h.width = h.height = 8; h.mipCount = 4; h.FourCC(MakeFourCC('D', 'X', 'T', '5')); return h; }(),
       112, 1, 1, ImageDimension::Texture2D, false},
      {"DX10 cube bit, array 1", [] { DdsBuilder h; h.Dx10(71); h.miscFlag = 4; return h; }(),
       48, 6, 1, ImageDimension::Texture2D, true},
      {"DX10 array of 3", [] { DdsBuilder h; h.Dx10(28, 3, 3); return h; }(),
       192, 3, 1, ImageDimension::Texture2D, false},
      {"DX10 1D", [] { DdsBuilder h; h.Dx10(28, 2); h.flags = 0x1005; h.height = 7; return h; }(),
       16, 1, 1, ImageDimension::Texture1D, false},
      {"DX10 volume", [] { DdsBuilder h; h.Dx10(61, 4); h.flags |= 0x800000; h.depth = 3; h.mipCount = 2; return h; }(),
       48 + 4, 1, 3, ImageDimension::Texture3D, false},
      {"legacy volume", [] { DdsBuilder h; h.Legacy(kDdsPfLuminance, 8, 0xff, 0, 0, 0); h.flags |= 0x800000; h.depth = 2; return h; }(),
       32, 1, 2, ImageDimension::Texture3D, false},
      {"legacy cube", [] { DdsBuilder h; h.caps2 = 0xFE00; return h; }(),
       48, 6, 1, ImageDimension::Texture2D, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto payload = Bytes(c.payload, 7);
    const ImageResult result = ReadDdsFromMemory(c.header.Build(payload));
    ASSERT_TRUE(result.Ok()) << ImageErrorName(result.error);
    EXPECT_EQ(result.image.arraySize, c.arraySize);
    EXPECT_EQ(result.image.depth, c.depth);
    EXPECT_EQ(result.image.dimension, c.dimension);
    EXPECT_EQ(result.image.IsCubeMap(), c.cube);
    EXPECT_EQ(result.image.pixels, payload);
  }
}

TEST(DdsReader, ConversionsExpandWhileCopying) {
  // 24-bit B,G,R texels become R,G,B,255.
  DdsBuilder rgb24;
  rgb24.width = 2;
  rgb24.height = 1;
  rgb24.Legacy(kDdsPfRgb, 24, 0xff0000, 0xff00, 0xff, 0);
  const ImageResult expanded = ReadDdsFromMemory(rgb24.Build({1, 2, 3, 4, 5, 6}));
  ASSERT_TRUE(expanded.Ok());
  EXPECT_EQ(expanded.image.dxgiFormat, 28u);
  EXPECT_EQ(expanded.image.pixels, (std::vector<std::uint8_t>{3, 2, 1, 255, 6, 5, 4, 255}));

  // X8B8G8R8: the unused byte reads as opaque alpha.
  DdsBuilder x8;
  x8.width = 1;
  x8.height = 1;
  x8.Legacy(kDdsPfRgb, 32, 0xff, 0xff00, 0xff0000, 0);
  const ImageResult opaque = ReadDdsFromMemory(x8.Build({9, 8, 7, 0}));
  ASSERT_TRUE(opaque.Ok());
  EXPECT_EQ(opaque.image.pixels, (std::vector<std::uint8_t>{9, 8, 7, 255}));

  // P8: indices into the palette that follows the header.
  DdsBuilder p8;
  p8.width = 2;
  p8.height = 1;
  p8.Legacy(kDdsPfPalette8, 8, 0, 0, 0, 0);
  std::vector<std::uint8_t> payload = Bytes(1024);
  payload.push_back(1);
  payload.push_back(255);
  const ImageResult palette = ReadDdsFromMemory(p8.Build(payload));
  ASSERT_TRUE(palette.Ok());
  EXPECT_EQ(palette.image.pixels, (std::vector<std::uint8_t>{4, 5, 6, 7, 252, 253, 254, 255}));
}

TEST(DdsReader, BadHeadersGiveErrorsAndNoPixels) {
  const auto with = [](auto change) {
    DdsBuilder header;
    change(header);
    return header;
  };
  const struct {
    const char* name;
    std::vector<std::uint8_t> file;
    ImageError error;
  } cases[] = {
      {"empty", {}, ImageError::FileTooSmall},
      {"127 bytes", [] { auto file = DdsBuilder().Build(); file.pop_back(); return file; }(), ImageError::FileTooSmall},
      {"magic", with([](DdsBuilder& h) { h.magic = 0x20534443; }).Build(Bytes(8)), ImageError::BadMagic},
      {"header size", with([](DdsBuilder& h) { h.headerSize = 120; }).Build(Bytes(8)), ImageError::BadHeader},
      {"pixel format size", with([](DdsBuilder& h) { h.pixelFormatSize = 24; }).Build(Bytes(8)), ImageError::BadHeader},
      {"zero width", with([](DdsBuilder& h) { h.width = 0; }).Build(Bytes(8)), ImageError::BadHeader},
      {"DX10 header missing", with([](DdsBuilder& h) { h.FourCC(MakeFourCC('D', 'X', '1', '0')); }).Build(Bytes(8)), ImageError::FileTooSmall},
      {"DX10 array size 0", with([](DdsBuilder& h) { h.Dx10(71, 3, 0); }).Build(Bytes(8)), ImageError::InvalidDx10Header},
      {"DX10 format 0", with([](DdsBuilder& h) { h.Dx10(0); }).Build(Bytes(8)), ImageError::InvalidDx10Header},
      {"DX10 format 112", with([](DdsBuilder& h) { h.Dx10(112); }).Build(Bytes(64)), ImageError::InvalidDx10Header},
      {"DX10 format 191", with([](DdsBuilder& h) { h.Dx10(191); }).Build(Bytes(64)), ImageError::InvalidDx10Header},
      {"DX10 dimension 5", with([](DdsBuilder& h) { h.Dx10(71, 5); }).Build(Bytes(8)), ImageError::InvalidDx10Header},
      {"DX10 1D with height 4", with([](DdsBuilder& h) { h.Dx10(28, 2); }).Build(Bytes(16)), ImageError::InvalidDx10Header},
      {"DX10 3D without depth flag", with([](DdsBuilder& h) { h.Dx10(71, 4); }).Build(Bytes(8)), ImageError::InvalidDx10Header},
      {"DX10 3D array", with([](DdsBuilder& h) { h.Dx10(71, 4, 2); h.flags |= 0x800000; }).Build(Bytes(16)), ImageError::InvalidDx10Header},
      {"DX10 planar NV12", with([](DdsBuilder& h) { h.Dx10(103); }).Build(Bytes(64)), ImageError::UnsupportedFormat},
      {"cube missing a face", with([](DdsBuilder& h) { h.caps2 = 0xBE00; }).Build(Bytes(48)), ImageError::IncompleteCubeMap},
      {"unknown legacy format", with([](DdsBuilder& h) { h.FourCC(MakeFourCC('X', 'Y', 'Z', 'W')); }).Build(Bytes(8)), ImageError::UnsupportedFormat},
      {"payload one byte short", DdsBuilder().Build(Bytes(7)), ImageError::Truncated},
      {"mips past the chain", with([](DdsBuilder& h) { h.mipCount = 4; }).Build(Bytes(64)), ImageError::TooLarge},
      {"width 16385", with([](DdsBuilder& h) { h.width = 16385; }).Build(Bytes(8)), ImageError::TooLarge},
      {"huge array", with([](DdsBuilder& h) { h.Dx10(2, 3, 0x7fffffff); }).Build(Bytes(8)), ImageError::TooLarge},
      {"huge cube array", with([](DdsBuilder& h) { h.Dx10(2, 3, 400); h.miscFlag = 4; }).Build(Bytes(8)), ImageError::TooLarge},
      {"huge volume", with([](DdsBuilder& h) { h.Dx10(2, 4); h.flags |= 0x800000; h.depth = 0xffffffff; }).Build(Bytes(8)), ImageError::TooLarge},
      {"16384 square, few bytes", with([](DdsBuilder& h) { h.width = h.height = 16384; h.Dx10(2); }).Build(Bytes(8)), ImageError::Truncated},
      {"palette missing", with([](DdsBuilder& h) { h.Legacy(kDdsPfPalette8, 8, 0, 0, 0, 0); }).Build(Bytes(100)), ImageError::Truncated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageResult result = ReadDdsFromMemory(c.file);
    EXPECT_EQ(result.error, c.error) << ImageErrorName(result.error);
    EXPECT_TRUE(result.image.pixels.empty());
  }
}

TEST(DdsReader, FilesThatCannotBeReadAndBackslashPaths) {
  EXPECT_EQ(ReadDds(kSamples + "missing.dds").error, ImageError::CannotOpen);
  EXPECT_EQ(ReadDds(kSamples).error, ImageError::CannotOpen);  // a directory
  std::string path = kSamples + "dxt1_129x66_mips.dds";
  std::replace(path.begin(), path.end(), '/', '\\');
  path[0] = '/';
  EXPECT_TRUE(ReadDds(path).Ok());
}

}  // namespace
}  // namespace orvane
