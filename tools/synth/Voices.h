#pragma once
// Building blocks of the synthesised pieces: notes, oscillators, a noise source, a one-pole
// low-pass and an echo line. Everything is computed sample by sample at kSampleRate.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

namespace synth {

inline constexpr int kSampleRate = 44100;
inline constexpr double kTau = 2.0 * std::numbers::pi;

inline double NoteFrequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Oscillators of a phase in cycles, each from -1 to 1.
inline double Saw(double phase) { return 2.0 * (phase - std::floor(phase + 0.5)); }
inline double Triangle(double phase) { return 1.0 - 4.0 * std::fabs(phase - std::floor(phase + 0.5)); }

// White noise from a linear congruential generator: the same piece every run.
class Noise {
public:
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
  }

private:
  uint32_t state_ = 1;
};

class OnePoleLowPass {
public:
  // A cutoff at or below zero would make the filter diverge: it is held at 1 Hz or more.
  double Filter(double input, double cutoffHz) {
    cutoffHz = std::max(cutoffHz, 1.0);
    const double a = 1.0 - std::exp(-kTau * cutoffHz / kSampleRate);
    state_ += a * (input - state_);
    return state_;
  }

private:
  double state_ = 0.0;
};

// A delay line with feedback: Process returns what was written `seconds` ago and stores
// input + feedback * that.
class Echo {
public:
  explicit Echo(double seconds) : line_(static_cast<size_t>(seconds * kSampleRate), 0.0) {}
  double Process(double input, double feedback) {
    const double delayed = line_[position_];
    line_[position_] = input + feedback * delayed;
    position_ = (position_ + 1) % line_.size();
    return delayed;
  }

private:
  std::vector<double> line_;
  size_t position_ = 0;
};

}  // namespace synth
