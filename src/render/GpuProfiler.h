#pragma once
// GPU time of each frame and of each labelled group in it (the labels of Adapter::BeginEvent),
// measured with timestamp queries and read back frames later, when the GPU has finished them,
// so that measuring never makes the CPU wait.

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

struct GpuFrameTiming {
  bool measured = false;  // false where the driver has no timer queries: groups counted, no times
  double totalMs = 0.0;
  std::vector<std::pair<std::string, double>> labels;  // one entry per group, in issue order
};

class GpuProfiler {
public:
  // Needs the current context; without timer queries the groups are counted but not timed.
  GpuProfiler();
  ~GpuProfiler();
  GpuProfiler(const GpuProfiler&) = delete;
  GpuProfiler& operator=(const GpuProfiler&) = delete;

  bool available() const { return available_; }
  void BeginFrame();
  void EndFrame();
  void BeginGroup(const char* label);
  void EndGroup();
  // Frames finished by the GPU since the last call, oldest first. With `wait`, every frame
  // ended so far (for the end of a run).
  std::vector<GpuFrameTiming> Collect(bool wait);

private:
  struct Group {
    std::string label;
    uint32_t begin = 0;
    uint32_t end = 0;
  };
  struct Frame {
    uint32_t begin = 0;
    uint32_t end = 0;
    std::vector<Group> groups;
  };
  uint32_t Stamp();
  static void Release(Frame& frame);

  bool available_ = false;
  bool inFrame_ = false;
  Frame current_;
  std::vector<size_t> open_;  // groups begun and not yet ended
  std::deque<Frame> pending_;
};

}  // namespace orvane
