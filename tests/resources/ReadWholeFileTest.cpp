#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "resources/ReadWholeFile.h"

namespace orvane {
namespace {

class ReadWholeFileTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("orvane-read-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_ / "sub");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& name, const std::string& content) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  std::filesystem::path folder_;
};

TEST_F(ReadWholeFileTest, ReadsEveryByte) {
  const std::string content("a\0b\r\n\xff", 6);
  const auto bytes = ReadWholeFile(Write("data.bin", content));
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), content);
}

TEST_F(ReadWholeFileTest, EmptyFileGivesNoBytes) {
  const auto bytes = ReadWholeFile(Write("empty.bin", ""));
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(bytes->empty());
}

TEST_F(ReadWholeFileTest, BackslashesSeparateDirectories) {
  Write("sub/file.txt", "xyz");
  const std::string path = folder_.string() + "\\sub\\file.txt";
  const auto bytes = ReadWholeFile(path);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), 3u);
}

TEST_F(ReadWholeFileTest, MissingFilesAndFoldersPrintOnStandardOutput) {
  for (const std::string& path : {(folder_ / "missing.bin").string(), (folder_ / "sub").string()}) {
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ReadWholeFile(path).has_value());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to open " + path + "\n");
  }
  testing::internal::CaptureStdout();
  EXPECT_FALSE(ReadWholeFileQuietly((folder_ / "missing.bin").string()).has_value());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
}  // namespace orvane
