#pragma once
// What a playing run adds to the frame loop: in development mode the keys that move through
// time, the overlay and live reload; with --profile the GPU and CPU times of every frame.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/DevKeys.h"
#include "app/FrameProfile.h"
#include "app/MainLoop.h"
#include "app/Overlay.h"

namespace orvane {

class LiveReload;
class Player;
class Screen;

class PlaybackSession final : public LoopHooks {
public:
  PlaybackSession(const CommandLine& line, Player& player, Screen& screen);
  ~PlaybackSession() override;
  PlaybackSession(const PlaybackSession&) = delete;
  PlaybackSession& operator=(const PlaybackSession&) = delete;

  // Whether the loop needs this session at all (plain playback does not).
  bool active() const { return dev_ || profile_; }
  // Waits for the GPU times still outstanding; the table of everything measured.
  std::string FinishProfile();

  bool TakeEvent(const SDL_Event& event) override;
  void BeforeFrame() override;
  void Phase(const char* name) override;
  void DrawOverWindow() override;
  void AfterFrame() override;

  Overlay* overlay() { return overlay_.get(); }
  LiveReload* reload() { return reload_.get(); }

private:
  using Clock = std::chrono::steady_clock;
  void CollectGpuTimes(bool wait);
  void RunCheck();

  Player& player_;
  Screen& screen_;
  bool dev_ = false;
  bool profile_ = false;
  LoopMarks marks_;
  FrameProfile frameProfile_;
  OverlayStats stats_;
  std::unique_ptr<Overlay> overlay_;
  std::unique_ptr<LiveReload> reload_;
  size_t rebuildsSeen_ = 0;
  std::vector<std::string> checkFindings_;
  Clock::time_point frameStart_{};
  Clock::time_point evaluateStart_{};
  bool evaluating_ = false;
};

}  // namespace orvane
