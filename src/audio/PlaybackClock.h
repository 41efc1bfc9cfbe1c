#pragma once
// The demo's clock: the music's playback position in seconds. With a sound device, the position is
// the number of samples handed to the device minus what is still queued in it, carried forward
// between the device's requests by a monotonic clock so that animation runs smoothly. Without one,
// the same music plays silently on the monotonic clock alone, so a demo behaves the same with or
// without sound. Between jumps (a seek, a pause and resume) the position never goes backwards, and
// playback is active until the last sample has been played or while it is paused.

#include <cstdint>
#include <mutex>

namespace orvane {

class PlaybackClock {
public:
  PlaybackClock(int sampleRate, int64_t totalSamples) : sampleRate_(sampleRate), totalSamples_(totalSamples) {}

  // Silent playback on the monotonic clock, from `now` (seconds).
  void StartWithoutDevice(double now);
  // Playback through a device whose buffer holds `bufferSamples`; the device asks for samples
  // through OnSamplesHanded.
  void StartWithDevice(int bufferSamples);
  // From the device's thread: `handedTotal` samples have now been handed over, at `now`.
  void OnSamplesHanded(int64_t handedTotal, double now);

  double Position(double now);
  bool IsActive(double now);
  bool started() const;

  // Jumps to `seconds` (clamped to the music) at `now`. With a device, the caller has already
  // moved the device's read position there, so the next buffer it asks for starts at it.
  void Seek(double seconds, double now);
  // Holds the position where it is until Resume, which carries on from there at `now`.
  void Pause(double now);
  void Resume(double now);
  bool paused() const;

  double Duration() const { return sampleRate_ > 0 ? static_cast<double>(totalSamples_) / sampleRate_ : 0.0; }

private:
  double Estimate(double now) const;

  const int sampleRate_;
  const int64_t totalSamples_;

  mutable std::mutex mutex_;  // the device thread reports while the main thread asks
  enum class Mode { Stopped, WallClock, Device } mode_ = Mode::Stopped;
  double startTime_ = 0.0;
  int bufferSamples_ = 0;
  int64_t handed_ = 0;
  double handedAt_ = 0.0;
  bool heardFromDevice_ = false;
  double lastPosition_ = 0.0;
  bool paused_ = false;
};

}  // namespace orvane
