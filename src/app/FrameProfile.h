#pragma once
// What --profile gathers over a run: per frame, the GPU time of every labelled group (from the
// render layer's profiler) and the CPU time of every phase of the frame loop; at the end, one
// table of both.

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/GpuProfiler.h"

namespace orvane {

class FrameProfile {
public:
  void AddGpuFrame(const GpuFrameTiming& timing);
  // Starts the CPU phase `name` (ending the one before, if any).
  void BeginPhase(const char* name);
  // Ends the frame's last phase and closes its CPU sample.
  void EndCpuFrame();

  // "label  calls/frame  mean_ms  p95_ms  share_%", then one line per GPU label and one per CPU
  // phase ("cpu:evaluate", ...), each part sorted by total time.
  std::string Table() const;

  int64_t gpuFrames() const { return gpuFrames_; }
  int64_t cpuFrames() const { return cpuFrames_; }

  // Per-frame sums of one label or phase.
  struct Series {
    std::vector<double> perFrameMs;  // one entry per frame (0 where it did not occur)
    int64_t calls = 0;
    double totalMs = 0.0;
  };
  const std::map<std::string, Series>& gpu() const { return gpu_; }
  const std::map<std::string, Series>& cpu() const { return cpu_; }

private:
  using Clock = std::chrono::steady_clock;
  static void AddFrame(std::map<std::string, Series>& table, const std::map<std::string, std::pair<double, int>>& frame,
                       int64_t framesBefore);

  std::map<std::string, Series> gpu_;
  std::map<std::string, Series> cpu_;
  std::vector<double> gpuFrameMs_;
  std::vector<double> cpuFrameMs_;
  int64_t gpuFrames_ = 0;
  int64_t cpuFrames_ = 0;
  bool gpuMeasured_ = true;
  std::map<std::string, std::pair<double, int>> cpuFrame_;
  std::string phase_;
  Clock::time_point phaseStart_;
};

// The value at fraction `q` (0..1) of the sorted values (nearest rank); 0 when empty.
double Percentile(std::vector<double> values, double q);

}  // namespace orvane
