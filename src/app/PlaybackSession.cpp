#include "app/PlaybackSession.h"

#include <SDL.h>

#include <algorithm>
#include <sstream>
#include <string_view>

#include "app/Inspect.h"
#include "app/LiveReload.h"
#include "app/Player.h"
#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/GpuProfiler.h"
#include "render/Screen.h"

namespace orvane {

PlaybackSession::PlaybackSession(const CommandLine& line, Player& player, Screen& screen)
    : player_(player), screen_(screen), dev_(line.dev), profile_(line.profile) {
  if (line.loop) {
    marks_.start = line.loop->start;
    marks_.end = line.loop->end;
  }
  // The overlay shows GPU times too, so development mode always measures them.
  if ((profile_ || dev_) && !screen_.adapter->profiler) screen_.adapter->profiler = std::make_unique<GpuProfiler>();
  if (!dev_) return;
  reload_ = std::make_unique<LiveReload>(player_);
  overlay_ = std::make_unique<Overlay>(screen_.window, screen_.adapter->context);
  SDL_ShowCursor(SDL_ENABLE);
  RunCheck();
}

PlaybackSession::~PlaybackSession() {
  overlay_.reset();
  if (profile_ || dev_) screen_.adapter->profiler.reset();
}

void PlaybackSession::RunCheck() {
  std::ostringstream findings;
  {
    const QuietDebugPrint quiet;
    orvane::RunCheck(findings);
  }
  checkFindings_.clear();
  std::istringstream lines(findings.str());
  for (std::string line; std::getline(lines, line);) checkFindings_.push_back(line);
}

void PlaybackSession::CollectGpuTimes(bool wait) {
  GpuProfiler* profiler = screen_.adapter->profiler.get();
  if (!profiler) return;
  for (const GpuFrameTiming& timing : profiler->Collect(wait)) {
    if (profile_) frameProfile_.AddGpuFrame(timing);
    stats_.gpuMeasured = timing.measured;
    stats_.gpuFrameMs = timing.totalMs;
    stats_.gpuLabels.clear();
    for (const auto& [label, ms] : timing.labels) {
      auto same = std::find_if(stats_.gpuLabels.begin(), stats_.gpuLabels.end(),
                               [&](const auto& entry) { return entry.first == label; });
      if (same == stats_.gpuLabels.end()) {
        stats_.gpuLabels.emplace_back(label, ms);
      } else {
        same->second += ms;
      }
    }
  }
}

std::string PlaybackSession::FinishProfile() {
  CollectGpuTimes(true);
  return frameProfile_.Table();
}

bool PlaybackSession::TakeEvent(const SDL_Event& event) {
  if (!dev_) return false;
  const DevKey key = InterpretDevKey(event);
  if (key.action == DevAction::ToggleOverlay) {
    if (overlay_) overlay_->visible = !overlay_->visible;
    return true;
  }
  if (key.action != DevAction::None) {
    if (player_.music) ApplyDevKey(key, *player_.music, marks_);
    return true;
  }
  return overlay_ && overlay_->TakeEvent(event);
}

void PlaybackSession::BeforeFrame() {
  if (reload_) {
    reload_->Poll();
    // A rebuilt graph may change what --check finds.
    if (reload_->rebuilds() != rebuildsSeen_) {
      rebuildsSeen_ = reload_->rebuilds();
      RunCheck();
    }
  }
  if (GpuProfiler* profiler = screen_.adapter->profiler.get()) profiler->BeginFrame();
}

void PlaybackSession::Phase(const char* name) {
  if (profile_) frameProfile_.BeginPhase(name);
  const std::string_view phase = name;
  const Clock::time_point now = Clock::now();
  if (phase == "cpu:evaluate") {
    evaluateStart_ = now;
    evaluating_ = true;
  } else if (evaluating_) {
    stats_.evaluateMs = std::chrono::duration<double, std::milli>(now - evaluateStart_).count();
    evaluating_ = false;
  }
}

void PlaybackSession::DrawOverWindow() {
  if (GpuProfiler* profiler = screen_.adapter->profiler.get()) profiler->EndFrame();
  if (overlay_) {
    static const std::deque<std::string> kNone;
    overlay_->Draw(stats_, player_.music.get(), reload_ ? reload_->messages() : kNone, checkFindings_);
  }
}

void PlaybackSession::AfterFrame() {
  const Clock::time_point now = Clock::now();
  if (frameStart_ != Clock::time_point{}) stats_.AddFrame(std::chrono::duration<double, std::milli>(now - frameStart_).count());
  frameStart_ = now;
  if (profile_) frameProfile_.EndCpuFrame();
  CollectGpuTimes(false);
}

}  // namespace orvane
