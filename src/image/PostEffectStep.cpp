#include "image/PostEffectStep.h"

#include "graph/Port.h"
#include "image/PostEffects.h"

namespace orvane {

GpuResource* EvaluateImage(const PortList& sources, size_t index, float time, Player& player) {
  if (index < sources.size() && sources[index]) sources[index]->Evaluate(time, player);
  return player.image;
}

bool IsConnected(const PortList& sources, size_t index) {
  return index < sources.size() && sources[index] && !sources[index]->sources.empty();
}

GpuResource* EvaluateConnectedImage(const PortList& sources, size_t index, float time, Player& player) {
  if (!IsConnected(sources, index)) return nullptr;
  return EvaluateImage(sources, index, time, player);
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
