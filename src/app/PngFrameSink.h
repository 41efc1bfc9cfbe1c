#pragma once
// Offline frames as frame_000000.png, frame_000001.png, ... in a folder (made when needed).

#include "app/FrameSink.h"

namespace orvane {

class PngFrameSink final : public FrameSink {
public:
  // Null, with `error` set, when the folder cannot be made.
  static std::unique_ptr<PngFrameSink> Open(const std::filesystem::path& folder, const FrameFormat& format,
                                            std::string& error);
  bool Write(std::span<const uint8_t> rgba) override;
  bool Finish() override { return error_.empty(); }

  static std::string FrameName(int index);

private:
  PngFrameSink(std::filesystem::path folder, const FrameFormat& format) : folder_(std::move(folder)), format_(format) {}

  std::filesystem::path folder_;
  FrameFormat format_;
  int next_ = 0;
};

}  // namespace orvane
