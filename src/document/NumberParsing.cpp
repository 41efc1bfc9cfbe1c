#include "document/NumberParsing.h"

#include <bit>
#include <cstdio>

namespace orvane {
namespace {

bool IsLineSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// Compares the next bytes with a lower-case word, ignoring ASCII letter case. Stops at a NUL.
bool StartsWithNoCase(const char* text, const char* word) {
  for (; *word != '\0'; ++text, ++word) {
    if (*text == '\0' || FoldAsciiCase(*text) != *word) return false;
  }
  return true;
}

const char* SkipDigits(const char* cursor) {
  while (IsDigit(*cursor)) ++cursor;
  return cursor;
}

}  // namespace

int32_t ParseInt(const char*& cursor) {
  while (IsLineSpace(*cursor)) ++cursor;
  uint32_t sign = 1;
  if (*cursor == '+' || *cursor == '-') {
    if (*cursor == '-') sign = ~0u;  // -1 in two's complement
    ++cursor;
  }
  uint32_t value = 0;
  if (cursor[0] == '0' && (cursor[1] == 'x' || cursor[1] == 'X')) {
    cursor += 2;
    for (int digit = HexDigitValue(*cursor); digit >= 0; digit = HexDigitValue(*++cursor)) {
      value = value * 16u + static_cast<uint32_t>(digit);
    }
  } else {
    for (; IsDigit(*cursor); ++cursor) value = value * 10u + static_cast<uint32_t>(*cursor - '0');
  }
  return static_cast<int32_t>(sign * value);
}

float ParseFloat(const char* text) {
  while (IsLineSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') {
    negative = *text == '-';
    ++text;
  }
  const char* unsigned_text = text;

  // The extent of the number decides where a "#INF" / "#QNAN" suffix may stand.
  const char* end = SkipDigits(text);
  if (*end == '.') end = SkipDigits(end + 1);
  if (*end == 'e') {
    ++end;
    if (*end == '+' || *end == '-') ++end;
    end = SkipDigits(end);
  }
  if (*end == '#') {
    ++end;
    if (StartsWithNoCase(end, "inf")) return std::bit_cast<float>(negative ? 0xFF800000u : 0x7F800000u);
    if (StartsWithNoCase(end, "qnan")) return std::bit_cast<float>(negative ? 0xFFFFFFFFu : 0x7FFFFFFFu);
  }

  float value = 0.0f;
  if (std::sscanf(unsigned_text, "%f", &value) != 1) value = 0.0f;
  if (negative) value = std::bit_cast<float>(std::bit_cast<uint32_t>(value) | 0x80000000u);
  return value;
}

}  // namespace orvane
