#include "document/NumberParsing.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>

namespace orvane {
namespace {

struct IntCase {
  const char* text;
  int32_t expected;
  size_t consumed;
};

TEST(ParseInt, ReadsDecimalHexSignAndWraps) {
  const IntCase cases[] = {
      {" 42 ", 42, 3},
      {"\t\r\n7x", 7, 4},
      {"0x1F", 31, 4},
      {"-0X10", -16, 5},
      {"+7", 7, 2},
      {"0x", 0, 2},         // no digit after the prefix
      {"0xg", 0, 2},
      {"abc", 0, 0},        // nothing consumed
      {"-abc", 0, 1},       // the sign is consumed
      {"4294967297", 1, 10},  // wraps at 32 bits
      {"-2147483648", INT_MIN, 11},
      {"2147483648", INT_MIN, 10},
      {"0xFFFFFFFF", -1, 10},
      {"0x1ffffffff", -1, 11},
      {"8589934602", 10, 10},  // 2 * 2^32 + 10
  };
  for (const IntCase& c : cases) {
    const char* cursor = c.text;
    const int32_t value = ParseInt(cursor);
    EXPECT_EQ(value, c.expected) << c.text;
    EXPECT_EQ(static_cast<size_t>(cursor - c.text), c.consumed) << c.text;
  }
}

struct FloatCase {
  const char* text;
  uint32_t bits;
};

TEST(ParseFloat, ReadsNumbersAndPrintedSpecialValues) {
  const FloatCase cases[] = {
      {"1.5", std::bit_cast<uint32_t>(1.5f)},
      {"  +3", std::bit_cast<uint32_t>(3.0f)},
      {"-2.25", std::bit_cast<uint32_t>(-2.25f)},
      {"2E3", std::bit_cast<uint32_t>(2000.0f)},  // the formatted scan decides the value
      {"1e", std::bit_cast<uint32_t>(1.0f)},
      {"7 trailing", std::bit_cast<uint32_t>(7.0f)},
      {"abc", 0x00000000u},
      {"", 0x00000000u},
      {"-abc", 0x80000000u},  // -0.0
      {"1.#QNAN", 0x7FFFFFFFu},
      {"-1.#QNAN", 0xFFFFFFFFu},
      {"1.#qnan0", 0x7FFFFFFFu},
      {"1.#Inf", 0x7F800000u},
      {"-1.#INF", 0xFF800000u},
      {"1.#IND", std::bit_cast<uint32_t>(1.0f)},  // an unknown suffix leaves the number
      {"1e400", 0x7F800000u},
  };
  for (const FloatCase& c : cases) {
    EXPECT_EQ(std::bit_cast<uint32_t>(ParseFloat(c.text)), c.bits) << c.text;
  }
}

}  // namespace
}  // namespace orvane
