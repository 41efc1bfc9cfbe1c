#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "resources/ImageDecoder.h"
#include "resources/PngBuilder.h"
#include "resources/ReadWholeFile.h"

namespace orvane {
namespace {

using test::PngBuilder;

const std::string kSamples = std::string(ORVANE_SHARED_DIR) + "/external-samples/images/";

// One texel of a decoded image, as channel values of its format.
std::vector<int> Texel(const DecodedImage& image, std::size_t x, std::size_t y) {
  const bool wide = image.dxgiFormat == kDxgiR16Unorm || image.dxgiFormat == kDxgiR16G16B16A16Unorm;
  const std::size_t channels =
      (image.dxgiFormat == kDxgiR8Unorm || image.dxgiFormat == kDxgiR16Unorm) ? 1 : 4;
  const std::size_t bytes = wide ? 2 : 1;
  const std::size_t at = ((y * image.width) + x) * channels * bytes;
  std::vector<int> values;
  for (std::size_t c = 0; c < channels; ++c) {
    const std::size_t i = at + c * bytes;
    values.push_back(wide ? image.pixels[i] | image.pixels[i + 1] << 8 : image.pixels[i]);
  }
  return values;
}

struct ImageSampleFacts {
  const char* file;
  std::size_t width;
  std::size_t height;
  std::uint32_t dxgiFormat;
  bool srgb;
  std::size_t x;
  std::size_t y;
  std::vector<int> texel;
  int tolerance;
};

class ImageSampleTest : public testing::TestWithParam<ImageSampleFacts> {};

TEST_P(ImageSampleTest, DecodesToTheFacts) {
  const ImageSampleFacts& facts = GetParam();
  const ImageResult result = DecodeImage(kSamples + facts.file);
  ASSERT_TRUE(result.Ok()) << ImageErrorName(result.error);
  const DecodedImage& image = result.image;
  EXPECT_EQ(image.width, facts.width);
  EXPECT_EQ(image.height, facts.height);
  EXPECT_EQ(image.mipLevels, 1u);
  EXPECT_EQ(image.arraySize, 1u);
  EXPECT_EQ(image.dxgiFormat, facts.dxgiFormat);
  EXPECT_EQ(image.declaresSrgb, facts.srgb);
  const std::vector<int> texel = Texel(image, facts.x, facts.y);
  ASSERT_EQ(texel.size(), facts.texel.size());
  for (std::size_t c = 0; c < texel.size(); ++c) {
    EXPECT_NEAR(texel[c], facts.texel[c], facts.tolerance) << "channel " << c;
  }
}

INSTANTIATE_TEST_SUITE_P(
    ExternalSamples, ImageSampleTest,
    testing::Values(
        ImageSampleFacts{"rgb-8-sRGB.png", 256, 256, kDxgiR8G8B8A8Unorm, true, 10, 20, {11, 51, 91, 255}, 0},
        ImageSampleFacts{"basn0g08.png", 32, 32, kDxgiR8Unorm, false, 10, 20, {140}, 0},
        ImageSampleFacts{"basn3p08.png", 32, 32, kDxgiR8G8B8A8Unorm, false, 10, 20, {255, 255, 68, 255}, 0},
        ImageSampleFacts{"basn2c16.png", 32, 32, kDxgiR16G16B16A16Unorm, false, 10, 20, {44395, 23254, 0, 65535}, 0},
        ImageSampleFacts{"testimgp.jpg", 227, 149, kDxgiR8G8B8A8Unorm, false, 113, 74, {242, 45, 52, 255}, 8}),
    [](const testing::TestParamInfo<ImageSampleFacts>& sample) {
      std::string name = sample.param.file;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(ImageDecoder, BuiltPngsOfEachKind) {
  const struct {
    const char* name;
    std::uint8_t bitDepth;
    std::uint8_t colourType;
    std::vector<std::uint8_t> row;  // one row of 2 texels
    std::uint32_t dxgiFormat;
    std::vector<std::uint8_t> pixels;
  } cases[] = {
      {"grey 8", 8, 0, {10, 200}, kDxgiR8Unorm, {10, 200}},
      {"grey 16", 16, 0, {0x12, 0x34, 0xAB, 0xCD}, kDxgiR16Unorm, {0x34, 0x12, 0xCD, 0xAB}},
      {"grey + alpha", 8, 4, {10, 20, 30, 40}, kDxgiR8G8B8A8Unorm, {10, 10, 10, 20, 30, 30, 30, 40}},
      {"RGB 8", 8, 2, {1, 2, 3, 4, 5, 6}, kDxgiR8G8B8A8Unorm, {1, 2, 3, 255, 4, 5, 6, 255}},
      {"RGBA 8", 8, 6, {1, 2, 3, 4, 5, 6, 7, 8}, kDxgiR8G8B8A8Unorm, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto file = PngBuilder(2, 1, c.bitDepth, c.colourType).Build(c.row, c.row.size());
    const ImageResult result = DecodeImageFromMemory(file);
    ASSERT_TRUE(result.Ok()) << ImageErrorName(result.error);
    EXPECT_EQ(result.image.dxgiFormat, c.dxgiFormat);
    EXPECT_EQ(result.image.pixels, c.pixels);
  }
}

TEST(ImageDecoder, SrgbChunkKeepsThePlainFormat) {
  const auto file = PngBuilder(1, 1, 8, 2).Srgb().Build({1, 2, 3}, 3);
  const ImageResult result = DecodeImageFromMemory(file);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.image.dxgiFormat, kDxgiR8G8B8A8Unorm);
  EXPECT_TRUE(result.image.declaresSrgb);
}

TEST(ImageDecoder, BadFilesGiveErrorsAndNoPixels) {
  const auto png = PngBuilder(4, 4, 8, 6).Build(std::vector<std::uint8_t>(64, 9), 16);
  const auto jpeg = ReadWholeFile(kSamples + "testimgp.jpg").value();
  const auto cut = [](std::vector<std::uint8_t> file, std::size_t size) {
    file.resize(size);
    return file;
  };
  // Headers that ask for far more texels than the file's bytes could encode.
  const auto bombPng = PngBuilder(16000, 16000, 8, 6).Build(std::vector<std::uint8_t>(64, 0), 64);
  auto bombJpeg = jpeg;
  // SOF2 frame size: height at +5, width at +7 from the marker.
  for (std::size_t i = 0; i + 9 < bombJpeg.size(); ++i) {
    if (bombJpeg[i] == 0xFF && bombJpeg[i + 1] == 0xC2) {
      bombJpeg[i + 5] = 0x3E;
      bombJpeg[i + 6] = 0x80;
      bombJpeg[i + 7] = 0x3E;
      bombJpeg[i + 8] = 0x80;
      break;
    }
  }
  // A Huffman table that lists more than 256 codes (the decoder would write past its tables).
  auto overfullTable = jpeg;
  for (std::size_t i = 0; i + 20 < overfullTable.size(); ++i) {
    if (overfullTable[i] == 0xFF && overfullTable[i + 1] == 0xC4) {
      overfullTable[i + 19] = 0xFF;  // code counts of lengths 15 and 16
      overfullTable[i + 20] = 0xFF;
      break;
    }
  }
  const struct {
    const char* name;
    std::vector<std::uint8_t> file;
    ImageError error;
  } cases[] = {
      {"empty", {}, ImageError::DecodeFailed},
      {"not an image", {'h', 'e', 'l', 'l', 'o'}, ImageError::DecodeFailed},
      {"PNG cut in its header", cut(png, 20), ImageError::DecodeFailed},
      {"PNG cut in its data", cut(png, png.size() - 30), ImageError::DecodeFailed},
      {"PNG 16000 square from 64 bytes", bombPng, ImageError::TooLarge},
      {"PNG wider than a texture", PngBuilder(20000, 1, 8, 0).Build(std::vector<std::uint8_t>(20000, 0), 20000), ImageError::TooLarge},
      {"JPEG cut in its header", cut(jpeg, 100), ImageError::DecodeFailed},
      {"JPEG claiming 16000 square", bombJpeg, ImageError::TooLarge},
      {"JPEG Huffman table of 510 codes", overfullTable, ImageError::DecodeFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageResult result = DecodeImageFromMemory(c.file);
    EXPECT_EQ(result.error, c.error) << ImageErrorName(result.error);
    EXPECT_TRUE(result.image.pixels.empty());
  }
  EXPECT_EQ(DecodeImage(kSamples + "missing.png").error, ImageError::CannotOpen);
}

}  // namespace
}  // namespace orvane
