// Writes the bundled demos' music, synthesised sample by sample and saved through libsndfile; the
// file name's extension picks the format (.ogg Vorbis, .flac, .wav).
//   synth OUT [SECONDS] [--piece first-light|showcase]

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Piece.h"
#include "Voices.h"

namespace {

int FormatFor(const std::string& path) {
  const auto ends = [&](const char* suffix) {
    const std::string s(suffix);
    return path.size() >= s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0;
  };
  if (ends(".ogg")) return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  if (ends(".flac")) return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

int Usage() {
  std::fprintf(stderr, "usage: synth OUT [SECONDS] [--piece first-light|showcase]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> positional;
  std::string_view piece = "first-light";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--piece") {
      if (++i == argc) return Usage();
      piece = argv[i];
    } else {
      positional.push_back(argument);
    }
  }
  if (positional.empty() || positional.size() > 2) return Usage();
  const bool showcase = piece == "showcase";
  if (!showcase && piece != "first-light") return Usage();
  const double seconds = positional.size() > 1 ? std::atof(std::string(positional[1]).c_str()) : (showcase ? 96.0 : 40.0);
  if (!(seconds > 0.0 && seconds < 3600.0)) {
    std::fprintf(stderr, "synth: SECONDS must be between 0 and 3600\n");
    return 2;
  }
  const auto frames = static_cast<sf_count_t>(seconds * synth::kSampleRate);
  const std::string path(positional[0]);

  SF_INFO info{};
  info.samplerate = synth::kSampleRate;
  info.channels = 1;
  info.format = FormatFor(path);
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "synth: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
    return 1;
  }
  if (info.format & SF_FORMAT_VORBIS) {
    double quality = 0.35;
    sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
  }
  const auto music = showcase ? synth::MakeShowcasePiece(seconds) : synth::MakeFirstLightPiece(seconds);
  // Written in blocks: libsndfile's Vorbis encoder crashes on very large single writes.
  constexpr sf_count_t kBlock = 4096;
  std::vector<float> block(static_cast<size_t>(kBlock));
  sf_count_t written = 0;
  for (sf_count_t start = 0; start < frames; start += kBlock) {
    const sf_count_t count = std::min(kBlock, frames - start);
    for (sf_count_t i = 0; i < count; ++i) block[static_cast<size_t>(i)] = static_cast<float>(music->Sample(start + i));
    written += sf_writef_float(file, block.data(), count);
  }
  sf_close(file);
  return written == frames ? 0 : 1;
}
