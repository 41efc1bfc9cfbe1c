#include "document/DataNode.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "document/DataAccessor.h"

namespace orvane {
namespace {

void SetText(DataNode& node, std::string_view text) {
  node.SetValue(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()), ValueKind::Text);
}

TEST(DataNode, ChildrenAreKeyedByNameWithoutCaseAndByIndex) {
  DataNode root("", 0);
  DataNode* type = root.FindChild("type", 0, true);
  EXPECT_EQ(root.FindChild("Type", 0, true), type);  // found, not created
  EXPECT_EQ(root.FindChild("TYPE", 0), type);
  EXPECT_EQ(root.children().size(), 1u);
  EXPECT_EQ(type->name(), "type");  // the first spelling stays

  root.FindChild("key", 2, true);
  root.FindChild("key", -1, true);
  root.FindChild("Key", 0, true);
  EXPECT_EQ(root.FindChild("key", 3), nullptr);
  EXPECT_EQ(root.FindChild("key", 3, false), nullptr);
  EXPECT_EQ(root.children().size(), 4u);

  // Order: names compared with letters folded to lower case, then indices ascending.
  std::vector<std::pair<std::string, int32_t>> order;
  for (const auto& [key, child] : root.children()) order.emplace_back(child->name(), child->index());
  const std::vector<std::pair<std::string, int32_t>> expected{{"key", -1}, {"Key", 0}, {"key", 2}, {"type", 0}};
  EXPECT_EQ(order, expected);
}

TEST(DataNode, NamesFoldOnlyAsciiLetters) {
  DataNode root("", 0);
  // Bytes from 0x80 are not letters: upper- and lower-case A-umlaut in Latin-1 stay apart.
  DataNode* upper = root.FindChild("\xC4", 0, true);
  EXPECT_NE(root.FindChild("\xE4", 0, true), upper);
  // "[" (0x5B) and "_" (0x5F) lie between 'Z' and 'a': folding puts them before letters.
  root.FindChild("[", 0, true);
  root.FindChild("_", 0, true);
  root.FindChild("A", 0, true);
  std::vector<std::string> names;
  for (const auto& [key, child] : root.children()) names.push_back(child->name());
  EXPECT_EQ(names, (std::vector<std::string>{"[", "_", "A", "\xC4", "\xE4"}));
}

TEST(DataNode, ListsEndAtTheFirstMissingIndex) {
  DataNode root("", 0);
  for (int32_t i : {0, 1, 2, 4}) root.FindChild("key", i, true);
  EXPECT_EQ(DataAccessor(&root).CountList("key"), 3);
  EXPECT_EQ(DataAccessor(&root).CountList("missing"), 0);
  EXPECT_EQ(DataAccessor().CountList("key"), 0);
}

TEST(DataNode, ValuesOfAnyLengthAreStoredAndReplaced) {
  DataNode node("n", 0);
  const std::string_view texts[] = {"", "1", "1234", "12345", std::string_view("a long text value\0x", 19)};
  for (const std::string_view text : texts) {
    SetText(node, text);
    std::string out = "unchanged";
    ASSERT_TRUE(node.GetText(out));
    EXPECT_EQ(out, text);
    EXPECT_EQ(node.length(), static_cast<int32_t>(text.size()));
  }
  node.SetValue(nullptr, 9, ValueKind::Binary);
  EXPECT_EQ(node.kind(), ValueKind::Binary);
  for (uint8_t byte : node.bytes()) EXPECT_EQ(byte, 0);
  std::string out = "unchanged";
  EXPECT_FALSE(node.GetText(out));
  EXPECT_EQ(out, "unchanged");
}

struct IntReadCase {
  const char* text;
  bool ok;
  int32_t value;
};

TEST(DataNode, GetIntNeedsTheWholeTextToBeANumber) {
  const IntReadCase cases[] = {
      {" 42 ", true, 42}, {"42abc", false, 0}, {"0x1F", true, 31}, {"-0X10", true, -16}, {"+7", true, 7},
      {"", true, 0},      {"\t7\r\n", true, 7}, {"abc", false, 0}, {"4 2", false, 0},
  };
  for (const IntReadCase& c : cases) {
    DataNode node("n", 0);
    SetText(node, c.text);
    int32_t out = -99;
    EXPECT_EQ(node.GetInt(out), c.ok) << c.text;
    EXPECT_EQ(out, c.ok ? c.value : -99) << c.text;
  }
  DataNode withNul("n", 0);
  SetText(withNul, std::string_view("12\0abc", 6));  // a NUL ends what is parsed
  int32_t out = 0;
  EXPECT_TRUE(withNul.GetInt(out));
  EXPECT_EQ(out, 12);
}

// A document root with one child of each kind, for the accessor's reads.
class AccessorTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetText(*root.FindChild("int", 0, true), " 42 ");
    SetText(*root.FindChild("bad", 0, true), "42abc");
    SetText(*root.FindChild("float", 0, true), "1.5");
    SetText(*root.FindChild("word", 0, true), "abc");
    SetText(*root.FindChild("empty", 0, true), "");
    SetText(*root.FindChild("nan", 0, true), "1.#QNAN");
    SetText(*root.FindChild("ninf", 0, true), "-1.#Inf");
    SetText(*root.FindChild("second", 1, true), "7");
    root.FindChild("binary", 0, true)->SetValue(reinterpret_cast<const uint8_t*>("\x01\x02"), 2, ValueKind::Binary);
    root.FindChild("bare", 0, true);
  }
  DataNode root{"", 0};
  DataAccessor accessor{&root};
};

TEST_F(AccessorTest, ReadIntFallsBackToZero) {
  const std::pair<const char*, int32_t> cases[] = {
      {"int", 42}, {"bad", 0}, {"missing", 0}, {"binary", 0}, {"bare", 0}, {"empty", 0}, {"second", 0}};
  for (const auto& [name, expected] : cases) {
    int32_t out = -1;
    accessor.ReadInt(name, out);
    EXPECT_EQ(out, expected) << name;
  }
}

TEST_F(AccessorTest, ReadFloatUsesTheFallbackOnlyWithoutText) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"float", std::bit_cast<uint32_t>(1.5f)},
      {"word", 0u},  // text that is no number reads as 0, not as the fallback
      {"empty", 0u},
      {"missing", std::bit_cast<uint32_t>(9.0f)},
      {"binary", std::bit_cast<uint32_t>(9.0f)},
      {"bare", std::bit_cast<uint32_t>(9.0f)},
      {"nan", 0x7FFFFFFFu},
      {"ninf", 0xFF800000u},
      {"bad", std::bit_cast<uint32_t>(42.0f)},  // whatever follows the number is ignored
  };
  for (const auto& [name, bits] : cases) {
    float out = -1.0f;
    accessor.ReadFloat(name, out, 9.0f);
    EXPECT_EQ(std::bit_cast<uint32_t>(out), bits) << name;
  }
}

TEST_F(AccessorTest, ReadTextGivesEmptyForOtherKinds) {
  const std::pair<const char*, const char*> cases[] = {
      {"word", "abc"}, {"empty", ""}, {"binary", ""}, {"bare", ""}, {"missing", ""}};
  for (const auto& [name, expected] : cases) {
    std::string out = "unchanged";
    accessor.ReadText(name, out);
    EXPECT_EQ(out, expected) << name;
  }
}

TEST_F(AccessorTest, AnAccessorWithoutNodeFindsNothing) {
  const DataAccessor none = accessor.Child("missing").Child("deeper", 3);
  EXPECT_EQ(none.node(), nullptr);
  int32_t i = 5;
  float f = 5.0f;
  std::string t = "x";
  none.ReadInt("int", i);
  none.ReadFloat("float", f, 2.0f);
  none.ReadText("word", t);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(f, 2.0f);
  EXPECT_EQ(t, "");
  EXPECT_EQ(accessor.Child("second", 1).node(), root.FindChild("second", 1));
}

TEST(DataNode, DeepTreesAreReleasedWithoutRecursion) {
  // Deep enough to overflow the stack if nodes were destroyed recursively.
  auto root = std::make_unique<DataNode>("", 0);
  DataNode* node = root.get();
  for (int depth = 0; depth < 300000; ++depth) {
    node = node->FindChild("a", 0, true);
    SetText(*node, "a longer value than four bytes");
  }
  root.reset();
  SUCCEED();
}

}  // namespace
}  // namespace orvane
