// The showcase's music: 96 seconds at 120 beats per minute in six sections of eight bars, so that
// the picture can change with them:
//    0-16 s  dawn    pads swell in D minor, sparse bells
//   16-32 s  rings   a bass pulse, then the kick on every beat, hats, a noise riser into...
//   32-48 s  drop    full drums, bass, arpeggio and a lead melody
//   48-64 s  break   half time in B flat major: pads and an echoing arpeggio, no kick
//   64-80 s  sparks  everything again, the lead an octave up, a snare fill at the end
//   80-96 s  outro   pads and bells, fading out

#include <algorithm>
#include <array>
#include <cmath>

#include "Piece.h"
#include "Voices.h"

namespace synth {
namespace {

constexpr double kBeat = 0.5;
constexpr double kBar = 4 * kBeat;
constexpr int kBarsPerSection = 8;

struct Chord {
  int root;
  std::array<int, 3> notes;
};
// D minor: Dm, Bb, F, C. The break: Bb, Gm, Eb, F.
constexpr Chord kMinor[] = {{38, {57, 62, 65}}, {34, {58, 62, 65}}, {41, {57, 60, 65}}, {36, {55, 60, 64}}};
constexpr Chord kBreak[] = {{34, {58, 62, 65}}, {43, {55, 58, 62}}, {39, {55, 58, 63}}, {41, {57, 60, 65}}};
// The lead's melody over two bars of eighths, as offsets into the chord's scale (-1: rest).
constexpr int kMelody[16] = {0, -1, 2, 4, -1, 4, 5, 4, 2, -1, 0, 2, -1, -1, 4, 2};
constexpr int kScale[] = {0, 2, 3, 5, 7, 8, 10};  // natural minor from the chord's root

enum Section { kDawn, kRings, kDrop, kBreakSection, kSparks, kOutro };

struct Parts {
  double pad = 1.0;
  bool bells = false, bass = false, kick = false, snare = false, hats = false, arp = false, lead = false;
  int leadOctave = 0;
};

Section SectionAt(double t) {
  return static_cast<Section>(std::clamp(static_cast<int>(t / (kBar * kBarsPerSection)), 0, 5));
}

int BarInSection(double t) { return static_cast<int>(t / kBar) % kBarsPerSection; }

Parts PartsAt(double t) {
  const int bar = BarInSection(t);
  Parts parts;
  switch (SectionAt(t)) {
    case kDawn: parts.bells = bar >= 2; break;
    case kRings:
      parts.bass = true;
      parts.kick = bar >= 4;
      parts.hats = bar >= 6;
      break;
    case kDrop:
    case kSparks:
      parts.bass = parts.kick = parts.snare = parts.hats = parts.arp = parts.lead = true;
      parts.leadOctave = SectionAt(t) == kSparks ? 12 : 0;
      break;
    case kBreakSection:
      parts.pad = 0.8;
      parts.arp = true;
      parts.bass = bar >= 4;
      break;
    case kOutro:
      parts.bells = true;
      parts.bass = bar < 2;
      break;
  }
  return parts;
}

const Chord& ChordAt(double t) {
  const int index = static_cast<int>(t / kBar) % 4;
  return SectionAt(t) == kBreakSection ? kBreak[index] : kMinor[index];
}

class Showcase final : public Piece {
public:
  explicit Showcase(double seconds) : seconds_(seconds), echo_(0.375), roomEcho_(0.61) {}

  double Sample(int64_t index) override {
    const double t = static_cast<double>(index) / kSampleRate;
    const Parts parts = PartsAt(t);
    double dry = parts.pad * 0.20 * Pad(t);
    if (parts.bass) dry += 0.28 * Bass(t);
    if (parts.kick) dry += 0.55 * Kick(t);
    if (parts.snare) dry += 0.22 * Snare(t);
    if (parts.hats) dry += 0.05 * Hat(t);
    dry += 0.10 * Riser(t);
    double wet = 0.0;
    if (parts.arp) wet += 0.10 * Arp(t);
    if (parts.bells) wet += 0.12 * Bells(t);
    if (parts.lead) wet += 0.09 * Lead(t, parts.leadOctave);
    const double echoed = echo_.Process(wet + 0.04 * dry, 0.45);
    const double room = roomEcho_.Process(0.5 * wet + 0.05 * dry, 0.3);
    const double mix = dry + wet + 0.45 * echoed + 0.25 * room;
    const double fade = std::clamp(std::min(t / 2.0, (seconds_ - t) / 6.0), 0.0, 1.0);
    return std::tanh(1.15 * mix) * fade * 0.9;
  }

private:
  double Pad(double t) {
    const Chord& chord = ChordAt(t);
    double sum = 0.0;
    for (int note : chord.notes) {
      const double f = NoteFrequency(note);
      for (double detune : {-0.005, 0.0, 0.006}) sum += Saw(f * (1.0 + detune) * t);
    }
    // The filter opens over each section and breathes with every two bars.
    const double sectionProgress = std::fmod(t, kBar * kBarsPerSection) / (kBar * kBarsPerSection);
    const double opening = SectionAt(t) == kDawn ? 300.0 + 900.0 * sectionProgress : 1100.0;
    const double cutoff = opening + 0.4 * opening * std::sin(kTau * t / (2 * kBar));
    const double inBar = std::fmod(t, kBar);
    const double swell = std::min(inBar / 0.6, 1.0);
    return swell * padFilter_.Filter(sum / 9.0, cutoff);
  }

  double Bass(double t) {
    const double eighth = kBeat / 2;
    const double inNote = std::fmod(t, eighth);
    const int step = static_cast<int>(t / eighth) % 8;
    const int octave = (step % 4 == 3) ? 12 : 0;
    const double f = NoteFrequency(ChordAt(t).root + octave);
    const double envelope = std::exp(-inNote * 8.0) * std::min(inNote / 0.003, 1.0);
    return envelope * std::tanh(2.2 * std::sin(kTau * f * t) + 0.6 * Saw(f * t));
  }

  double Kick(double t) {
    const double inBeat = std::fmod(t, kBeat);
    const double sweep = 42.0 + 120.0 * std::exp(-inBeat * 28.0);
    kickPhase_ = inBeat < 1.0 / kSampleRate ? 0.0 : kickPhase_ + sweep / kSampleRate;
    return std::exp(-inBeat * 7.0) * std::sin(kTau * kickPhase_);
  }

  // On beats 2 and 4, with a fill of sixteenths in the last bar of the sparks section.
  double Snare(double t) {
    const bool fill = SectionAt(t) == kSparks && BarInSection(t) == kBarsPerSection - 1;
    const double interval = fill ? kBeat / 4 : 2 * kBeat;
    const double since = std::fmod(t + (fill ? 0.0 : kBeat), interval);
    const double body = std::sin(kTau * 185.0 * since) * std::exp(-since * 25.0);
    const double rattle = snareNoise_.Next() * std::exp(-since * 16.0);
    return (fill ? 0.7 : 1.0) * (0.5 * body + 0.8 * rattle);
  }

  double Hat(double t) {
    const double sixteenth = kBeat / 4;
    const double since = std::fmod(t, sixteenth);
    const bool accent = static_cast<int>(t / sixteenth) % 2 == 1;
    const double white = hatNoise_.Next();
    const double high = white - hatLow_.Filter(white, 6000.0);
    return (accent ? 1.0 : 0.5) * std::exp(-since * 70.0) * high;
  }

  double Arp(double t) {
    const double sixteenth = kBeat / 4;
    const int step = static_cast<int>(t / sixteenth);
    static constexpr int kPattern[] = {0, 1, 2, 1, 2, 0, 2, 1};
    const int note = ChordAt(t).notes[static_cast<size_t>(kPattern[step % 8])] + 12;
    const double since = std::fmod(t, sixteenth);
    return std::exp(-since * 12.0) * Triangle(NoteFrequency(note) * t);
  }

  // A bell on the off-beat of every other beat, climbing through the chord.
  double Bells(double t) {
    const double interval = 2 * kBeat;
    const double since = std::fmod(t + kBeat / 2, interval);
    const int step = static_cast<int>((t + kBeat / 2) / interval);
    const int note = ChordAt(t).notes[static_cast<size_t>(step % 3)] + 12;
    const double f = NoteFrequency(note);
    double bell = 0.0;
    const double partials[3][2] = {{1.0, 1.0}, {2.76, 0.45}, {5.4, 0.2}};
    for (const auto& [ratio, gain] : partials) bell += gain * std::sin(kTau * f * ratio * since) * std::exp(-since * (2.0 + ratio));
    return bell;
  }

  double Lead(double t, int octave) {
    const double eighth = kBeat / 2;
    const int step = static_cast<int>(t / eighth) % 16;
    const int degree = kMelody[step];
    if (degree < 0) return 0.0;
    const int note = ChordAt(t).root + 24 + octave + kScale[degree];
    const double since = std::fmod(t, eighth);
    const double vibrato = 1.0 + 0.004 * std::sin(kTau * 5.5 * t);
    const double f = NoteFrequency(note) * vibrato;
    const double tone = 0.6 * Saw(f * t) + 0.4 * Saw(f * 1.007 * t);
    const double envelope = std::min(since / 0.01, 1.0) * std::exp(-since * 3.0);
    return envelope * leadFilter_.Filter(tone, 2500.0);
  }

  // Filtered noise rising through the last bar of the rings section and of the break.
  double Riser(double t) {
    const Section section = SectionAt(t);
    if ((section != kRings && section != kBreakSection) || BarInSection(t) != kBarsPerSection - 1) {
      riserNoise_.Next();
      return 0.0;
    }
    const double progress = std::fmod(t, kBar) / kBar;
    return progress * progress * riserFilter_.Filter(riserNoise_.Next(), 200.0 + 6000.0 * progress * progress);
  }

  double seconds_;
  OnePoleLowPass padFilter_, hatLow_, leadFilter_, riserFilter_;
  Noise snareNoise_, hatNoise_, riserNoise_;
  double kickPhase_ = 0.0;
  Echo echo_, roomEcho_;
};

}  // namespace

std::unique_ptr<Piece> MakeShowcasePiece(double seconds) { return std::make_unique<Showcase>(seconds); }

}  // namespace synth
