#pragma once
// Offline rendering's frames: frame k is evaluated at FROM + k / FPS, for every such time below
// TO, and at least one frame.

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

struct RenderSchedule {
  static constexpr int64_t kMaxFrames = 10'000'000;

  double from = 0.0;
  double to = 0.0;
  double fps = 60.0;

  // Nothing when the span holds more frames than any render should (a typing slip in --to).
  std::optional<int64_t> FrameCount() const;
  double TimeOf(int64_t frame) const { return from + static_cast<double>(frame) / fps; }
  // Evaluation `index` of `count` within frame k: spread evenly over the first half of the frame
  // interval from the frame's time (a 180-degree shutter).
  double SubframeTime(int64_t frame, int index, int count) const {
    return TimeOf(frame) + ShutterOffset(index, count);
  }
  double ShutterOffset(int index, int count) const { return (static_cast<double>(index) / count) * 0.5 / fps; }
  // The frames drawn but not written before frame 0, so that state builds up: one for every time
  // FROM - seconds + k / FPS below FROM (a fraction of a frame counts as one).
  int64_t PrerollFrames(double seconds) const;
  // Preroll frame k (0 first) at FROM - seconds + k / FPS. When `seconds` spans whole frames that
  // is frame k - n of the written grid, and it is computed as such, so that a chunk's preroll meets
  // the times of one long render exactly.
  double PrerollTime(double seconds, int64_t k) const;
};

// "frame 120/600  45.2 fps  0:10 left": what a progress line shows after `done` frames in `elapsed`
// seconds.
std::string ProgressText(int64_t done, int64_t total, double elapsed);

}  // namespace orvane
