#pragma once
// The Dear ImGui context lives from start-up to exit. Operators use its colour conversion; the
// overlay of development mode (Overlay.h) is the only code that draws with it.

namespace orvane {

class ImGuiContextScope {
public:
  ImGuiContextScope();
  ~ImGuiContextScope();
  ImGuiContextScope(const ImGuiContextScope&) = delete;
  ImGuiContextScope& operator=(const ImGuiContextScope&) = delete;
};

}  // namespace orvane
