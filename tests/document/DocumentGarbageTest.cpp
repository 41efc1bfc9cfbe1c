// Hostile documents: whatever the bytes, parsing ends with some tree, without crashing, hanging or
// undefined behaviour (run under the sanitizers in CI).

#include <gtest/gtest.h>

#include "support/DocumentText.h"
#include "support/GarbageDocuments.h"

namespace orvane {
namespace {

constexpr std::string_view kRealDocument =
    "@beat: 0.5;\r\nMusicPath: \"music.wav\";\r\n"
    "operator { type: FinalOutput; connection { source: 2; sourceProp: FloatOut; target: 0; targetProp: In; } }\n"
    "operator[] { type: Time; }\n"
    "operator[] { type: Sin; input { Value: 0; } input[] { Amplitude: 1; track { before: 1; after: 3;\n"
    "  key { time: 0; value: 0.2; } key[] { time: 2; value: 0.5; shape: 1; cp1_x: -0.5; } } }\n"
    "  input[] { Frequency: beat; } connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: Value; } }\n"
    "blob: $00ff10; text: \"tab\\there \\101\";\n";

TEST(DocumentGarbage, RandomBytesParseIntoSomeTree) {
  std::mt19937 random(1234);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = testing::RandomDocument(random, 600);
    const auto root = testing::ParseText(text);
    testing::DumpText(*root);
  }
}

TEST(DocumentGarbage, EveryPrefixOfARealDocumentParses) {
  for (const std::string& prefix : testing::Prefixes(std::string(kRealDocument))) {
    const auto root = testing::ParseText(prefix);
    testing::DumpText(*root);
  }
  EXPECT_NE(testing::ParseAndDump(kRealDocument).find("Amplitude[0] = \"1\""), std::string::npos);
}

TEST(DocumentGarbage, DeepNestingNeedsNoDeepStack) {
  // Parsing, and releasing the tree afterwards, both walk 200000 levels.
  for (const std::string_view unit : {"a{", "{", "a[]:x{", "\"q\"{"}) {
    std::string text;
    for (int depth = 0; depth < 200000; ++depth) text += unit;
    const auto root = testing::ParseText(text);
    EXPECT_EQ(root->children().size(), 1u) << unit;
  }
  const auto closed = testing::ParseText(std::string(100000, '{') + "x: 1;" + std::string(100000, '}') + "y: 2;");
  EXPECT_NE(closed->FindChild("y", 0), nullptr);
}

TEST(DocumentGarbage, LongRunsOfOneByte) {
  for (const char c : {'[', ']', '*', '@', '$', '"', '\\', ':', ';', '0', 'a', '\xFF'}) {
    testing::ParseText(std::string(100000, c));
  }
}

}  // namespace
}  // namespace orvane
