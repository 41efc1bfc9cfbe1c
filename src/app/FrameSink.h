#pragma once
// Where offline rendering puts its frames: a folder of PNG files or a video file. Frames are 8-bit
// RGBA, top row first.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace orvane {

struct FrameFormat {
  int width = 0;
  int height = 0;
  double fps = 60.0;
};

// What the video's sound track is cut from: the music file, starting at `from` seconds.
struct SoundTrack {
  std::filesystem::path music;  // empty: a video without sound
  double from = 0.0;
  double duration = 0.0;
};

class FrameSink {
public:
  virtual ~FrameSink() = default;
  // False, with error() set, when the frame could not be written.
  virtual bool Write(std::span<const uint8_t> rgba) = 0;
  // Completes the output; false, with error() set, when it could not be completed.
  virtual bool Finish() = 0;
  const std::string& error() const { return error_; }

protected:
  std::string error_;
};

// A video for OUT names ending in ".mp4", ".mkv" or ".webm", otherwise a folder of PNG frames,
// written on a thread of their own while the next frames render. Null, with `error` set, when
// the output cannot be made.
std::unique_ptr<FrameSink> OpenFrameSink(const std::filesystem::path& out, const FrameFormat& format,
                                         const SoundTrack& sound, std::string& error);

bool IsVideoPath(const std::filesystem::path& out);

}  // namespace orvane
