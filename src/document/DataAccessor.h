#pragma once
// Read-only handle on a document node. Every read on a handle without a node finds nothing and
// leaves the caller's defaults in place, so readers never need to check what is present.

#include <cstdint>
#include <string>
#include <string_view>

#include "document/DataNode.h"

namespace orvane {

class DataAccessor {
public:
  DataAccessor() = default;
  explicit DataAccessor(const DataNode* node) : node_(node) {}

  DataAccessor Child(std::string_view name, int32_t index = 0) const;

  // out = 0, then the child's integer when the child's whole text is one.
  void ReadInt(std::string_view name, int32_t& out) const;
  // out = fallback, then the child's number when the child holds text (text that is no number: 0).
  void ReadFloat(std::string_view name, float& out, float fallback) const;
  // out = the child's text, or "" when it has none.
  void ReadText(std::string_view name, std::string& out) const;

  // Number of children named `name` with consecutive indices from 0: the length of a list.
  int32_t CountList(std::string_view name) const;

  const DataNode* node() const { return node_; }
  explicit operator bool() const { return node_ != nullptr; }

private:
  const DataNode* FindChild(std::string_view name) const;

  const DataNode* node_ = nullptr;
};

}  // namespace orvane
