#pragma once
// Number conversions of document texts: lenient, never failing, wrapping on overflow.

#include <cstdint>

namespace orvane {

// Reads an optionally signed decimal or "0x" hexadecimal integer after leading white space and
// advances `cursor` past what it consumed. No digits give 0. Overflow wraps at 32 bits.
int32_t ParseInt(const char*& cursor);

// Reads a float from a NUL-terminated text, including the "1.#INF" / "1.#QNAN" forms of printed
// infinities and NaNs; text that is no number gives 0 (or -0 after a "-").
float ParseFloat(const char* text);

}  // namespace orvane
