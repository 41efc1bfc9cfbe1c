#pragma once
// Offline frames encoded into a video by the ffmpeg program, fed raw RGBA through a pipe, with the
// music muxed in.

#include <sys/types.h>

#include <string>
#include <vector>

#include "app/FrameSink.h"

namespace orvane {

class VideoFrameSink final : public FrameSink {
public:
  // Null, with `error` set, when ffmpeg cannot be started.
  static std::unique_ptr<VideoFrameSink> Open(const std::filesystem::path& out, const FrameFormat& format,
                                              const SoundTrack& sound, std::string& error);
  ~VideoFrameSink() override;
  bool Write(std::span<const uint8_t> rgba) override;
  bool Finish() override;

  // The ffmpeg command line for this output.
  static std::vector<std::string> EncoderArguments(const std::filesystem::path& out, const FrameFormat& format,
                                                   const SoundTrack& sound);

private:
  VideoFrameSink(pid_t encoder, int pipe, std::filesystem::path out, size_t frameBytes)
      : encoder_(encoder), pipe_(pipe), out_(std::move(out)), frameBytes_(frameBytes) {}

  pid_t encoder_;
  int pipe_;
  std::filesystem::path out_;
  size_t frameBytes_;
};

}  // namespace orvane
