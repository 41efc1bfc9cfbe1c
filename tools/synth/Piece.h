#pragma once
// A piece of music: one mono sample at a time, in order from index 0.

#include <cstdint>
#include <memory>
#include <string_view>

namespace synth {

class Piece {
public:
  virtual ~Piece() = default;
  virtual double Sample(int64_t index) = 0;
};

// The first example's piece: A minor at 120 beats per minute, 40 seconds.
std::unique_ptr<Piece> MakeFirstLightPiece(double seconds);
// The showcase's piece: six sections of 16 seconds at 120 beats per minute, 96 seconds.
std::unique_ptr<Piece> MakeShowcasePiece(double seconds);

}  // namespace synth
