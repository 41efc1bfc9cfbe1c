#pragma once
// Float inputs read as whole numbers: counts, choices and seeds. Converting a float that is NaN or
// beyond the integer's range is undefined behaviour, and a count of a billion would stall the
// frame, so every conversion here is total and bounded.

#include <cstdint>

namespace orvane {

// Copies a repeat or replicate operator draws at most. Far above any real demo (a copy is at
// least one draw call), low enough that a mistyped count cannot hang the player.
inline constexpr int32_t kMaxSceneCopies = 100000;

// `value` truncated towards zero and held within [0, limit]; NaN gives 0.
int32_t TruncatedCount(float value, int32_t limit);

// `value` truncated towards zero, for choice inputs ("Mode", "Emitter"); NaN and values beyond
// the int32 range give -1, which matches no option.
int32_t ChoiceOf(float value);

// `value` truncated towards zero and held within the int32 range; NaN gives 0.
int32_t TruncatedInt(float value);

}  // namespace orvane
