#pragma once
// The Dear ImGui context lives from start-up to exit. Only its colour conversion is used; no
// window, frame or drawing function of it is called.

namespace orvane {

class ImGuiContextScope {
public:
  ImGuiContextScope();
  ~ImGuiContextScope();
  ImGuiContextScope(const ImGuiContextScope&) = delete;
  ImGuiContextScope& operator=(const ImGuiContextScope&) = delete;
};

}  // namespace orvane
