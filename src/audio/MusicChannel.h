#pragma once
// The music of a demo: loaded whole, played from the start, asked for whether it still plays and
// for its position in seconds. Plays through the default sound device when there is one, and
// silently at real speed when there is none.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

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

  void Play();
  bool IsActive();
  double PositionSeconds();
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
  std::atomic<int64_t> handed_{0};
};

}  // namespace orvane
