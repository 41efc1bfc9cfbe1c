#pragma once
// The steps every single-output post effect shares: pull the input image, take the next swap
// target, draw into it and leave it as the current image.

#include <cstddef>

#include "app/Player.h"
#include "graph/Function.h"

namespace orvane {

class PostEffects;
struct GpuResource;

// Evaluates input `index` and returns the image it left in the player's register. An index past
// the list leaves the register as it is.
GpuResource* EvaluateImage(const PortList& sources, size_t index, float time, Player& player);
// True when input `index` has a connection.
bool IsConnected(const PortList& sources, size_t index);
// As EvaluateImage for a connected input; an unconnected one is not evaluated and gives none, so
// that a compositing pass never takes the image it draws into as one of its inputs.
GpuResource* EvaluateConnectedImage(const PortList& sources, size_t index, float time, Player& player);

// The object an effect draws with; null when it cannot draw: without a source image (the image
// stays null) or without the post-effects object (the source passes through unchanged).
PostEffects* PostEffectsFor(Player& player, GpuResource* source);
// The next swap target. The one that is the source itself (an input that is not the previous
// effect's output) is skipped for the other, so that a pass never samples what it draws into.
GpuResource* TakeDestination(Player& player, GpuResource* source);

// Draws one effect, draw(effects, source, destination), into the next swap target and leaves
// that target as the player's image.
template <class Draw>
void ApplyPostEffect(Player& player, GpuResource* source, Draw&& draw) {
  PostEffects* effects = PostEffectsFor(player, source);
  if (effects == nullptr) return;
  GpuResource* destination = TakeDestination(player, source);
  draw(*effects, source, destination);
  player.image = destination;
}

}  // namespace orvane
