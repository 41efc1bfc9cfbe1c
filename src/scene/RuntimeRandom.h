#pragma once
// The process's one classic rand()/srand() generator: a linear congruential generator
// (state * 214013 + 2531011 modulo 2^32) whose results are bits 16 to 30 of the state, 0..32767,
// starting from state 1. The ambient-occlusion noise and the particle system draw from it, so the
// values they get depend on the order of their draws, exactly as documents were authored against.
// Kept here rather than taken from the C library, whose generator differs between platforms.

#include <cstdint>

namespace orvane {

inline constexpr int kRuntimeRandMax = 32767;

// Sets the state; the next RuntimeRand() continues from it.
void RuntimeSrand(uint32_t seed);
// Advances the state and returns its bits 16 to 30.
int RuntimeRand();

}  // namespace orvane
