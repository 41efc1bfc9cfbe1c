#pragma once
// 32-bit hash of a byte string: CRC-32 (reflected polynomial 0xEDB88320, register starting at
// 0xFFFFFFFF) with a final XOR of 0xFFFFFFFE, i.e. the standard CRC-32 with its lowest bit
// inverted. Keys the state, sampler, texture and mesh caches.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvane {

uint32_t NameHash(const void* bytes, size_t size);

inline uint32_t NameHash(std::string_view text) { return NameHash(text.data(), text.size()); }

}  // namespace orvane
