#include "app/RenderSchedule.h"

#include <cmath>
#include <cstdio>

namespace orvane {

std::optional<int64_t> RenderSchedule::FrameCount() const {
  const double span = (to - from) * fps;
  if (!std::isfinite(span) || span > static_cast<double>(kMaxFrames)) return std::nullopt;
  if (span <= 0.0) return 1;
  auto count = static_cast<int64_t>(std::ceil(span));
  // The division in TimeOf decides; settle rounding at the edge with it.
  while (count > 1 && TimeOf(count - 1) >= to) --count;
  while (TimeOf(count) < to) ++count;
  return count;
}

int64_t RenderSchedule::PrerollFrames(double seconds) const {
  const double frames = seconds * fps;
  if (!(frames > 0.0)) return 0;
  // A preroll given in whole frames (2 s at 30 fps) is that many frames, despite rounding.
  return static_cast<int64_t>(std::ceil(std::fmin(frames, static_cast<double>(kMaxFrames)) - 1e-6));
}

double RenderSchedule::PrerollTime(double seconds, int64_t k) const {
  const int64_t frames = PrerollFrames(seconds);
  if (std::fabs(seconds * fps - static_cast<double>(frames)) < 1e-6) return TimeOf(k - frames);
  return from - seconds + static_cast<double>(k) / fps;
}

std::string ProgressText(int64_t done, int64_t total, double elapsed) {
  const double rate = elapsed > 0.0 ? static_cast<double>(done) / elapsed : 0.0;
  const double left = rate > 0.0 ? static_cast<double>(total - done) / rate : 0.0;
  const auto seconds = static_cast<long long>(std::lround(std::fmin(left, 1e9)));
  char text[128];
  std::snprintf(text, sizeof text, "frame %lld/%lld  %.1f fps  %lld:%02lld left", static_cast<long long>(done),
                static_cast<long long>(total), rate, seconds / 60, seconds % 60);
  return text;
}

}  // namespace orvane
