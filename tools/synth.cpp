// Writes the bundled example's music: a short electronic piece in A minor at 120 beats per minute,
// synthesised sample by sample (detuned saw pads, a plucked bass, kick, hats and an arpeggio with
// echo) and saved through libsndfile; the file name's extension picks the format (.ogg Vorbis,
// .flac, .wav).
//   synth OUT [SECONDS]

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kBeat = 0.5;       // seconds: 120 beats per minute
constexpr double kBar = 4 * kBeat;  // one chord per bar
constexpr double kTau = 2.0 * std::numbers::pi;

double NoteFrequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Am, F, C, G: root and the chord's three notes (MIDI numbers).
struct Chord {
  int root;
  std::array<int, 3> notes;
};
constexpr Chord kChords[] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};

const Chord& ChordAt(double t) { return kChords[static_cast<int>(t / kBar) % 4]; }

double Saw(double phase) { return 2.0 * (phase - std::floor(phase + 0.5)); }
double Triangle(double phase) { return 1.0 - 4.0 * std::fabs(phase - std::floor(phase + 0.5)); }

// Which parts play in which bar: intro, build, main, break, main, outro.
struct Arrangement {
  bool pad, bass, kick, hats, arp;
};
Arrangement PartsAt(double t) {
  const int bar = static_cast<int>(t / kBar);
  if (bar < 2) return {true, false, false, false, false};
  if (bar < 4) return {true, true, false, false, false};
  if (bar < 8) return {true, true, true, false, false};
  if (bar < 12) return {true, true, true, true, true};
  if (bar < 14) return {true, false, false, false, true};
  if (bar < 19) return {true, true, true, true, true};
  return {true, false, false, false, false};
}

class Synth {
public:
  explicit Synth(double seconds) : seconds_(seconds), echo_(static_cast<size_t>(0.375 * kSampleRate), 0.0) {}

  double Sample(int64_t index) {
    const double t = static_cast<double>(index) / kSampleRate;
    const Arrangement parts = PartsAt(t);
    double dry = 0.0;
    if (parts.pad) dry += 0.22 * Pad(t);
    if (parts.bass) dry += 0.30 * Bass(t);
    if (parts.kick) dry += 0.55 * Kick(t);
    if (parts.hats) dry += 0.06 * Hat(t);
    double arp = parts.arp ? 0.12 * Arp(t) : 0.0;
    // A dotted-eighth echo on the arpeggio and a little of the pad.
    const double echoed = echo_[echoPosition_];
    echo_[echoPosition_] = arp + 0.05 * dry + 0.45 * echoed;
    echoPosition_ = (echoPosition_ + 1) % echo_.size();
    const double mix = dry + arp + 0.5 * echoed;
    const double fade = std::clamp(std::min(t / 1.5, (seconds_ - t) / 3.0), 0.0, 1.0);
    return std::tanh(1.2 * mix) * fade * 0.9;
  }

private:
  double Pad(double t) {
    const Chord& chord = ChordAt(t);
    const double inBar = std::fmod(t, kBar);
    const double envelope = std::min(inBar / 0.4, 1.0) * (0.75 + 0.25 * std::cos(kTau * inBar / kBar));
    double sum = 0.0;
    for (int note : chord.notes) {
      const double f = NoteFrequency(note);
      for (double detune : {-0.004, 0.0, 0.005}) sum += Saw(f * (1.0 + detune) * t);
    }
    // A one-pole low-pass whose cutoff breathes with the bar.
    const double cutoff = 900.0 + 700.0 * std::sin(kTau * t / (4 * kBar));
    const double a = 1.0 - std::exp(-kTau * cutoff / kSampleRate);
    padState_ += a * (sum / 9.0 - padState_);
    return envelope * padState_;
  }

  double Bass(double t) {
    const double eighth = kBeat / 2;
    const double inNote = std::fmod(t, eighth);
    const int step = static_cast<int>(t / eighth) % 8;
    const int octave = (step == 3 || step == 6) ? 12 : 0;
    const double f = NoteFrequency(ChordAt(t).root + octave);
    const double envelope = std::exp(-inNote * 9.0) * std::min(inNote / 0.003, 1.0);
    return envelope * std::tanh(2.5 * std::sin(kTau * f * t));
  }

  double Kick(double t) {
    const double inBeat = std::fmod(t, kBeat);
    const double sweep = 45.0 + 110.0 * std::exp(-inBeat * 30.0);
    kickPhase_ += sweep / kSampleRate;
    if (inBeat < 1.0 / kSampleRate) kickPhase_ = 0.0;
    return std::exp(-inBeat * 7.0) * std::sin(kTau * kickPhase_);
  }

  double Hat(double t) {
    const double offBeat = std::fmod(t + kBeat / 2, kBeat);
    noise_ = noise_ * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise_ >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    const double high = white - hatState_;
    hatState_ = white;
    return std::exp(-offBeat * 60.0) * high;
  }

  double Arp(double t) {
    const double sixteenth = kBeat / 4;
    const int step = static_cast<int>(t / sixteenth);
    const Chord& chord = ChordAt(t);
    static constexpr int kPattern[] = {0, 1, 2, 1, 2, 0, 2, 1};
    const int note = chord.notes[static_cast<size_t>(kPattern[step % 8])] + 12;
    const double inNote = std::fmod(t, sixteenth);
    return std::exp(-inNote * 14.0) * Triangle(NoteFrequency(note) * t);
  }

  double seconds_;
  double padState_ = 0.0;
  double kickPhase_ = 0.0;
  double hatState_ = 0.0;
  uint32_t noise_ = 1;
  std::vector<double> echo_;
  size_t echoPosition_ = 0;
};

int FormatFor(const std::string& path) {
  const auto ends = [&](const char* suffix) {
    const std::string s(suffix);
    return path.size() >= s.size() && path.compare(path.size() - s.size(), s.size(), s) == 0;
  };
  if (ends(".ogg")) return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  if (ends(".flac")) return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: synth OUT [SECONDS]\n");
    return 2;
  }
  const double seconds = argc > 2 ? std::atof(argv[2]) : 40.0;
  if (!(seconds > 0.0 && seconds < 3600.0)) {
    std::fprintf(stderr, "synth: SECONDS must be between 0 and 3600\n");
    return 2;
  }
  const auto frames = static_cast<sf_count_t>(seconds * kSampleRate);

  SF_INFO info{};
  info.samplerate = kSampleRate;
  info.channels = 1;
  info.format = FormatFor(argv[1]);
  SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "synth: cannot write %s: %s\n", argv[1], sf_strerror(nullptr));
    return 1;
  }
  if (info.format & SF_FORMAT_VORBIS) {
    double quality = 0.35;
    sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
  }
  Synth synth(seconds);
  std::vector<float> samples(static_cast<size_t>(frames));
  for (sf_count_t i = 0; i < frames; ++i) samples[static_cast<size_t>(i)] = static_cast<float>(synth.Sample(i));
  const sf_count_t written = sf_writef_float(file, samples.data(), frames);
  sf_close(file);
  return written == frames ? 0 : 1;
}
