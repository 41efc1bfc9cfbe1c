#pragma once
// A node of a demo document: a name, a signed index, an optional value (text or binary bytes) and
// children keyed by (name without regard to ASCII case, index).

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

enum class ValueKind : uint8_t { None, Text, Binary };

class DataNode {
public:
  // Key of a child among its siblings. The name is a view of the child's own name, which lives as
  // long as the child.
  struct Key {
    std::string_view name;
    int32_t index;
  };
  struct KeyLess {
    bool operator()(const Key& a, const Key& b) const;
  };
  using Children = std::map<Key, std::unique_ptr<DataNode>, KeyLess>;

  DataNode(std::string_view name, int32_t index);
  ~DataNode();
  DataNode(const DataNode&) = delete;
  DataNode& operator=(const DataNode&) = delete;

  // Finds the child with this key; when absent and `create` is set, makes an empty one.
  DataNode* FindChild(std::string_view name, int32_t index, bool create);
  const DataNode* FindChild(std::string_view name, int32_t index) const;

  // Replaces the value. Without bytes the value is `length` zero bytes.
  void SetValue(const uint8_t* bytes, int32_t length, ValueKind kind);

  // Conversions of a text value; other kinds fail and leave `out` untouched.
  bool GetInt(int32_t& out) const;
  void GetFloat(float& out) const;
  bool GetText(std::string& out) const;

  const std::string& name() const { return name_; }
  int32_t index() const { return index_; }
  ValueKind kind() const { return kind_; }
  int32_t length() const { return length_; }
  std::span<const uint8_t> bytes() const;
  const Children& children() const { return children_; }

private:
  // The text as a NUL-terminated string: an embedded NUL ends what is parsed.
  std::string TextForParsing() const;

  std::string name_;
  int32_t index_;
  ValueKind kind_ = ValueKind::None;
  int32_t length_ = 0;
  // Values of up to four bytes (short numbers) need no block of their own.
  std::array<uint8_t, 4> inline_{};
  std::unique_ptr<uint8_t[]> block_;
  Children children_;
};

}  // namespace orvane
