#include "app/FrameSink.h"

#include "app/PngFrameSink.h"
#include "app/VideoFrameSink.h"

namespace orvane {

bool IsVideoPath(const std::filesystem::path& out) {
  const auto extension = out.extension();
  return extension == ".mp4" || extension == ".mkv" || extension == ".webm";
}

std::unique_ptr<FrameSink> OpenFrameSink(const std::filesystem::path& out, const FrameFormat& format,
                                         const SoundTrack& sound, std::string& error) {
  if (IsVideoPath(out)) return VideoFrameSink::Open(out, format, sound, error);
  return PngFrameSink::Open(out, format, error);
}

}  // namespace orvane
