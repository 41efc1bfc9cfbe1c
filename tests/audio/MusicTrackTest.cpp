#include "audio/MusicTrack.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>

#include "audio/MusicChannel.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

class MusicTrackTest : public ::testing::Test {
protected:

  // A stereo file whose left channel holds `left` and right channel `right`.
  std::filesystem::path WriteStereo(int format, float left, float right, int frames, int rate = 8000) {
    const auto path = folder_ / (format == (SF_FORMAT_FLAC | SF_FORMAT_PCM_16) ? "music.flac" : "music.wav");
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr);
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
      samples.push_back(left);
      samples.push_back(right);
    }
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return path;
  }
  testing::TempFolder folder_;
};

TEST_F(MusicTrackTest, DecodesAndMixesDownToOneChannel) {
  for (int format : {SF_FORMAT_WAV | SF_FORMAT_FLOAT, SF_FORMAT_FLAC | SF_FORMAT_PCM_16}) {
    const auto track = DecodeMusicFile(WriteStereo(format, 0.5f, -0.25f, 12000));
    ASSERT_TRUE(track);
    EXPECT_EQ(track->sampleRate, 8000);
    ASSERT_EQ(track->samples.size(), 12000u);
    EXPECT_NEAR(track->samples[100], 0.125f, 1e-4f);
    EXPECT_DOUBLE_EQ(track->Seconds(), 1.5);
  }
}

TEST_F(MusicTrackTest, TheBundledExampleMusicDecodes) {
  const auto track = DecodeMusicFile(std::filesystem::path(ORVANE_SOURCE_DIR) / "examples/first-light/music.ogg");
  ASSERT_TRUE(track);
  EXPECT_GT(track->Seconds(), 1.0);
}

TEST_F(MusicTrackTest, UnreadableFilesGiveNoTrack) {
  const auto garbage = folder_.Write("garbage.ogg", "OggS this is not really a stream");
  const auto empty = folder_.Write("empty.wav", "");
  for (const auto& path : {folder_ / "missing.wav", garbage, empty, folder_.path()}) {
    EXPECT_FALSE(DecodeMusicFile(path)) << path;
    EXPECT_EQ(MusicChannel::Load(path), nullptr) << path;
  }
}

TEST_F(MusicTrackTest, ASilentChannelPlaysAtRealSpeedAndEnds) {
  double now = 50.0;
  auto channel = MusicChannel::Load(WriteStereo(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.1f, 0.1f, 8000),
                                    MusicChannel::Output::Silent, [&] { return now; });
  ASSERT_NE(channel, nullptr);
  EXPECT_FALSE(channel->IsActive());  // not yet playing
  channel->Play();
  EXPECT_FALSE(channel->playsThroughDevice());
  EXPECT_TRUE(channel->IsActive());
  now = 50.25;
  EXPECT_DOUBLE_EQ(channel->PositionSeconds(), 0.25);
  now = 51.0;
  EXPECT_FALSE(channel->IsActive());
  EXPECT_DOUBLE_EQ(channel->PositionSeconds(), 1.0);
}

}  // namespace
}  // namespace orvane
