#pragma once
// The demo document's text format: statements that define variables or name children, with
// optional indices, values and blocks. Every byte sequence parses into some tree; there are no
// syntax errors.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "document/DataNode.h"

namespace orvane {

using CounterTable = std::map<std::string, int32_t, std::less<>>;

struct ParseContext {
  static constexpr int32_t kFirstAutoIndex = 0x40000000;

  int32_t autoIndex = kFirstAutoIndex;               // next index of the "name*" form
  std::map<std::string, std::string, std::less<>> variables;
  CounterTable* counters = nullptr;                  // "name[]" counters of the current block
};

enum class Delimiters { Name, Value };

// Reads one name or value token (quoted or bare) and advances the cursor past it.
std::string ReadToken(const char*& cursor, Delimiters delimiters);

// Parses one statement under `parent`. False when the statement list has ended (end of text or a
// closing brace, neither consumed). A block's statements are parsed before it returns.
bool ParseStatement(DataNode& parent, const char*& cursor, ParseContext& context);

// Turns the bytes of a document file into a tree under `root`, reading them as a text-mode file:
// CR LF is read as LF, and a byte 0x1A or NUL ends the text.
void ParseDocumentBuffer(DataNode& root, std::string_view fileBytes);

// Puts a new root into `root` and fills it from the file. False when the file cannot be read or
// is empty (the root is then empty).
bool LoadDocument(std::unique_ptr<DataNode>& root, const std::filesystem::path& path = "demo.opr");

// The text a text-mode read of these bytes delivers (CR LF to LF, 0x1A ends the text).
std::string ReadAsTextMode(std::string_view fileBytes);

}  // namespace orvane
