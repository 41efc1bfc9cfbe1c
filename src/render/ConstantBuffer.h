#pragma once
// A shader's uniform block, with its variables found by reflection so that constants are set
// by name. Updates follow write-discard: between BeginUpdate and EndUpdate every constant the
// shader reads is written again, and EndUpdate hands the bytes to the GPU in a fresh region, so
// the draws already issued keep the values they were given.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

class Adapter;

class ConstantBuffer {
public:
  struct Variable {
    uint32_t offset = 0;
    uint32_t size = 0;  // the whole member, arrays included
  };

  ConstantBuffer(Adapter* adapter, uint32_t slot, uint32_t stageMask, uint32_t size);

  void BeginUpdate();
  // Copies the variable's size in bytes from value; a name not in the table changes nothing.
  // Only between BeginUpdate and EndUpdate.
  void SetConstant(std::string_view name, const void* value);
  void EndUpdate();

  // Reflection fills the table; a name already present is replaced.
  void AddVariable(std::string name, Variable variable);
  // Stages may declare the block with different sizes; the GPU copy covers the largest.
  void GrowTo(uint32_t bytes);

  const Variable* FindVariable(std::string_view name) const;
  const std::map<std::string, Variable, std::less<>>& variables() const { return variables_; }
  // The values the next draw reads.
  const std::vector<uint8_t>& contents() const { return contents_; }

  uint32_t slot = 0;       // uniform-block binding 0-7
  uint32_t stageMask = 0;  // bit s: stage s declares the block
  uint32_t size = 0;
  uint8_t* mapped = nullptr;  // open for writing between BeginUpdate and EndUpdate

private:
  friend class DrawContext;

  Adapter* adapter_ = nullptr;
  std::map<std::string, Variable, std::less<>> variables_;
  std::vector<uint8_t> contents_;
  uint64_t regionPosition_ = UINT64_MAX;  // where the GPU copy lives in the uniform ring
  uint32_t regionOffset_ = 0;
};

}  // namespace orvane
