#include "document/DocumentParser.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "document/NumberParsing.h"

namespace orvane {
namespace {

constexpr char kEndOfFileMark = 0x1A;

bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsDelimiter(char c, Delimiters delimiters) {
  if (static_cast<uint8_t>(c) <= 0x20) return true;
  const char* set = delimiters == Delimiters::Name ? ":;*@$[]{}" : ";{}";
  return std::strchr(set, c) != nullptr;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void SkipWhitespace(const char*& cursor) {
  while (IsWhitespace(*cursor)) ++cursor;
}

void SkipIf(const char*& cursor, char c) {
  if (*cursor == c) ++cursor;
}

// The body of a quoted string, after its opening quote; stops on the closing quote, a line end or
// the end of the text without consuming it.
std::string ReadQuoted(const char*& cursor) {
  std::string out;
  for (;;) {
    const char c = *cursor;
    if (c == '\0' || c == '\n' || c == '\r' || c == '"') return out;
    ++cursor;
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    const char escaped = *cursor;
    if (escaped == '\0') return out;
    if (escaped >= '0' && escaped <= '7') {
      unsigned value = 0;
      for (int digits = 0; digits < 3 && *cursor >= '0' && *cursor <= '7'; ++digits, ++cursor) {
        value = value * 8 + static_cast<unsigned>(*cursor - '0');
      }
      out.push_back(static_cast<char>(value & 0xFF));
      continue;
    }
    ++cursor;
    switch (escaped) {
      case '\n': break;  // a line continuation adds nothing
      case 'b': out.push_back('\b'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      default: out.push_back(escaped); break;
    }
  }
}

std::string ReadHexBlob(const char*& cursor) {
  std::string bytes;
  for (int high = HexDigitValue(*cursor); high >= 0; high = HexDigitValue(*cursor)) {
    ++cursor;
    const int low = HexDigitValue(*cursor);
    if (low < 0) break;  // a lone high half is dropped
    ++cursor;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

int32_t WrappingIncrement(int32_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) + 1u);
}

int32_t ReadIndex(const std::string& name, const char*& cursor, ParseContext& context) {
  if (*cursor == '[') {
    ++cursor;
    SkipWhitespace(cursor);
    int32_t& counter = (*context.counters)[name];
    if (*cursor == ']') {
      ++cursor;
      counter = WrappingIncrement(counter);
      return counter;
    }
    const int32_t index = ParseInt(cursor);
    counter = index;
    SkipWhitespace(cursor);
    SkipIf(cursor, ']');
    return index;
  }
  if (*cursor == '*') {
    ++cursor;
    const int32_t index = context.autoIndex;
    context.autoIndex = WrappingIncrement(context.autoIndex);
    return index;
  }
  return 0;
}

void ReadValue(DataNode& node, const char*& cursor, const ParseContext& context) {
  if (*cursor != ':') return;
  ++cursor;
  SkipWhitespace(cursor);
  if (*cursor == '$') {
    ++cursor;
    const std::string blob = ReadHexBlob(cursor);
    node.SetValue(reinterpret_cast<const uint8_t*>(blob.data()), static_cast<int32_t>(blob.size()),
                  ValueKind::Binary);
    return;
  }
  std::string value = ReadToken(cursor, Delimiters::Value);
  if (const auto variable = context.variables.find(value); variable != context.variables.end()) {
    value = variable->second;
  }
  const size_t length = std::strlen(value.c_str());  // a NUL from an escape ends the text
  node.SetValue(reinterpret_cast<const uint8_t*>(value.data()), static_cast<int32_t>(length),
                ValueKind::Text);
}

void DefineVariable(const char*& cursor, ParseContext& context) {
  ++cursor;  // '@'
  std::string name = ReadToken(cursor, Delimiters::Name);
  SkipWhitespace(cursor);
  SkipIf(cursor, ':');
  std::string value = ReadToken(cursor, Delimiters::Name);
  SkipWhitespace(cursor);
  SkipIf(cursor, ';');
  context.variables[std::move(name)] = std::move(value);
}

enum class Head { ListEnded, Done, OpensBlock };

// One statement up to its block: a variable definition, or an entry's name, index and value.
// For an entry followed by "{", consumes the brace and hands back the node the block fills.
Head ParseHead(DataNode& parent, const char*& cursor, ParseContext& context, DataNode*& blockNode) {
  SkipWhitespace(cursor);
  if (*cursor == '\0' || *cursor == '}') return Head::ListEnded;
  if (*cursor == '@') {
    DefineVariable(cursor, context);
    return Head::Done;
  }
  const std::string name = ReadToken(cursor, Delimiters::Name);
  SkipWhitespace(cursor);
  const int32_t index = ReadIndex(name, cursor, context);
  // A node's name ends at a NUL from an escape, as any C string would; counters above keep the
  // whole byte string as their key.
  DataNode* node = parent.FindChild(std::string_view(name.c_str()), index, true);
  ReadValue(*node, cursor, context);
  SkipWhitespace(cursor);
  if (*cursor == '{') {
    ++cursor;
    blockNode = node;
    return Head::OpensBlock;
  }
  SkipWhitespace(cursor);
  SkipIf(cursor, ';');
  return Head::Done;
}

// An open block: the node its statements go under and its own "name[]" counters.
struct OpenBlock {
  DataNode* node;
  CounterTable counters;
};

void CloseBlock(const char*& cursor) {
  SkipWhitespace(cursor);
  SkipIf(cursor, '}');
  SkipWhitespace(cursor);
  SkipIf(cursor, ';');
}

// Parses the statements of a block under `parent` until the block's list ends: at its closing
// brace, the end of the text, or a statement that consumed nothing. Blocks nested inside are kept
// on an explicit stack rather than the call stack, so nesting depth is bounded by memory only.
void ParseStatementList(DataNode& parent, const char*& cursor, ParseContext& context) {
  CounterTable* const outerCounters = context.counters;
  std::vector<OpenBlock> blocks;
  DataNode* current = &parent;
  for (;;) {
    const char* const before = cursor;
    DataNode* blockNode = nullptr;
    const Head head = ParseHead(*current, cursor, context, blockNode);
    if (head == Head::OpensBlock) {
      blocks.push_back(OpenBlock{blockNode, {}});
      context.counters = &blocks.back().counters;
      current = blockNode;
      continue;
    }
    const bool listEnded = head == Head::ListEnded || cursor == before;
    if (!listEnded) continue;
    if (blocks.empty()) break;
    CloseBlock(cursor);
    blocks.pop_back();
    context.counters = blocks.empty() ? outerCounters : &blocks.back().counters;
    current = blocks.empty() ? &parent : blocks.back().node;
  }
  context.counters = outerCounters;
}

}  // namespace

std::string ReadToken(const char*& cursor, Delimiters delimiters) {
  SkipWhitespace(cursor);
  if (*cursor == '"') {
    ++cursor;
    std::string token = ReadQuoted(cursor);
    SkipIf(cursor, '"');
    return token;
  }
  const char* start = cursor;
  while (!IsDelimiter(*cursor, delimiters)) ++cursor;
  return std::string(start, cursor);
}

bool ParseStatement(DataNode& parent, const char*& cursor, ParseContext& context) {
  DataNode* blockNode = nullptr;
  const Head head = ParseHead(parent, cursor, context, blockNode);
  if (head == Head::ListEnded) return false;
  if (head == Head::OpensBlock) {
    CounterTable* const outerCounters = context.counters;
    CounterTable blockCounters;
    context.counters = &blockCounters;
    ParseStatementList(*blockNode, cursor, context);
    context.counters = outerCounters;
    CloseBlock(cursor);
  }
  return true;
}

std::string ReadAsTextMode(std::string_view fileBytes) {
  std::string text;
  text.reserve(fileBytes.size());
  for (size_t i = 0; i < fileBytes.size(); ++i) {
    const char c = fileBytes[i];
    if (c == kEndOfFileMark) break;
    if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
    text.push_back(c);
  }
  return text;
}

void ParseDocumentBuffer(DataNode& root, std::string_view fileBytes) {
  const std::string text = ReadAsTextMode(fileBytes);  // NUL-terminated by std::string
  const char* cursor = text.c_str();
  CounterTable topLevelCounters;
  ParseContext context;
  context.counters = &topLevelCounters;
  while (*cursor != '\0') {
    const char* const before = cursor;
    ParseStatement(root, cursor, context);
    if (cursor == before) break;
  }
}

bool LoadDocument(std::unique_ptr<DataNode>& root, const std::filesystem::path& path) {
  root = std::make_unique<DataNode>("", 0);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (bytes.empty()) return false;
  ParseDocumentBuffer(*root, bytes);
  return true;
}

}  // namespace orvane
