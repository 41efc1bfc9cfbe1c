#include "render/ConstantBuffer.h"

#include <algorithm>
#include <cstring>

#include "render/Adapter.h"
#include "render/DrawContext.h"
#include "render/detail/GlState.h"

namespace orvane {

ConstantBuffer::ConstantBuffer(Adapter* adapter, uint32_t slotIndex, uint32_t mask, uint32_t bytes)
    : slot(slotIndex), stageMask(mask), size(bytes), adapter_(adapter), contents_(bytes, 0) {}

void ConstantBuffer::AddVariable(std::string name, Variable variable) {
  variables_.insert_or_assign(std::move(name), variable);
}

void ConstantBuffer::GrowTo(uint32_t bytes) {
  if (bytes <= size) return;
  size = bytes;
  contents_.resize(bytes, 0);
  regionPosition_ = UINT64_MAX;
}

void ConstantBuffer::BeginUpdate() { mapped = contents_.data(); }

void ConstantBuffer::SetConstant(std::string_view name, const void* value) {
  if (!mapped) return;
  const Variable* variable = FindVariable(name);
  if (!variable || variable->offset > contents_.size() ||
      variable->size > contents_.size() - variable->offset)
    return;
  std::memcpy(mapped + variable->offset, value, variable->size);
}

void ConstantBuffer::EndUpdate() {
  if (!mapped) return;
  mapped = nullptr;
  detail::UniformRing& ring = adapter_->drawContext->state().ring;
  regionOffset_ = ring.Allocate(size, regionPosition_);
  std::memcpy(ring.Data(regionOffset_), contents_.data(), size);
}

const ConstantBuffer::Variable* ConstantBuffer::FindVariable(std::string_view name) const {
  auto found = variables_.find(name);
  return found == variables_.end() ? nullptr : &found->second;
}

}  // namespace orvane
