#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "render/RenderFixture.h"
#include "resources/ResourceLoader.h"

namespace orvane {
namespace {

const std::string kSamples = std::string(ORVANE_SHARED_DIR) + "/external-samples/";

class ResourceLoaderRenderTest : public test::RenderTest {
 protected:
  void TearDown() override { ReleaseLoaderCaches(); }
};

TEST_F(ResourceLoaderRenderTest, TexturesLoadOnceWithTheirFormat) {
  const struct {
    std::string name;
    FormatCode format;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t arraySize;
    std::uint32_t mipLevels;
  } cases[] = {
      {kSamples + "images/basn0g08.png", kFormatR8, 32, 32, 1, 1},
      // 8-bit colour is display-encoded: sRGB textures, decoded once by the sampler; a grey file
      // and float data are read as they are.
      {kSamples + "images/rgb-8-sRGB.png", kFormatRGBA8Srgb, 256, 256, 1, 1},
      {kSamples + "images/testimgp.jpg", kFormatRGBA8Srgb, 227, 149, 1, 1},
      {kSamples + "dds/dxt5_129x66_mips.dds", kFormatBC3Srgb, 129, 66, 1, 8},
      {kSamples + "dds/a8r8g8b8_129x66_mips.dds", kFormatBGRA8Srgb, 129, 66, 1, 8},
      {kSamples + "dds/rgba32f_fourcc116_129x66_mips.dds", kFormatRGBA32F, 129, 66, 1, 8},
      {kSamples + "dds/cube_dxt1_128_mips.dds", kFormatBC1Srgb, 128, 128, 6, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = LoaderFileReads();
    GpuResource* texture = LoadTexture(c.name);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->desc.format, c.format);
    EXPECT_EQ(texture->Width(), c.width);
    EXPECT_EQ(texture->Height(), c.height);
    EXPECT_EQ(texture->desc.arraySize, c.arraySize);
    EXPECT_EQ(texture->desc.mipLevels, c.mipLevels);
    EXPECT_EQ(LoadTexture(c.name), texture);
    EXPECT_EQ(LoaderFileReads(), before + 1);
  }
}

TEST_F(ResourceLoaderRenderTest, TexelsArriveOnTheGpu) {
  // a8r8g8b8: texel (64, 33) is B,G,R,A = c3 43 81 00 in the file, read back in upload order.
  GpuResource* texture = LoadTexture(kSamples + "dds/a8r8g8b8_129x66_mips.dds");
  ASSERT_NE(texture, nullptr);
  const std::vector<std::uint8_t> texels = ReadTexture(*texture);
  ASSERT_EQ(texels.size(), 129u * 66u * 4u);
  const std::size_t at = (33 * 129 + 64) * 4;
  EXPECT_EQ(texels[at], 0xc3);
  EXPECT_EQ(texels[at + 1], 0x43);
  EXPECT_EQ(texels[at + 2], 0x81);
  EXPECT_EQ(texels[at + 3], 0x00);
}

TEST_F(ResourceLoaderRenderTest, PassesLoadFromShaderFiles) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("orvane-loader-gl-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder / "data/shaders/lights");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::ofstream("data/shaders/lights/pointLightVS.vs") << test::kFullScreenVS;
  std::ofstream("data/shaders/lights/pointLightPS.ps") << test::kSolidColorPS;

  ShaderEntries entries;
  entries.vertex = "VS";
  entries.pixel = "PS";
  ShaderPass* slot = nullptr;
  EXPECT_TRUE(LoadShaderPassFromFile(adapter(), "data\\shaders\\lights\\pointLight.hlsl", entries, slot));
  ASSERT_NE(slot, nullptr);
  EXPECT_TRUE(slot->HasStage(kStageVertex));
  EXPECT_TRUE(slot->HasStage(kStagePixel));

  // A missing stage keeps the previous pass in the slot.
  ShaderPass* const kept = slot;
  entries.pixel = "Missing";
  testing::internal::CaptureStdout();
  EXPECT_FALSE(LoadShaderPassFromFile(adapter(), "data\\shaders\\lights\\pointLight.hlsl", entries, slot));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Failed to open data\\shaders\\lights\\pointLightMissing.ps\n");
  EXPECT_EQ(slot, kept);
  DestroyShaderPass(slot);

  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orvane
