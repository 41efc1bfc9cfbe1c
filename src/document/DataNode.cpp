#include "document/DataNode.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "document/NumberParsing.h"

namespace orvane {
namespace {

uint8_t FoldAsciiCase(char c) {
  const auto byte = static_cast<uint8_t>(c);
  return (byte >= 'A' && byte <= 'Z') ? static_cast<uint8_t>(byte + ('a' - 'A')) : byte;
}

// Byte-wise comparison with ASCII letters folded to lower case; -1, 0 or 1.
int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const uint8_t ca = FoldAsciiCase(a[i]);
    const uint8_t cb = FoldAsciiCase(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool IsLineSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool DataNode::KeyLess::operator()(const Key& a, const Key& b) const {
  const int order = CompareNoCase(a.name, b.name);
  if (order != 0) return order < 0;
  return a.index < b.index;
}

DataNode::DataNode(std::string_view name, int32_t index) : name_(name), index_(index) {}

DataNode::~DataNode() {
  // Documents may nest arbitrarily deep; release the subtree with a work list instead of recursion
  // so that no document can exhaust the stack.
  std::vector<std::unique_ptr<DataNode>> pending;
  for (auto& [key, child] : children_) pending.push_back(std::move(child));
  children_.clear();
  while (!pending.empty()) {
    std::unique_ptr<DataNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& [key, child] : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

DataNode* DataNode::FindChild(std::string_view name, int32_t index, bool create) {
  const auto found = children_.find(Key{name, index});
  if (found != children_.end()) return found->second.get();
  if (!create) return nullptr;
  auto child = std::make_unique<DataNode>(name, index);
  DataNode* raw = child.get();
  children_.emplace(Key{raw->name_, index}, std::move(child));
  return raw;
}

const DataNode* DataNode::FindChild(std::string_view name, int32_t index) const {
  const auto found = children_.find(Key{name, index});
  return found != children_.end() ? found->second.get() : nullptr;
}

void DataNode::SetValue(const uint8_t* bytes, int32_t length, ValueKind kind) {
  block_.reset();
  length_ = std::max(length, 0);
  kind_ = kind;
  const auto size = static_cast<size_t>(length_);
  uint8_t* storage = inline_.data();
  if (size > inline_.size()) {
    block_ = std::make_unique<uint8_t[]>(size);
    storage = block_.get();
  }
  if (bytes != nullptr && size > 0) {
    std::memcpy(storage, bytes, size);
  } else {
    std::memset(storage, 0, std::max(size, inline_.size()));
  }
}

std::span<const uint8_t> DataNode::bytes() const {
  const uint8_t* storage = block_ ? block_.get() : inline_.data();
  return {storage, static_cast<size_t>(length_)};
}

std::string DataNode::TextForParsing() const {
  const auto value = bytes();
  std::string text(reinterpret_cast<const char*>(value.data()), value.size());
  text.resize(std::strlen(text.c_str()));
  return text;
}

bool DataNode::GetInt(int32_t& out) const {
  if (kind_ != ValueKind::Text) return false;
  const std::string text = TextForParsing();
  const char* cursor = text.c_str();
  const int32_t value = ParseInt(cursor);
  while (IsLineSpace(*cursor)) ++cursor;
  if (*cursor != '\0') return false;
  out = value;
  return true;
}

void DataNode::GetFloat(float& out) const {
  if (kind_ != ValueKind::Text) return;
  out = ParseFloat(TextForParsing().c_str());
}

bool DataNode::GetText(std::string& out) const {
  if (kind_ != ValueKind::Text) return false;
  const auto value = bytes();
  out.assign(reinterpret_cast<const char*>(value.data()), value.size());
  return true;
}

}  // namespace orvane
