#include "render/GpuProfiler.h"

#include <epoxy/gl.h>

namespace orvane {
namespace {

// Pending frames beyond this are dropped unread rather than left to pile up.
constexpr size_t kMaxPendingFrames = 16;

bool Finished(uint32_t query) {
  if (query == 0) return true;
  GLint done = 0;
  glGetQueryObjectiv(query, GL_QUERY_RESULT_AVAILABLE, &done);
  return done != 0;
}

double MillisecondsBetween(uint32_t begin, uint32_t end) {
  if (begin == 0 || end == 0) return 0.0;
  GLuint64 a = 0, b = 0;
  glGetQueryObjectui64v(begin, GL_QUERY_RESULT, &a);
  glGetQueryObjectui64v(end, GL_QUERY_RESULT, &b);
  return b > a ? static_cast<double>(b - a) * 1e-6 : 0.0;
}

}  // namespace

GpuProfiler::GpuProfiler() {
  GLint bits = 0;
  glGetQueryiv(GL_TIMESTAMP, GL_QUERY_COUNTER_BITS, &bits);
  available_ = bits > 0;
}

GpuProfiler::~GpuProfiler() {
  Release(current_);
  for (Frame& frame : pending_) Release(frame);
}

void GpuProfiler::Release(Frame& frame) {
  const auto drop = [](uint32_t& query) {
    if (query) glDeleteQueries(1, &query);
    query = 0;
  };
  drop(frame.begin);
  drop(frame.end);
  for (Group& group : frame.groups) {
    drop(group.begin);
    drop(group.end);
  }
  frame.groups.clear();
}

uint32_t GpuProfiler::Stamp() {
  if (!available_) return 0;  // groups are still counted, without times
  GLuint query = 0;
  glGenQueries(1, &query);
  glQueryCounter(query, GL_TIMESTAMP);
  return query;
}

void GpuProfiler::BeginFrame() {
  if (inFrame_) EndFrame();
  current_ = Frame{};
  open_.clear();
  current_.begin = Stamp();
  inFrame_ = true;
}

void GpuProfiler::EndFrame() {
  if (!inFrame_) return;
  while (!open_.empty()) EndGroup();
  current_.end = Stamp();
  pending_.push_back(std::move(current_));
  current_ = Frame{};
  inFrame_ = false;
  while (pending_.size() > kMaxPendingFrames) {
    Release(pending_.front());
    pending_.pop_front();
  }
}

void GpuProfiler::BeginGroup(const char* label) {
  if (!inFrame_) return;
  open_.push_back(current_.groups.size());
  current_.groups.push_back(Group{label ? label : "", Stamp(), 0});
}

void GpuProfiler::EndGroup() {
  if (!inFrame_ || open_.empty()) return;
  current_.groups[open_.back()].end = Stamp();
  open_.pop_back();
}

std::vector<GpuFrameTiming> GpuProfiler::Collect(bool wait) {
  std::vector<GpuFrameTiming> timings;
  if (wait && !pending_.empty()) glFinish();
  while (!pending_.empty() && (wait || Finished(pending_.front().end))) {
    Frame& frame = pending_.front();
    GpuFrameTiming timing;
    timing.measured = available_;
    timing.totalMs = MillisecondsBetween(frame.begin, frame.end);
    for (const Group& group : frame.groups) timing.labels.emplace_back(group.label, MillisecondsBetween(group.begin, group.end));
    timings.push_back(std::move(timing));
    Release(frame);
    pending_.pop_front();
  }
  return timings;
}

}  // namespace orvane
