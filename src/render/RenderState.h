#pragma once
// Rasterizer, depth-stencil and blend state built once from a RenderStateDesc and cached by
// the adapter under the NameHash of the record's bytes.

#include <cstdint>
#include <memory>

#include "render/RenderStateDesc.h"

namespace orvane {

class Adapter;
namespace detail {
struct GlRenderState;
}

struct RenderState {
  RenderState();
  ~RenderState();
  RenderState(const RenderState&) = delete;
  RenderState& operator=(const RenderState&) = delete;

  RenderStateDesc desc;
  uint32_t sampleMask = 0xFFFFFFFFu;
  uint8_t stencilReference = 0;
  Adapter* adapter = nullptr;
  std::unique_ptr<detail::GlRenderState> gl;
};

// The cached state for the record; made on the first request. Two records with the same hash
// share one state.
RenderState* GetRenderState(Adapter* adapter, const RenderStateDesc& desc);

}  // namespace orvane
