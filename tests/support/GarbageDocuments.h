#pragma once
// Generated hostile inputs for the document reader: random bytes weighted towards the format's
// own syntax, and every prefix of a real document.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace orvane::testing {

inline std::string RandomDocument(std::mt19937& random, size_t maxLength) {
  static constexpr std::string_view kPieces[] = {
      "{", "}", "[", "]", "[]", "*", ":", ";", "@", "$", "\"", "\\", "\n", "\r\n", " ", "\t", "\x1A",
      "0x", "-", "7", "1.#QNAN", "operator", "type", "Sin", "input", "track", "key", "connection",
      "source", "target", "sourceProp", "FloatOut", "Value", "time", "shape", "after", "2147483647", "ff"};
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<int> choice(0, 9);
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string text;
  const size_t target = length(random);
  while (text.size() < target) {
    if (choice(random) < 3) {
      text.push_back(static_cast<char>(byte(random)));
    } else {
      text += kPieces[piece(random)];
    }
  }
  return text;
}

inline std::vector<std::string> Prefixes(const std::string& text) {
  std::vector<std::string> prefixes;
  for (size_t n = 0; n <= text.size(); ++n) prefixes.push_back(text.substr(0, n));
  return prefixes;
}

}  // namespace orvane::testing
