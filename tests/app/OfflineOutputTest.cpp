#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdio>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/FrameSink.h"
#include "app/PngFrameSink.h"
#include "app/QueuedFrameSink.h"
#include "app/RenderSchedule.h"
#include "app/VideoFrameSink.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

TEST(RenderSchedule, FramesBelowTheEndTimeAndAtLeastOne) {
  const std::tuple<double, double, double, int64_t> cases[] = {
      // from, to, fps, frames
      {0.0, 1.0, 60.0, 60},
      {0.0, 1.0 / 60.0, 60.0, 1},
      {0.0, 0.0, 60.0, 1},       // an empty span still renders one frame
      {5.0, 2.0, 30.0, 1},
      {0.0, 0.1, 30.0, 3},       // 0, 1/30, 2/30 are below 0.1; 3/30 is not
      {1.0, 2.5, 24.0, 36},
      {0.0, 10.0, 29.97, 300},
  };
  for (const auto& [from, to, fps, frames] : cases) {
    const RenderSchedule schedule{from, to, fps};
    ASSERT_TRUE(schedule.FrameCount()) << from << " " << to;
    EXPECT_EQ(*schedule.FrameCount(), frames) << from << " " << to << " " << fps;
    EXPECT_LT(schedule.TimeOf(frames - 1), std::max(to, from + 1e-9));
  }
  EXPECT_DOUBLE_EQ((RenderSchedule{2.0, 3.0, 4.0}).TimeOf(3), 2.75);
  EXPECT_FALSE((RenderSchedule{0.0, 1e300, 60.0}).FrameCount());  // refused, not overflowed
}

TEST(RenderSchedule, ProgressLine) {
  EXPECT_EQ(ProgressText(120, 600, 2.0), "frame 120/600  60.0 fps  0:08 left");
  EXPECT_EQ(ProgressText(0, 10, 0.0), "frame 0/10  0.0 fps  0:00 left");
  EXPECT_EQ(ProgressText(10, 7210, 10.0), "frame 10/7210  1.0 fps  120:00 left");
}

class OfflineOutputTest : public ::testing::Test {
protected:

  // A frame whose top row is red and the rest blue, so the row order shows.
  static std::vector<uint8_t> Frame(const FrameFormat& format, uint8_t green) {
    std::vector<uint8_t> rgba(static_cast<size_t>(format.width * format.height * 4));
    for (int y = 0; y < format.height; ++y) {
      for (int x = 0; x < format.width; ++x) {
        uint8_t* pixel = &rgba[static_cast<size_t>((y * format.width + x) * 4)];
        pixel[0] = y == 0 ? 255 : 0;
        pixel[1] = green;
        pixel[2] = y == 0 ? 0 : 255;
        pixel[3] = 255;
      }
    }
    return rgba;
  }
  static std::string Run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[256];
      while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
      pclose(pipe);
    }
    return output;
  }
  testing::TempFolder folder_;
};

TEST_F(OfflineOutputTest, PngFramesAreNumberedRgbaTopRowFirst) {
  const FrameFormat format{8, 4, 30.0};
  std::string error;
  auto sink = OpenFrameSink(folder_ / "frames" / "nested", format, {}, error);
  ASSERT_NE(sink, nullptr) << error;
  for (uint8_t green : {0, 100, 200}) ASSERT_TRUE(sink->Write(Frame(format, green))) << sink->error();
  EXPECT_TRUE(sink->Finish());
  EXPECT_FALSE(sink->Write(std::vector<uint8_t>(7)));  // a frame of the wrong size is refused

  int width = 0, height = 0, channels = 0;
  const auto path = folder_ / "frames" / "nested" / "frame_000002.png";
  stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 0);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 4);
  EXPECT_EQ(channels, 4);
  EXPECT_EQ(pixels[0], 255);            // top row red
  EXPECT_EQ(pixels[1], 200);            // third frame's green
  EXPECT_EQ(pixels[8 * 4 + 2], 255);    // second row blue
  stbi_image_free(pixels);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "frames" / "nested" / "frame_000003.png"));
}

TEST_F(OfflineOutputTest, AnUnwritableFolderIsAnError) {
  folder_.Write("file", "x");
  std::string error;
  EXPECT_EQ(OpenFrameSink(folder_ / "file" / "frames", FrameFormat{4, 4, 30.0}, {}, error), nullptr);
  EXPECT_NE(error.find("cannot make the folder"), std::string::npos);
}

TEST_F(OfflineOutputTest, VideosHaveTheFramesAndTheMusic) {
  const FrameFormat format{64, 36, 30.0};
  const SoundTrack sound{std::filesystem::path(ORVANE_SOURCE_DIR) / "examples/first-light/music.ogg", 1.0, 0.5};
  for (const char* name : {"clip.mp4", "clip.webm"}) {
    std::string error;
    auto sink = OpenFrameSink(folder_ / name, format, sound, error);
    ASSERT_NE(sink, nullptr) << error;
    for (int frame = 0; frame < 15; ++frame) ASSERT_TRUE(sink->Write(Frame(format, static_cast<uint8_t>(frame * 16))));
    ASSERT_TRUE(sink->Finish()) << sink->error();
    const std::string streams =
        Run("ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames,width,height -of csv=p=0 '" +
            (folder_ / name).string() + "'");
    EXPECT_NE(streams.find("video,64,36,15"), std::string::npos) << name << ": " << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << name << ": " << streams;
  }
}

TEST_F(OfflineOutputTest, AVideoThatCannotBeWrittenReportsIt) {
  std::string error;
  folder_.Write("file", "x");
  EXPECT_EQ(OpenFrameSink(folder_ / "file" / "clip.mp4", FrameFormat{16, 16, 30.0}, {}, error), nullptr);
  EXPECT_NE(error.find("cannot make the folder"), std::string::npos);

  std::filesystem::create_directories(folder_ / "clip.mp4");  // ffmpeg cannot write over a folder
  auto sink = OpenFrameSink(folder_ / "clip.mp4", FrameFormat{16, 16, 30.0}, {}, error);
  ASSERT_NE(sink, nullptr);
  const std::vector<uint8_t> frame(16 * 16 * 4, 0);
  for (int i = 0; i < 200 && sink->Write(frame); ++i) {
  }
  EXPECT_FALSE(sink->Finish());
  EXPECT_NE(sink->error().find("clip.mp4"), std::string::npos);
}

// A sink that keeps the first byte of each frame, slowly, and fails at frame `failAt`.
class RecordingSink final : public FrameSink {
public:
  explicit RecordingSink(int failAt) : failAt_(failAt) {}
  bool Write(std::span<const uint8_t> rgba) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (static_cast<int>(firsts.size()) == failAt_) {
      error_ = "disk full";
      return false;
    }
    firsts.push_back(rgba[0]);
    return true;
  }
  bool Finish() override {
    ++finishes;
    return true;
  }
  std::vector<uint8_t> firsts;
  std::atomic<int> finishes = 0;

private:
  int failAt_;
};

TEST(QueuedFrameSink, WritesEveryFrameInOrderOnItsThreadAndReportsTheWritersFailure) {
  const FrameFormat format{2, 1, 30.0};
  struct Case {
    const char* name;
    int failAt;  // -1: never
    int accepted;
  };
  for (const Case& c : {Case{"all written", -1, 10}, Case{"failing at the fourth", 3, -1}}) {
    SCOPED_TRACE(c.name);
    auto inner = std::make_unique<RecordingSink>(c.failAt);
    RecordingSink& recorded = *inner;
    QueuedFrameSink sink(std::move(inner), format);
    EXPECT_FALSE(sink.Write(std::vector<uint8_t>(7)));  // wrong size: refused at once
    int accepted = 0;
    for (uint8_t frame = 0; frame < 10; ++frame) {
      if (!sink.Write(std::vector<uint8_t>(8, frame))) break;
      ++accepted;
    }
    const bool finished = sink.Finish();
    if (c.failAt < 0) {
      EXPECT_EQ(accepted, c.accepted);
      EXPECT_TRUE(finished);
      EXPECT_EQ(recorded.firsts, (std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
      EXPECT_EQ(recorded.finishes, 1);
    } else {
      // The failure comes back by a later Write or by Finish, with the writer's words.
      EXPECT_LT(accepted, 10);
      EXPECT_FALSE(finished);
      EXPECT_EQ(sink.error(), "disk full");
      EXPECT_EQ(recorded.firsts, (std::vector<uint8_t>{0, 1, 2}));
    }
    EXPECT_FALSE(sink.Write(std::vector<uint8_t>(8, 0)));  // after Finish
  }
}

TEST(VideoFrameSink, EncoderArguments) {
  const auto withSound = VideoFrameSink::EncoderArguments("out.webm", FrameFormat{640, 360, 60.0},
                                                          SoundTrack{"music.ogg", 2.5, 10.0});
  const std::string joined = [&] {
    std::string text;
    for (const auto& argument : withSound) text += argument + " ";
    return text;
  }();
  EXPECT_NE(joined.find("-s 640x360 -r 60.000000 -i - "), std::string::npos) << joined;
  EXPECT_NE(joined.find("-ss 2.500000 -t 10.000000 -i music.ogg -map 0:v -map 1:a"), std::string::npos) << joined;
  EXPECT_NE(joined.find("libvpx-vp9"), std::string::npos);
  EXPECT_NE(joined.find("libopus"), std::string::npos);
  EXPECT_EQ(withSound.back(), "out.webm");
  const auto silent = VideoFrameSink::EncoderArguments("out.mp4", FrameFormat{64, 64, 30.0}, {});
  for (const auto& argument : silent) EXPECT_NE(argument, "-map");
  EXPECT_TRUE(IsVideoPath("a.mkv") && IsVideoPath("a.mp4") && IsVideoPath("a.webm"));
  EXPECT_FALSE(IsVideoPath("frames") || IsVideoPath("a.png") || IsVideoPath("mp4"));
}

}  // namespace
}  // namespace orvane
