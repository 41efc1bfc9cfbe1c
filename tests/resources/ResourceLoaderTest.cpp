#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"
#include "scene/lwobject/LwObject.h"

namespace orvane {
namespace {

const std::string kSamples = std::string(ORVANE_SHARED_DIR) + "/external-samples/";

// Runs each test in a fresh folder, as a demo's folder, and empties the caches afterwards.
class ResourceLoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("orvane-loader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_ / "data/shaders");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
  }
  void TearDown() override {
    ReleaseLoaderCaches();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

  std::filesystem::path folder_;
  std::filesystem::path previous_;
};

TEST_F(ResourceLoaderTest, ShaderStagesAreReadOncePerKey) {
  Write("data/shaders/fxaamainVS.vs", "vertex");
  Write("data/shaders/fxaamainPS.ps", "pixel");
  const std::size_t before = LoaderFileReads();
  const ShaderBlob* vertex = LoadShaderStage(kStageVertex, "fxaamainVS", false);
  const ShaderBlob* pixel = LoadShaderStage(kStagePixel, "fxaamainPS", false);
  ASSERT_NE(vertex, nullptr);
  ASSERT_NE(pixel, nullptr);
  EXPECT_EQ(std::string(vertex->code.begin(), vertex->code.end()), "vertex");
  EXPECT_EQ(vertex->size, 6u);
  EXPECT_EQ(pixel->stage, kStagePixel);
  EXPECT_EQ(LoaderFileReads(), before + 2);
  // A second effect with the same name and entry shares the blob; nothing is read.
  EXPECT_EQ(LoadShaderStage(kStageVertex, "fxaamainVS", false), vertex);
  EXPECT_EQ(LoaderFileReads(), before + 2);
}

TEST_F(ResourceLoaderTest, DocumentShadersAndMissingFiles) {
  std::filesystem::create_directories("shaders");
  Write("shaders/glowmainPS.ps", "glow");
  EXPECT_NE(LoadShaderStage(kStagePixel, "shaders//glowmainPS", true), nullptr);

  // Failures are not cached: each request tries again and says so.
  for (int attempt = 0; attempt < 2; ++attempt) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadShaderStage(kStageVertex, "missingVS", false), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to open data//shaders//missingVS.vs\n");
  }
}

TEST_F(ResourceLoaderTest, MeshesAreReadOnceAndFailuresRemembered) {
  const std::string cube = kSamples + "lwo/simple_cube.lwo";
  const std::size_t before = LoaderFileReads();
  const LwObject* first = LoadMesh(cube);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LoadMesh(cube), first);
  EXPECT_EQ(LoaderFileReads(), before + 1);

  testing::internal::CaptureStderr();
  EXPECT_EQ(LoadMesh("missing.lwo"), nullptr);
  EXPECT_EQ(LoadMesh("missing.lwo"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "File not found!\n");
  EXPECT_EQ(LoaderFileReads(), before + 2);
}

TEST_F(ResourceLoaderTest, TexturesThatCannotBeMadeAreNotCached) {
  // No texture is made here (no adapter is needed): every case fails before creation.
  const std::size_t before = LoaderFileReads();
  const struct {
    std::string name;
    std::size_t reads;
  } cases[] = {
      {"photo", 0},                                            // no extension
      {kSamples + "images/basn0g08.PNG", 0},                   // extension compared exactly
      {kSamples + "images/basn0g08.gif", 0},                   // not a texture extension
      {"missing.png", 1},                                      // file not there
      {kSamples + "images/basn2c16.png", 1},                   // 16-bit colour: no format code
      {kSamples + "dds/dx10_rgba8_srgb_3x2_magnum.dds", 1},    // DXGI 29: no format code
  };
  std::size_t reads = before;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int attempt = 0; attempt < 2; ++attempt) {
      EXPECT_EQ(LoadTexture(c.name), nullptr);
      reads += c.reads;
      EXPECT_EQ(LoaderFileReads(), reads);
    }
  }
}

}  // namespace
}  // namespace orvane
