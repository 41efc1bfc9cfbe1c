#include "app/BenchmarkReport.h"

#include <algorithm>
#include <cstdio>

#include "app/FrameProfile.h"

namespace orvane {

std::string BenchmarkReport(const std::vector<double>& frameMs, double seconds, int width, int height,
                            const std::string& renderer) {
  const auto frames = static_cast<double>(frameMs.size());
  const double maxMs = frameMs.empty() ? 0.0 : *std::max_element(frameMs.begin(), frameMs.end());
  char text[512];
  std::snprintf(text, sizeof text,
                "frames: %zu\nseconds: %.3f\nfps: %.2f\np50_ms: %.3f\np95_ms: %.3f\np99_ms: %.3f\nmax_ms: %.3f\n"
                "size: %dx%d\n",
                frameMs.size(), seconds, seconds > 0.0 ? frames / seconds : 0.0, Percentile(frameMs, 0.50),
                Percentile(frameMs, 0.95), Percentile(frameMs, 0.99), maxMs, width, height);
  return std::string(text) + "renderer: " + renderer + "\n";
}

}  // namespace orvane
