#include "document/DataAccessor.h"

#include <limits>

namespace orvane {

const DataNode* DataAccessor::FindChild(std::string_view name) const {
  return node_ ? node_->FindChild(name, 0) : nullptr;
}

DataAccessor DataAccessor::Child(std::string_view name, int32_t index) const {
  return DataAccessor(node_ ? node_->FindChild(name, index) : nullptr);
}

void DataAccessor::ReadInt(std::string_view name, int32_t& out) const {
  out = 0;
  if (const DataNode* child = FindChild(name)) child->GetInt(out);
}

void DataAccessor::ReadFloat(std::string_view name, float& out, float fallback) const {
  out = fallback;
  if (const DataNode* child = FindChild(name)) child->GetFloat(out);
}

void DataAccessor::ReadText(std::string_view name, std::string& out) const {
  const DataNode* child = FindChild(name);
  if (child == nullptr || !child->GetText(out)) out.clear();
}

int32_t DataAccessor::CountList(std::string_view name) const {
  if (node_ == nullptr) return 0;
  int32_t count = 0;
  while (count < std::numeric_limits<int32_t>::max() && node_->FindChild(name, count) != nullptr) ++count;
  return count;
}

}  // namespace orvane
