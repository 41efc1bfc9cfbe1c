#pragma once

namespace orvane {

// Entry-point names of a shader pass, one per stage; null leaves the stage out.
struct ShaderEntries {
  const char* vertex = nullptr;
  const char* hull = nullptr;
  const char* domain = nullptr;
  const char* geometry = nullptr;
  const char* pixel = nullptr;
};

}  // namespace orvane
