#include "app/FrameSink.h"

#include "app/PngFrameSink.h"
#include "app/QueuedFrameSink.h"
#include "app/VideoFrameSink.h"

namespace orvane {

bool IsVideoPath(const std::filesystem::path& out) {
  const auto extension = out.extension();
  return extension == ".mp4" || extension == ".mkv" || extension == ".webm";
}

std::unique_ptr<FrameSink> OpenFrameSink(const std::filesystem::path& out, const FrameFormat& format,
                                         const SoundTrack& sound, std::string& error) {
  std::unique_ptr<FrameSink> sink;
  if (IsVideoPath(out))
    sink = VideoFrameSink::Open(out, format, sound, error);
  else
    sink = PngFrameSink::Open(out, format, error);
  if (!sink) return nullptr;
  return std::make_unique<QueuedFrameSink>(std::move(sink), format);
}

}  // namespace orvane
