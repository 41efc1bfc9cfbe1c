// The first example's music: a short electronic piece in A minor at 120 beats per minute
// (detuned saw pads, a plucked bass, kick, hats and an arpeggio with echo).

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Piece.h"
#include "Voices.h"

namespace synth {
namespace {

constexpr double kBeat = 0.5;       // seconds: 120 beats per minute
constexpr double kBar = 4 * kBeat;  // one chord per bar
// Am, F, C, G: root and the chord's three notes (MIDI numbers).
struct Chord {
  int root;
  std::array<int, 3> notes;
};
constexpr Chord kChords[] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};

const Chord& ChordAt(double t) { return kChords[static_cast<int>(t / kBar) % 4]; }

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

class FirstLight final : public Piece {
public:
  explicit FirstLight(double seconds) : seconds_(seconds), echo_(static_cast<size_t>(0.375 * kSampleRate), 0.0) {}

  double Sample(int64_t index) override {
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
    const double white = noise_.Next();
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
  Noise noise_;
  std::vector<double> echo_;
  size_t echoPosition_ = 0;
};

}  // namespace

std::unique_ptr<Piece> MakeFirstLightPiece(double seconds) { return std::make_unique<FirstLight>(seconds); }

}  // namespace synth
