#pragma once
// A whole music file decoded into memory, mixed down to one channel as the player plays it.

#include <filesystem>
#include <optional>
#include <vector>

namespace orvane {

struct MusicTrack {
  int sampleRate = 0;
  std::vector<float> samples;  // mono, -1 to 1

  double Seconds() const { return sampleRate > 0 ? static_cast<double>(samples.size()) / sampleRate : 0.0; }
};

// Decodes WAV, AIFF, FLAC, Ogg Vorbis, Opus or MP3 (whatever libsndfile reads). Nothing when the
// file cannot be opened or decoded, or is longer than a demo's music can be.
std::optional<MusicTrack> DecodeMusicFile(const std::filesystem::path& path);

}  // namespace orvane
