#include "app/Overlay.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>

#include "audio/MusicChannel.h"

namespace orvane {

void OverlayStats::AddFrame(double milliseconds) {
  frameMs[next] = static_cast<float>(milliseconds);
  next = (next + 1) % kHistory;
  filled = std::min(filled + 1, kHistory);
}

double OverlayStats::MeanFrameMs() const {
  if (filled == 0) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i < filled; ++i) sum += static_cast<double>(frameMs[i]);
  return sum / static_cast<double>(filled);
}

Overlay::Overlay(SDL_Window* window, void* glContext) : window_(window) {
  // The program makes the context at start-up; tests and tools that have none get their own.
  if (ImGui::GetCurrentContext() == nullptr) {
    ImGui::CreateContext();
    ownsContext_ = true;
  }
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // nothing written into the demo's folder
  io.LogFilename = nullptr;
  ImGui::StyleColorsDark();
  sdlReady_ = ImGui_ImplSDL2_InitForOpenGL(window_, glContext);
  glReady_ = sdlReady_ && ImGui_ImplOpenGL3_Init("#version 450 core");
  if (!glReady_) {
    std::fprintf(stderr, "orvane: the overlay cannot draw with this OpenGL context\n");
    visible = false;
  }
}

Overlay::~Overlay() {
  if (glReady_) ImGui_ImplOpenGL3_Shutdown();
  if (sdlReady_) ImGui_ImplSDL2_Shutdown();
  if (ownsContext_) ImGui::DestroyContext();
}

bool Overlay::TakeEvent(const SDL_Event& event) {
  if (!visible || !glReady_) return false;
  ImGui_ImplSDL2_ProcessEvent(&event);
  const bool mouse = event.type == SDL_MOUSEMOTION || event.type == SDL_MOUSEBUTTONDOWN ||
                     event.type == SDL_MOUSEBUTTONUP || event.type == SDL_MOUSEWHEEL;
  return mouse && ImGui::GetIO().WantCaptureMouse;
}

namespace {

std::string Clock(double seconds) {
  char text[32];
  const int whole = static_cast<int>(seconds);
  std::snprintf(text, sizeof text, "%d:%06.3f", whole / 60, seconds - whole / 60 * 60);
  return text;
}

void DrawTimings(const OverlayStats& stats) {
  const double mean = stats.MeanFrameMs();
  ImGui::Text("%.1f fps  %.2f ms/frame", mean > 0.0 ? 1000.0 / mean : 0.0, mean);
  // The ring from its oldest entry, so that the graph scrolls.
  const int offset = stats.filled == OverlayStats::kHistory ? static_cast<int>(stats.next) : 0;
  ImGui::PlotLines("##frames", stats.frameMs.data(), static_cast<int>(stats.filled), offset, "frame ms", 0.0f,
                   static_cast<float>(std::max(33.3, mean * 2.0)), ImVec2(0, 32));
  ImGui::Text("CPU evaluate %.2f ms", stats.evaluateMs);
  if (!stats.gpuMeasured) {
    ImGui::TextUnformatted("GPU n/a");
    return;
  }
  ImGui::Text("GPU frame %.2f ms", stats.gpuFrameMs);
  for (const auto& [label, ms] : stats.gpuLabels) ImGui::Text("  %-16s %6.2f ms", label.c_str(), ms);
}

void DrawTimeline(MusicChannel& music) {
  const double length = music.DurationSeconds();
  float position = static_cast<float>(music.PositionSeconds());
  ImGui::Text("%s / %s%s", Clock(position).c_str(), Clock(length).c_str(), music.paused() ? "  (paused)" : "");
  ImGui::SetNextItemWidth(-1.0f);
  // Clicking or dragging the bar seeks.
  if (ImGui::SliderFloat("##time", &position, 0.0f, static_cast<float>(length), "%.2f s")) music.Seek(position);
  if (music.loop()) {
    ImGui::Text("loop %s - %s", Clock(music.loop()->start).c_str(), Clock(music.loop()->end).c_str());
  } else {
    ImGui::TextUnformatted("no loop");
  }
}

void DrawLines(const char* title, const auto& lines) {
  if (lines.empty()) return;
  ImGui::Separator();
  ImGui::TextUnformatted(title);
  for (const std::string& line : lines) ImGui::TextWrapped("%s", line.c_str());
}

}  // namespace

void Overlay::Draw(const OverlayStats& stats, MusicChannel* music, const std::deque<std::string>& reloadMessages,
                   const std::vector<std::string>& checkFindings) {
  if (!visible || !glReady_) return;
  ImGui_ImplOpenGL3_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  ImGui::SetNextWindowPos(ImVec2(8, 8), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSize(ImVec2(300, 0), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowBgAlpha(0.75f);
  ImGui::Begin("orvane", nullptr, ImGuiWindowFlags_NoFocusOnAppearing);
  // The time first: the part most often used, and the one a small window must not cut off.
  if (music) {
    DrawTimeline(*music);
    ImGui::Separator();
  }
  DrawTimings(stats);
  DrawLines("reloads", reloadMessages);
  DrawLines("check", checkFindings);
  ImGui::End();
  ImGui::Render();
  ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

}  // namespace orvane
