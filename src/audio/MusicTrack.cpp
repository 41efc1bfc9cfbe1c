#include "audio/MusicTrack.h"

#include <sndfile.h>

#include <memory>

namespace orvane {
namespace {

// Two hours at 192 kHz: enough for any demo, and a bound on what a header can make us allocate.
constexpr sf_count_t kMaxFrames = sf_count_t{192000} * 60 * 60 * 2;
constexpr int kMaxChannels = 64;

struct FileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

}  // namespace

std::optional<MusicTrack> DecodeMusicFile(const std::filesystem::path& path) {
  SF_INFO info{};
  std::unique_ptr<SNDFILE, FileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file || info.samplerate <= 0 || info.channels <= 0 || info.channels > kMaxChannels ||
      info.frames <= 0 || info.frames > kMaxFrames) {
    return std::nullopt;
  }
  MusicTrack track;
  track.sampleRate = info.samplerate;
  track.samples.reserve(static_cast<size_t>(info.frames));
  const auto channels = static_cast<size_t>(info.channels);
  std::vector<float> block(4096 * channels);
  for (;;) {
    const sf_count_t frames = sf_readf_float(file.get(), block.data(), 4096);
    if (frames <= 0) break;
    for (size_t frame = 0; frame < static_cast<size_t>(frames); ++frame) {
      float sum = 0.0f;
      for (size_t channel = 0; channel < channels; ++channel) sum += block[frame * channels + channel];
      track.samples.push_back(sum / static_cast<float>(channels));
    }
  }
  if (track.samples.empty()) return std::nullopt;
  return track;
}

}  // namespace orvane
