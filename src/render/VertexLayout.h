#pragma once
// A vertex layout made from a list of element words: a vertex-array object whose attributes sit
// at their semantics' fixed locations, plus the byte stride of each vertex-buffer slot.

#include <array>
#include <cstdint>
#include <vector>

#include "render/VertexElement.h"

namespace orvane {

class Adapter;

class VertexLayout {
public:
  ~VertexLayout();

  // Bytes a vertex takes in slot 0.
  uint32_t Stride0() const { return strides[0]; }

  uint32_t vertexArray = 0;  // GL vertex-array object
  std::array<uint32_t, kVertexSlots> strides{};
  std::vector<VertexElement> elements;  // defaults filled in, terminating 0 kept
  Adapter* adapter = nullptr;

private:
  friend class DrawContext;
  friend VertexLayout* CreateVertexLayout(Adapter*, const VertexElement*);
  VertexLayout() = default;

  // Buffers attached to the vertex-array object, so that drawing the same geometry again
  // attaches nothing.
  std::array<uint32_t, kVertexSlots> boundBuffers_{};
  uint32_t boundIndexBuffer_ = 0;
  uint64_t boundGeneration_ = 0;
};

// Validates the zero-terminated list and builds the layout; an invalid list is reported with
// the offending element and gives null.
VertexLayout* CreateVertexLayout(Adapter* adapter, const VertexElement* elements);
void DestroyVertexLayout(VertexLayout* layout);

}  // namespace orvane
