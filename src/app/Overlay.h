#pragma once
// The overlay of development mode (Dear ImGui through its SDL2 and OpenGL 3 backends): frames per
// second and a frame-time graph, CPU time of the graph's evaluation and GPU time of the frame and
// of each labelled group, the time with a bar that seeks, the loop range, and the latest reload
// messages and --check findings. It is drawn into the window after the frame has been blitted
// there, so it never reaches the back buffer, rendered frames or screenshots.

#include <array>
#include <deque>
#include <string>
#include <utility>
#include <vector>

union SDL_Event;
struct SDL_Window;

namespace orvane {

class MusicChannel;

// What the overlay shows of the frames so far.
struct OverlayStats {
  static constexpr size_t kHistory = 120;
  std::array<float, kHistory> frameMs{};  // ring of the latest frame times
  size_t next = 0;
  size_t filled = 0;
  double evaluateMs = 0.0;  // CPU time of the latest frame's evaluation
  double gpuFrameMs = 0.0;  // GPU time of the latest measured frame
  bool gpuMeasured = false;
  std::vector<std::pair<std::string, double>> gpuLabels;  // of the latest measured frame, summed per label

  void AddFrame(double milliseconds);
  double MeanFrameMs() const;
};

class Overlay {
public:
  // Needs the window's GL context current.
  Overlay(SDL_Window* window, void* glContext);
  ~Overlay();
  Overlay(const Overlay&) = delete;
  Overlay& operator=(const Overlay&) = delete;

  // True when the overlay took the event (a mouse event over it).
  bool TakeEvent(const SDL_Event& event);
  // Draws into the window's framebuffer (bound by the caller's blit).
  void Draw(const OverlayStats& stats, MusicChannel* music, const std::deque<std::string>& reloadMessages,
            const std::vector<std::string>& checkFindings);

  bool visible = true;

  // False when the backends could not start: the overlay then never draws.
  bool usable() const { return glReady_; }

private:
  SDL_Window* window_;
  bool ownsContext_ = false;
  bool sdlReady_ = false;
  bool glReady_ = false;
};

}  // namespace orvane
