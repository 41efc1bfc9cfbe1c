#pragma once
// Writes another sink's frames on a thread of its own, so that encoding a frame (PNG
// compression, the pipe into the video encoder) overlaps rendering the next one. Frames are
// written in the order they came; when `depth` frames wait, Write waits for room. A failure of
// the writer is reported by the next Write or by Finish, and the frames after it are dropped.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/FrameSink.h"

namespace orvane {

class QueuedFrameSink final : public FrameSink {
public:
  QueuedFrameSink(std::unique_ptr<FrameSink> inner, const FrameFormat& format, size_t depth = 2);
  // Writes what is queued and completes the output, as Finish does.
  ~QueuedFrameSink() override;
  QueuedFrameSink(const QueuedFrameSink&) = delete;
  QueuedFrameSink& operator=(const QueuedFrameSink&) = delete;

  // Refuses, without waiting, frames of the wrong size and frames after Finish.
  bool Write(std::span<const uint8_t> rgba) override;
  // Waits until every queued frame is written, then completes the inner sink.
  bool Finish() override;

private:
  void WriteQueued();

  std::unique_ptr<FrameSink> inner_;
  size_t frameBytes_;
  size_t depth_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<uint8_t>> queue_;
  bool closing_ = false;
  bool failed_ = false;    // the writer stopped: inner_->error() says why
  bool finished_ = false;
  std::thread writer_;
};

}  // namespace orvane
