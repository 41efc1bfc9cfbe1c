#include "render/PassProfiler.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <utility>

namespace orvane {

void PassProfiler::Start(std::string label, int32_t width, int32_t height) {
  Stop();
  current_ = PassTime{std::move(label), width, height, 1, 0, 0, 0.0};
  running_ = true;
  named_ = false;
  start_ = Clock::now();
}

void PassProfiler::NoteDraw(const std::string& name, uint32_t textures) {
  if (!running_ || name.empty()) return;
  if (!named_) {
    current_.label = name;
    named_ = true;
  } else if (current_.label != name) {
    // Another pass in the same binding (a coverage mark, then the lights): charged on its own.
    const int32_t width = current_.width, height = current_.height;
    Start(name, width, height);
    named_ = true;
  }
  current_.draws += 1;
  current_.textures = std::max(current_.textures, textures);
}

void PassProfiler::Stop() {
  glFinish();
  if (!running_) return;
  running_ = false;
  current_.seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  for (PassTime& total : times_) {
    if (total.label == current_.label && total.width == current_.width && total.height == current_.height) {
      total.count += 1;
      total.draws += current_.draws;
      total.textures = std::max(total.textures, current_.textures);
      total.seconds += current_.seconds;
      return;
    }
  }
  times_.push_back(current_);
}

}  // namespace orvane
