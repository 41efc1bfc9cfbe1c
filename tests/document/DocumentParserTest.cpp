#include "document/DocumentParser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/DocumentText.h"
#include "support/TempFolder.h"

namespace orvane {
namespace {

using testing::ParseAndDump;

struct DocumentCase {
  std::string_view text;
  std::string_view tree;  // the printed tree of the root's children
};

// Each case: a document text and the tree it must give, printed one node per line.
TEST(DocumentParser, StatementsIndicesValuesAndBlocks) {
  const DocumentCase cases[] = {
      {"a: 1;", "a[0] = \"1\"\n"},
      {"a:1", "a[0] = \"1\"\n"},
      {"a;", "a[0]\n"},
      {"a { b: 2; }", "a[0]\n  b[0] = \"2\"\n"},
      {"a: x { b: 2 }", "a[0] = \"x\"\n  b[0] = \"2\"\n"},
      {"k: 0; k[]: 1; k[]: 2;", "k[0] = \"0\"\nk[1] = \"1\"\nk[2] = \"2\"\n"},
      {"k[]: 1;", "k[1] = \"1\"\n"},
      {"k[5]: a; k[]: b;", "k[5] = \"a\"\nk[6] = \"b\"\n"},
      {"k*: a; k*: b;", "k[1073741824] = \"a\"\nk[1073741825] = \"b\"\n"},
      {"k[0x10]: a;", "k[16] = \"a\"\n"},
      {"k[-1]: a;", "k[-1] = \"a\"\n"},
      {"k[ 3 ]: a;", "k[3] = \"a\"\n"},
      {"k[2147483647]: a; k[]: b;", "k[-2147483648] = \"b\"\nk[2147483647] = \"a\"\n"},
      {"A: 1; a: 2;", "A[0] = \"2\"\n"},
      {"a[2] : x;", "[0] = \"x\"\na[2]\n"},
      {"a: 1; } b: 2;", "a[0] = \"1\"\n"},
      {"a { b: 1; ] c: 2; }", "[0]\na[0]\n  [0]\n  b[0] = \"1\"\n"},
      {"a { b: 1; } a { c: 2; }", "a[0]\n  b[0] = \"1\"\n  c[0] = \"2\"\n"},
      {"x { k[]: 1; } y { k[]: 1; }", "x[0]\n  k[1] = \"1\"\ny[0]\n  k[1] = \"1\"\n"},
      {"K[]: 1; k[]: 2;", "K[1] = \"2\"\n"},
      {"k[]: a; x { k[]: b; } k[]: c;", "k[1] = \"a\"\nk[2] = \"c\"\nx[0]\n  k[1] = \"b\"\n"},
      {"a: b c;", "a[0] = \"b\"\nc[0]\n"},
      {"a: x:y*@$[]z;", "a[0] = \"x:y*@$[]z\"\n"},
      {"a { b { c { d: 1 } } }", "a[0]\n  b[0]\n    c[0]\n      d[0] = \"1\"\n"},
      {"a { b: 1", "a[0]\n  b[0] = \"1\"\n"},  // the end of the text closes the block
      {"a: 1; $ b: 2;", "[0]\na[0] = \"1\"\n"},
      {"\x01 a: 1;", "[0]\n"},
      {"a: 2; a: 3;", "a[0] = \"3\"\n"},
      {"\xC4: \xE4\xFF;", "\\xc4[0] = \"\\xe4\\xff\"\n"},
  };
  for (const DocumentCase& c : cases) EXPECT_EQ(ParseAndDump(c.text), c.tree) << "text: " << c.text;
}

TEST(DocumentParser, VariablesAreSubstitutedOnceInLaterValues) {
  const DocumentCase cases[] = {
      {"@v: 3; a: v; b: w;", "a[0] = \"3\"\nb[0] = \"w\"\n"},
      {"@v: 3; a: \"v\";", "a[0] = \"3\"\n"},
      {"a: v; @v: 3;", "a[0] = \"v\"\n"},
      {"@v: x; @w: v; a: w;", "a[0] = \"v\"\n"},
      {"@v 3; a: v;", "a[0] = \"3\"\n"},   // the colon is optional
      {"@V: 3; a: v;", "a[0] = \"v\"\n"},  // variable names are case-sensitive
      {"@v: 1; @v: 2; a: v;", "a[0] = \"2\"\n"},
      {"@v: \"x y\"; a: v;", "a[0] = \"x y\"\n"},
      {"@v: a:b; x: v;", "[0] = \"b\"\nx[0] = \"a\"\n"},  // a bare variable value stops at name delimiters
      {"@v: 1; s { a: v; } b: v;", "b[0] = \"1\"\ns[0]\n  a[0] = \"1\"\n"},
      {"s { @v: 1; } b: v;", "b[0] = \"1\"\ns[0]\n"},  // variables span blocks
      {"@v: 1; v: v;", "v[0] = \"1\"\n"},              // names are never substituted
  };
  for (const DocumentCase& c : cases) EXPECT_EQ(ParseAndDump(c.text), c.tree) << "text: " << c.text;
}

TEST(DocumentParser, QuotedStringsAndBinaryBlobs) {
  const DocumentCase cases[] = {
      {"a: \"x y\\tz\";", "a[0] = \"x y\\tz\"\n"},
      {"a: \"\\101\";", "a[0] = \"A\"\n"},
      {"a: \"\\1011\";", "a[0] = \"A1\"\n"},  // at most three octal digits
      {"a: \"\\777\";", "a[0] = \"\\xff\"\n"},  // modulo 256
      {"a: \"\\18\";", "a[0] = \"\\x018\"\n"},
      {"a: \"\\b\\n\\r\\q\\\\\\\"\";", "a[0] = \"\\x08\\n\\rq\\\\\\\"\"\n"},
      {"a: \"x\\\ny\";", "a[0] = \"xy\"\n"},  // a backslash before a line end continues the string
      {"a: \"x\\0y\";", "a[0] = \"x\"\n"},    // an escaped NUL ends the text value
      // ...and a name: the node is "n", which the next statement sets again; counters keep the
      // whole bytes as their key, so "n\0m[]" counts apart from "n[]"
      {"\"n\\0m\": 1; n: 2;", "n[0] = \"2\"\n"},
      {"\"n\\0m\"[]: 1; \"n\\0m\"[]: 2; n[]: 3;", "n[1] = \"3\"\nn[2] = \"2\"\n"},
      {"a: \"open\nb: 1;", "a[0] = \"open\"\nb[0] = \"1\"\n"},  // unclosed strings end at the line end
      {"a: \"x\\", "a[0] = \"x\"\n"},
      {"\"a b\": 1;", "a b[0] = \"1\"\n"},
      {"\"\": 1;", "[0] = \"1\"\n"},
      {"a: \"{;}\";", "a[0] = \"{;}\"\n"},
      {"a: $0aFF10;", "a[0] = $0aff10\n"},
      {"a: $;", "a[0] = $\n"},
      {"a: $ABC;", "a[0] = $ab\n"},  // a lone trailing digit is dropped
      {"a: $AB CD;", "a[0] = $ab\nCD[0]\n"},
      {"a: $xyz;", "a[0] = $\nxyz[0]\n"},
  };
  for (const DocumentCase& c : cases) EXPECT_EQ(ParseAndDump(c.text), c.tree) << "text: " << c.text;
}

TEST(DocumentParser, ReadsTheBufferAsATextModeFile) {
  using namespace std::string_view_literals;
  const DocumentCase cases[] = {
      {"a: 1;\r\nb: 2;\r\n"sv, "a[0] = \"1\"\nb[0] = \"2\"\n"},
      {"a: \"x\r\ny\";"sv, "a[0] = \"x\"\ny\\\"[0]\n"},  // CR LF arrives as LF, which ends the string
      {"a: \"x\ry\";"sv, "a[0] = \"x\"\ny\\\"[0]\n"},    // a lone CR stays and ends it too
      {"a: 1;\x1A b: 2;"sv, "a[0] = \"1\"\n"},       // 0x1A ends the text
      {"a: 1;\0 b: 2;"sv, "a[0] = \"1\"\n"},         // so does a NUL
      {"a: \"\\\r\nb\";"sv, "a[0] = \"b\"\n"},
  };
  for (const DocumentCase& c : cases) EXPECT_EQ(ParseAndDump(c.text), c.tree) << "text: " << c.text;
}

TEST(DocumentParser, ReadTokenStopsAtItsDelimiters) {
  const std::tuple<const char*, Delimiters, const char*, const char*> cases[] = {
      {"  name: x", Delimiters::Name, "name", ": x"},
      {"a*b", Delimiters::Name, "a", "*b"},
      {"a*b;", Delimiters::Value, "a*b", ";"},
      {"a{", Delimiters::Value, "a", "{"},
      {"\"q\\\"t\" rest", Delimiters::Value, "q\"t", " rest"},
      {";", Delimiters::Value, "", ";"},
  };
  for (const auto& [text, delimiters, token, rest] : cases) {
    const char* cursor = text;
    EXPECT_EQ(ReadToken(cursor, delimiters), token) << text;
    EXPECT_STREQ(cursor, rest) << text;
  }
}

TEST(DocumentParser, ParseStatementReportsTheEndOfItsList) {
  CounterTable counters;
  ParseContext context;
  context.counters = &counters;
  DataNode root("", 0);
  const char* text = "a: 1; }";
  const char* cursor = text;
  EXPECT_TRUE(ParseStatement(root, cursor, context));
  EXPECT_FALSE(ParseStatement(root, cursor, context));
  EXPECT_EQ(*cursor, '}');  // not consumed
  const char* end = "";
  EXPECT_FALSE(ParseStatement(root, end, context));
}

class LoadDocumentTest : public ::testing::Test {
protected:
  std::filesystem::path Write(std::string_view bytes) { return folder.Write("demo.opr", bytes); }
  testing::TempFolder folder;
};

TEST_F(LoadDocumentTest, ReadsAFileIntoAFreshRoot) {
  auto root = std::make_unique<DataNode>("old", 3);
  root->FindChild("stale", 0, true);
  ASSERT_TRUE(LoadDocument(root, Write("a: 1;\r\nb { c: 2 }")));
  EXPECT_EQ(root->name(), "");
  EXPECT_EQ(root->index(), 0);
  EXPECT_EQ(testing::DumpText(*root), "a[0] = \"1\"\nb[0]\n  c[0] = \"2\"\n");
}

TEST_F(LoadDocumentTest, MissingOrEmptyFilesGiveAnEmptyRoot) {
  std::unique_ptr<DataNode> root;
  EXPECT_FALSE(LoadDocument(root, folder / "absent.opr"));
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(root->children().empty());
  EXPECT_FALSE(LoadDocument(root, Write("")));
  EXPECT_TRUE(root->children().empty());
  EXPECT_FALSE(LoadDocument(root, folder.path()));  // a folder is no document
}

}  // namespace
}  // namespace orvane
