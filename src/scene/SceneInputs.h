#pragma once
// Reading operator inputs the way scene operators need them. An output's function sees input i
// of its operator as entry i of its sources.

#include <cstddef>

#include "graph/Function.h"
#include "render/Matrix.h"

namespace orvane {

class Player;
struct GpuResource;

// Three consecutive float inputs ("Position.X", ".Y", ".Z"), evaluated in that order, as
// (x, y, z, 0).
Vector4 EvaluateFloat3(const PortList& sources, size_t first, float time, Player& player);

// Draws a scene input: its first source, if it has one, is evaluated; an unconnected one draws
// nothing.
void EvaluateScene(const PortList& sources, size_t index, float time, Player& player);

// The image of an image input's first source, used as a texture; none when it has no source.
// The player's image register is left as it was.
GpuResource* EvaluateTexture(const PortList& sources, size_t index, float time, Player& player);

}  // namespace orvane
