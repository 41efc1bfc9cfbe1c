#pragma once
// A shader pass a function owns, loaded the first time it is asked for while there is an adapter
// (the load-time pass), once: a pass whose shaders are missing stays without those stages and is
// not loaded again.

#include "resources/ShaderEntries.h"

namespace orvane {

class ShaderPass;
struct RenderStateDesc;

class OwnedPass {
public:
  OwnedPass(const char* name, ShaderEntries entries, const RenderStateDesc* state = nullptr)
      : name_(name), entries_(entries), state_(state) {}
  ~OwnedPass();
  OwnedPass(const OwnedPass&) = delete;
  OwnedPass& operator=(const OwnedPass&) = delete;

  // The pass when it has both a vertex and a pixel stage, else null.
  ShaderPass* Get();

private:
  const char* name_;
  ShaderEntries entries_;
  const RenderStateDesc* state_;
  ShaderPass* pass_ = nullptr;
  bool loaded_ = false;
};

}  // namespace orvane
