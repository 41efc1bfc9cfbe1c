#include "app/ImGuiContext.h"

#include <imgui.h>

namespace orvane {

ImGuiContextScope::ImGuiContextScope() { ImGui::CreateContext(); }
ImGuiContextScope::~ImGuiContextScope() { ImGui::DestroyContext(); }

}  // namespace orvane
