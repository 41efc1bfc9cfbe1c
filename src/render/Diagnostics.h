#pragma once
// The two ways the render layer talks to the person running the program: warnings that let it
// go on, and fatal errors that end it.

namespace orvane {

// Formats into a 4096-byte buffer and writes the text to standard error, flushed.
void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// While one lives, DebugPrint writes nothing (live reload rebuilds what start-up announced, and
// reports each reload in one line of its own).
class QuietDebugPrint {
public:
  QuietDebugPrint();
  ~QuietDebugPrint();
  QuietDebugPrint(const QuietDebugPrint&) = delete;
  QuietDebugPrint& operator=(const QuietDebugPrint&) = delete;
};

// Formats into an 8192-byte buffer, writes it and a line break to standard error and ends the
// process with exit code 1. Fatal messages of the render layer use the form "Fatal error: %s\n".
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orvane
