#pragma once
// The figures --benchmark prints, one "key: value" a line: frames, seconds, fps, p50_ms, p95_ms,
// p99_ms, max_ms, size and renderer.

#include <string>
#include <vector>

namespace orvane {

std::string BenchmarkReport(const std::vector<double>& frameMs, double seconds, int width, int height,
                            const std::string& renderer);

}  // namespace orvane
