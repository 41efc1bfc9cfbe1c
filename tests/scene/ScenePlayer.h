#pragma once
// Test helper: gives a player what the application gives it before its first frame (G-buffer,
// scene renderer, depth buffer, output rectangle, the start-up camera and projection), for a
// square output of `size` pixels.

#include <cstdint>
#include <memory>

#include "app/Player.h"
#include "render/Camera.h"
#include "scene/GBuffer.h"
#include "scene/SceneRenderer.h"

namespace orvane::test {

inline void PrepareScenePlayer(Player& player, Adapter* adapter, DrawContext& draw, GpuResource* depth,
                               uint32_t size) {
  player.gbuffer = std::make_unique<GBuffer>(adapter, size, size);
  player.renderer = std::make_unique<SceneRenderer>(adapter, &draw);
  player.depth = depth;
  player.rect = {0, 0, static_cast<int32_t>(size), static_cast<int32_t>(size)};
  player.camera = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
  player.projection = FrameProjection(static_cast<int32_t>(size), static_cast<int32_t>(size));
}

}  // namespace orvane::test
