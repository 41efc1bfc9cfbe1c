#include "render/Diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace orvane {
namespace {
int quietScopes = 0;
}  // namespace

QuietDebugPrint::QuietDebugPrint() { ++quietScopes; }
QuietDebugPrint::~QuietDebugPrint() { --quietScopes; }

void DebugPrint(const char* format, ...) {
  if (quietScopes > 0) return;
  char text[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::fputs(text, stderr);
  std::fflush(stderr);
}

void FatalError(const char* format, ...) {
  char text[8192];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::fputs(text, stderr);
  std::fputs("\n", stderr);
  std::fflush(stderr);
  std::exit(1);
}

}  // namespace orvane
