#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orvane {

// Reads the big-endian values of an IFF chunk. Every read checks the bytes left; a read past
// the end returns zero, leaves the cursor at the end and marks it failed, so a parser can read
// a record and then ask whether all of it was there.
class LwByteCursor {
 public:
  explicit LwByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size() - at_; }
  bool AtEnd() const { return at_ >= bytes_.size(); }
  bool Failed() const { return failed_; }

  std::uint8_t PeekU8() const { return AtEnd() ? 0 : bytes_[at_]; }

  std::uint16_t U16() {
    if (!Need(2)) return 0;
    const auto value = static_cast<std::uint16_t>(bytes_[at_] << 8 | bytes_[at_ + 1]);
    at_ += 2;
    return value;
  }

  std::uint32_t U32() {
    if (!Need(4)) return 0;
    const std::uint32_t value = static_cast<std::uint32_t>(bytes_[at_]) << 24 |
                                static_cast<std::uint32_t>(bytes_[at_ + 1]) << 16 |
                                static_cast<std::uint32_t>(bytes_[at_ + 2]) << 8 |
                                static_cast<std::uint32_t>(bytes_[at_ + 3]);
    at_ += 4;
    return value;
  }

  float F32() { return std::bit_cast<float>(U32()); }

  // Variable-length index: 2 bytes, or 4 bytes (low 24 bits) when the first byte is 0xFF.
  std::uint32_t VX() {
    if (PeekU8() == 0xFF) return U32() & 0x00FFFFFFu;
    return U16();
  }

  // NUL-terminated string padded to an even length. A string that runs to the end without its
  // NUL takes the bytes that are there.
  std::string S0() {
    const std::size_t start = at_;
    while (at_ < bytes_.size() && bytes_[at_] != 0) ++at_;
    std::string text(reinterpret_cast<const char*>(bytes_.data() + start), at_ - start);
    const std::size_t withNul = at_ - start + 1;
    Skip(withNul + (withNul & 1) - (at_ - start));
    return text;
  }

  void Skip(std::size_t count) { at_ += count < Remaining() ? count : Remaining(); }

  // The next `count` bytes as a cursor of their own; fails when fewer remain.
  std::span<const std::uint8_t> Take(std::size_t count) {
    if (!Need(count)) return {};
    const auto part = bytes_.subspan(at_, count);
    at_ += count;
    return part;
  }

 private:
  bool Need(std::size_t count) {
    if (Remaining() >= count) return true;
    at_ = bytes_.size();
    failed_ = true;
    return false;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

}  // namespace orvane
