#pragma once
// Time spent per pass, for benchmarks. While a profiler is attached to the DrawContext, every
// binding of targets first waits for the GPU, and so does every unbinding; the time in between
// (command submission and the GPU's work) is charged to the pass drawn there, named by the
// innermost debug label, or by the shape of its targets outside any label. Waiting at every
// boundary takes the overlap of CPU and GPU away: each figure is that pass alone. A binding
// without a label takes the name of the shader pass drawn in it; one without draws (a clear)
// is named by its targets. Draws of one binding under another name (a second label, another
// shader) wait and start a pass of their own.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct PassTime {
  std::string label;
  int32_t width = 0;   // of the rectangle drawn in
  int32_t height = 0;
  uint32_t count = 0;     // passes charged
  uint32_t draws = 0;
  uint32_t textures = 0;  // the most textures a draw of the pass had bound to its pixel shader
  double seconds = 0.0;
};

class PassProfiler {
public:
  // Used by the DrawContext: a binding of targets starts a pass, an unbinding ends it.
  void Start(std::string label, int32_t width, int32_t height);
  void Stop();
  // A draw in the current binding: names the pass when it has no name yet, or starts another
  // when its name differs.
  void NoteDraw(const std::string& name, uint32_t textures = 0);

  // Totals per label and size, in the order they first appeared.
  const std::vector<PassTime>& Times() const { return times_; }
  void Clear() { times_.clear(); }

private:
  using Clock = std::chrono::steady_clock;
  PassTime current_;
  bool running_ = false;
  bool named_ = false;
  Clock::time_point start_;
  std::vector<PassTime> times_;
};

}  // namespace orvane
