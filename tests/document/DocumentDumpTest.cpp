#include "document/DocumentDump.h"

#include <gtest/gtest.h>

#include "document/TextFormat.h"
#include "support/DocumentText.h"

namespace orvane {
namespace {

TEST(TextFormat, EscapesQuotesBackslashesAndControlBytes) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"plain text", "plain text"},
      {"a\\b", "a\\\\b"},
      {"say \"hi\"", "say \\\"hi\\\""},
      {"\n\r\t", "\\n\\r\\t"},
      {std::string_view("\0\x01\x1f", 3), "\\x00\\x01\\x1f"},
      {"\x7f\x80\xff", "\\x7f\\x80\\xff"},
      {"~ ", "~ "},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(EscapeText(text), escaped);
}

TEST(TextFormat, FloatsUseTheShortestRoundTripForm) {
  const std::pair<float, std::string_view> cases[] = {
      {0.0f, "0"}, {-0.0f, "-0"}, {1.0f, "1"}, {0.1f, "0.1"}, {6.2831853f, "6.2831855"},
      {1e20f, "1e+20"}, {-2.5f, "-2.5"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatFloat(value), text);
}

TEST(DocumentDump, PrintsNodesDepthFirstWithIndentAndValues) {
  DataNode root("", 0);
  DataNode* op = root.FindChild("operator", 0, true);
  op->FindChild("type", 0, true)->SetValue(reinterpret_cast<const uint8_t*>("Sin"), 3, ValueKind::Text);
  op->FindChild("input", -2, true)->FindChild("blob", 0, true)->SetValue(nullptr, 0, ValueKind::Binary);
  root.FindChild("bytes", 7, true)->SetValue(reinterpret_cast<const uint8_t*>("\x0a\xff"), 2, ValueKind::Binary);
  root.FindChild("a\"b", 0, true);
  EXPECT_EQ(testing::DumpText(root),
            "a\\\"b[0]\n"
            "bytes[7] = $0aff\n"
            "operator[0]\n"
            "  input[-2]\n"
            "    blob[0] = $\n"
            "  type[0] = \"Sin\"\n");
}

}  // namespace
}  // namespace orvane
