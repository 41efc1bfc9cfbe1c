#pragma once
// What draws a particle system: the "pointsprites" pass (points grown into camera-facing sprites
// by its geometry stage), the particle vertex layout and a geometry over a vertex stream that is
// rewritten every frame without waiting for the GPU.

#include <cstdint>
#include <memory>

#include "render/Geometry.h"

namespace orvane {

class Adapter;
class ParticleSimulation;
class Player;
class ShaderPass;
class VertexLayout;
class VertexStream;
struct RenderState;

// One point: position, colour, size and a spare 0. 36 bytes.
struct ParticleVertex {
  float position[3];
  float color[4];
  float size[2];
};
static_assert(sizeof(ParticleVertex) == 36);

class ParticleRenderer {
public:
  // The sprites are drawn with `state`, the G-buffer pass's: depth tested and written, stencil 1.
  ParticleRenderer(Adapter* adapter, RenderState* state);
  ~ParticleRenderer();
  ParticleRenderer(const ParticleRenderer&) = delete;
  ParticleRenderer& operator=(const ParticleRenderer&) = delete;

  // Writes the live particles into the next copy of the stream.
  void Upload(const ParticleSimulation& simulation);
  // Draws the uploaded particles with the player's scene state, sprites scaled by
  // (spriteWidth, spriteHeight) ("gSize"). The player's pass is the sprite pass during the draw and put back after it.
  void Draw(Player& player, float spriteWidth, float spriteHeight);

  ShaderPass* pass = nullptr;  // owned

private:
  VertexLayout* layout_ = nullptr;  // owned
  std::unique_ptr<VertexStream> stream_;
  Geometry geometry_;
  uint32_t uploaded_ = 0;
};

}  // namespace orvane
