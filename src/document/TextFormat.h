#pragma once
// Text forms shared by the inspection commands: escaped names and texts, shortest floats.

#include <span>
#include <string>
#include <string_view>

namespace orvane {

// Escapes \\, \", \n, \r, \t and writes any other byte below 0x20 or from 0x7F up as \xHH.
std::string EscapeText(std::string_view text);

// Lower-case hexadecimal digits, two per byte.
std::string HexBytes(std::span<const uint8_t> bytes);

// The shortest text that reads back as the same float ("0.1", "1e+20", "nan", "-inf").
std::string FormatFloat(float value);

}  // namespace orvane
