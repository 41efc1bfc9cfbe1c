#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "resources/EmbeddedFiles.h"

namespace orvane {

// Made by the build from tests/resources/shaders.
std::span<const EmbeddedFile> TestShaderFiles();

namespace {

std::string Text(const std::optional<std::vector<std::uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

TEST(ShaderFiles, PathsHaveOneSpelling) {
  const struct {
    const char* path;
    const char* normal;
  } cases[] = {
      {"data//shaders//fxaamainVS.vs", "data/shaders/fxaamainVS.vs"},
      {"data\\shaders\\lights\\pointLightVS.vs", "data/shaders/lights/pointLightVS.vs"},
      {"./data/shaders/copyPS.ps", "data/shaders/copyPS.ps"},
      {"shaders//glowmainPS.ps", "shaders/glowmainPS.ps"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeDataPath(c.path), c.normal) << c.path;
}

TEST(ShaderFiles, FamiliesSplitIntoOneFilePerEntry) {
  const auto files = TestShaderFiles();
  std::vector<std::string> paths;
  for (const EmbeddedFile& file : files) paths.emplace_back(file.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"data/shaders/sub/plainPS.ps", "data/shaders/testfamilyVS.vs",
                                             "data/shaders/testfamilyPSRed.ps", "data/shaders/testfamilyPSBlue.ps"}));

  const auto red = FindEmbeddedFile(files, "data//shaders//testfamilyPSRed.ps");
  ASSERT_TRUE(red.has_value());
  EXPECT_EQ(red->rfind("#version 450 core\n", 0), 0u);            // common part first
  EXPECT_NE(red->find("uniform Constants"), std::string_view::npos);
  EXPECT_NE(red->find("vec4(1.0, 0.0, 0.0, 1.0)"), std::string_view::npos);
  EXPECT_EQ(red->find("vec4(uv, 1.0, 1.0)"), std::string_view::npos);  // not the other entry
  EXPECT_EQ(red->find("gl_VertexID"), std::string_view::npos);
  EXPECT_FALSE(FindEmbeddedFile(files, "data/shaders/testfamilyPS.ps").has_value());
}

TEST(ShaderFiles, IncludesAreExpandedAndMakeNoFileOfTheirOwn) {
  const auto plain = FindEmbeddedFile(TestShaderFiles(), "data/shaders/sub/plainPS.ps");
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->find("//@include"), std::string_view::npos);
  const size_t function = plain->find("vec4 Half() { return vec4(0.5); }");
  const size_t lineReset = plain->find("#line 3\n");  // the including file's numbering goes on
  const size_t use = plain->find("color = Half();");
  ASSERT_NE(function, std::string_view::npos);
  ASSERT_NE(lineReset, std::string_view::npos);
  ASSERT_NE(use, std::string_view::npos);
  EXPECT_LT(function, lineReset);
  EXPECT_LT(lineReset, use);
  for (const EmbeddedFile& file : TestShaderFiles()) EXPECT_EQ(std::string_view(file.path).find(".inc"), std::string_view::npos);
}

TEST(ShaderFiles, DemoFolderFileTakesPrecedence) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("orvane-shaders-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder / "data/shaders/sub");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);

  EXPECT_NE(Text(ReadDataFile("data//shaders//sub//plainPS.ps", TestShaderFiles())).find("vec4(0.5)"),
            std::string::npos);
  std::ofstream("data/shaders/sub/plainPS.ps") << "demo's own";
  EXPECT_EQ(Text(ReadDataFile("data\\shaders\\sub\\plainPS.ps", TestShaderFiles())), "demo's own");

  testing::internal::CaptureStdout();
  EXPECT_FALSE(ReadDataFile("data//shaders//nothingPS.ps", TestShaderFiles()).has_value());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to open data//shaders//nothingPS.ps\n");

  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orvane
