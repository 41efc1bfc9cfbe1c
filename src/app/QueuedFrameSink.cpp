#include "app/QueuedFrameSink.h"

#include <algorithm>

namespace orvane {

QueuedFrameSink::QueuedFrameSink(std::unique_ptr<FrameSink> inner, const FrameFormat& format, size_t depth)
    : inner_(std::move(inner)),
      frameBytes_(static_cast<size_t>(std::max(format.width, 0)) * static_cast<size_t>(std::max(format.height, 0)) * 4),
      depth_(std::max<size_t>(depth, 1)),
      writer_([this] { WriteQueued(); }) {}

QueuedFrameSink::~QueuedFrameSink() { Finish(); }

bool QueuedFrameSink::Write(std::span<const uint8_t> rgba) {
  std::unique_lock lock(mutex_);
  if (finished_) {
    error_ = "frame written after the output was completed";
    return false;
  }
  if (rgba.size() != frameBytes_) {
    error_ = "frame of " + std::to_string(rgba.size()) + " bytes, expected " + std::to_string(frameBytes_);
    return false;
  }
  changed_.wait(lock, [this] { return failed_ || queue_.size() < depth_; });
  if (failed_) {
    error_ = inner_->error();
    return false;
  }
  queue_.emplace_back(rgba.begin(), rgba.end());
  changed_.notify_all();
  return true;
}

bool QueuedFrameSink::Finish() {
  {
    std::lock_guard lock(mutex_);
    if (finished_) return error_.empty();
    finished_ = true;
    closing_ = true;
  }
  changed_.notify_all();
  if (writer_.joinable()) writer_.join();
  const bool completed = !failed_ && inner_->Finish();
  if (!completed) error_ = inner_->error();
  return completed;
}

void QueuedFrameSink::WriteQueued() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    if (queue_.empty()) return;  // closing, and everything is written
    std::vector<uint8_t> frame = std::move(queue_.front());
    lock.unlock();
    const bool written = inner_->Write(frame);
    lock.lock();
    queue_.pop_front();
    if (!written) {
      failed_ = true;
      queue_.clear();
    }
    changed_.notify_all();
    if (failed_) return;
  }
}

}  // namespace orvane
