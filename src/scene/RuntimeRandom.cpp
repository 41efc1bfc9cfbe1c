#include "scene/RuntimeRandom.h"

namespace orvane {
namespace {
uint32_t gState = 1;
}  // namespace

void RuntimeSrand(uint32_t seed) { gState = seed; }

int RuntimeRand() {
  gState = gState * 214013u + 2531011u;
  return static_cast<int>((gState >> 16) & 0x7FFFu);
}

}  // namespace orvane
