// Writes the bundled example's music: a soft chord progression with a pulse on every beat,
// rendered sample by sample and saved as 16-bit WAV through libsndfile.
//   synth OUT.wav [SECONDS]

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kBeatsPerSecond = 2.0;

// Root frequencies of the chords, one chord every two seconds.
constexpr double kChordRoots[] = {220.0, 174.61, 196.0, 164.81};

double Pad(double t) {
  const double root = kChordRoots[static_cast<int>(t / 2.0) % 4];
  const double ratios[] = {1.0, 1.2599, 1.4983};  // major triad
  double sum = 0.0;
  for (double ratio : ratios) sum += std::sin(2.0 * std::numbers::pi * root * ratio * t);
  return sum / 3.0;
}

double Pulse(double t) {
  const double sinceBeat = std::fmod(t * kBeatsPerSecond, 1.0) / kBeatsPerSecond;
  const double envelope = std::exp(-sinceBeat * 18.0);
  return envelope * std::sin(2.0 * std::numbers::pi * 55.0 * t);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: synth OUT.wav [SECONDS]\n");
    return 2;
  }
  const double seconds = argc > 2 ? std::atof(argv[2]) : 8.0;
  const auto frames = static_cast<sf_count_t>(seconds * kSampleRate);

  SF_INFO info{};
  info.samplerate = kSampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "synth: cannot write %s: %s\n", argv[1], sf_strerror(nullptr));
    return 1;
  }
  std::vector<float> samples(static_cast<size_t>(frames));
  for (sf_count_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double fade = std::fmin(1.0, std::fmin(t, seconds - t) * 4.0);
    samples[static_cast<size_t>(i)] = static_cast<float>(fade * (0.35 * Pad(t) + 0.45 * Pulse(t)));
  }
  const sf_count_t written = sf_writef_float(file, samples.data(), frames);
  sf_close(file);
  return written == frames ? 0 : 1;
}
