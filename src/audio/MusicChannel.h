#pragma once
// The music of a demo: loaded whole, played from the start (or any time), asked for whether it
// still plays and for its position in seconds. Plays through the default sound device when there
// is one, and silently at real speed when there is none. It can be paused, moved to any time and
// made to repeat a range; the device plays from the new position from its next buffer on.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "audio/MusicTrack.h"
#include "audio/PlaybackClock.h"

namespace orvane {

class MusicChannel {
public:
  using Clock = std::function<double()>;  // monotonic seconds

  enum class Output { DefaultDevice, Silent };

  // Nothing when the file cannot be decoded: there is no channel, and the demo ends.
  static std::unique_ptr<MusicChannel> Load(const std::filesystem::path& path, Output output = Output::DefaultDevice,
                                            Clock clock = MonotonicSeconds);
  ~MusicChannel();
  MusicChannel(const MusicChannel&) = delete;
  MusicChannel& operator=(const MusicChannel&) = delete;

  // Starts playing at `from` seconds.
  void Play(double from = 0.0);
  bool IsActive();
  // The position; a loop that has been passed jumps back to its start here.
  double PositionSeconds();

  void Seek(double seconds);
  void Pause();
  void Resume();
  bool paused() const { return playback_.paused(); }
  // Plays [start, end) again and again; cleared by ClearLoop. An empty range is ignored.
  void SetLoop(double start, double end);
  void ClearLoop() { loop_.reset(); }
  struct Range {
    double start = 0.0;
    double end = 0.0;
  };
  const std::optional<Range>& loop() const { return loop_; }
  // When set, reaching the end pauses there instead of ending the demo.
  void HoldAtEnd(bool hold) { holdAtEnd_ = hold; }

  double DurationSeconds() const { return track_.Seconds(); }
  bool playsThroughDevice() const { return device_ != 0; }
  const std::filesystem::path& path() const { return path_; }

  static double MonotonicSeconds();

private:
  MusicChannel(std::filesystem::path path, MusicTrack track, Output output, Clock clock);
  static void FillDeviceBuffer(void* self, uint8_t* stream, int bytes);

  std::filesystem::path path_;
  MusicTrack track_;
  Output output_;
  Clock clock_;
  PlaybackClock playback_;
  uint32_t device_ = 0;  // SDL audio device, 0 = none
  int deviceBufferSamples_ = 0;
  std::atomic<int64_t> handed_{0};  // the device's read position in the track, in samples
  std::optional<Range> loop_;
  bool holdAtEnd_ = false;
};

}  // namespace orvane
