#include "image/PostEffectStep.h"

#include "graph/Port.h"
#include "image/PostEffects.h"

namespace orvane {

GpuResource* EvaluateImage(const PortList& sources, size_t index, float time, Player& player) {
  if (index < sources.size() && sources[index]) sources[index]->Evaluate(time, player);
  return player.image;
}

PostEffects* PostEffectsFor(Player& player, GpuResource* source) {
  player.image = source;
  if (source == nullptr) return nullptr;
  return postEffects;
}

GpuResource* TakeDestination(Player& player, GpuResource* source) {
  GpuResource* destination = player.TakeSwapTarget();
  if (destination == source && destination != nullptr) destination = player.TakeSwapTarget();
  return destination;
}

}  // namespace orvane
