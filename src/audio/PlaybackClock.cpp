#include "audio/PlaybackClock.h"

#include <algorithm>
#include <cmath>

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
  if (paused_) return lastPosition_;
  const double position = std::clamp(Estimate(now), 0.0, Duration());
  lastPosition_ = std::max(lastPosition_, position);
  return lastPosition_;
}

bool PlaybackClock::IsActive(double now) {
  if (!started()) return false;
  if (paused()) return true;
  return Position(now) < Duration();
}

void PlaybackClock::Seek(double seconds, double now) {
  std::lock_guard lock(mutex_);
  const double target = std::clamp(seconds, 0.0, Duration());
  const double rate = sampleRate_ > 0 ? sampleRate_ : 1.0;
  switch (mode_) {
    case Mode::Stopped: return;
    case Mode::WallClock: startTime_ = now - target; break;
    case Mode::Device:
      // As if the device had just been handed a buffer starting at the target.
      handed_ = static_cast<int64_t>(std::llround(target * rate)) + bufferSamples_;
      handedAt_ = now;
      heardFromDevice_ = true;
      break;
  }
  lastPosition_ = target;
}

void PlaybackClock::Pause(double now) {
  const double position = Position(now);
  std::lock_guard lock(mutex_);
  lastPosition_ = position;
  paused_ = true;
}

void PlaybackClock::Resume(double now) {
  double position = 0.0;
  {
    std::lock_guard lock(mutex_);
    if (!paused_) return;
    paused_ = false;
    position = lastPosition_;
  }
  Seek(position, now);
}

bool PlaybackClock::paused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

}  // namespace orvane
