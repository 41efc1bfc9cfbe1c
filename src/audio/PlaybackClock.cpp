#include "audio/PlaybackClock.h"

#include <algorithm>

namespace orvane {

void PlaybackClock::StartWithoutDevice(double now) {
  std::lock_guard lock(mutex_);
  mode_ = Mode::WallClock;
  startTime_ = now;
}

void PlaybackClock::StartWithDevice(int bufferSamples) {
  std::lock_guard lock(mutex_);
  mode_ = Mode::Device;
  bufferSamples_ = std::max(bufferSamples, 0);
}

void PlaybackClock::OnSamplesHanded(int64_t handedTotal, double now) {
  std::lock_guard lock(mutex_);
  handed_ = handedTotal;
  handedAt_ = now;
  heardFromDevice_ = true;
}

bool PlaybackClock::started() const {
  std::lock_guard lock(mutex_);
  return mode_ != Mode::Stopped;
}

double PlaybackClock::Estimate(double now) const {
  const double rate = sampleRate_ > 0 ? sampleRate_ : 1.0;
  switch (mode_) {
    case Mode::Stopped: return 0.0;
    case Mode::WallClock: return now - startTime_;
    case Mode::Device: {
      if (!heardFromDevice_) return 0.0;
      // What the device plays now: what it had been handed, less its queue, plus the time since.
      const double playedAtHandover = static_cast<double>(handed_ - bufferSamples_) / rate;
      const double estimate = playedAtHandover + (now - handedAt_);
      // Never ahead of what the device has actually been given.
      return std::min(estimate, static_cast<double>(handed_) / rate);
    }
  }
  return 0.0;
}

double PlaybackClock::Position(double now) {
  std::lock_guard lock(mutex_);
  const double position = std::clamp(Estimate(now), 0.0, Duration());
  lastPosition_ = std::max(lastPosition_, position);
  return lastPosition_;
}

bool PlaybackClock::IsActive(double now) {
  if (!started()) return false;
  return Position(now) < Duration();
}

}  // namespace orvane
