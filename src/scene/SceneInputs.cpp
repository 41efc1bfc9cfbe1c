#include "scene/SceneInputs.h"

#include "app/Player.h"
#include "graph/Port.h"

namespace orvane {

Vector4 EvaluateFloat3(const PortList& sources, size_t first, float time, Player& player) {
  Vector4 v;
  v.x = EvaluateFloat(sources, first, time, player);
  v.y = EvaluateFloat(sources, first + 1, time, player);
  v.z = EvaluateFloat(sources, first + 2, time, player);
  return v;
}

void EvaluateScene(const PortList& sources, size_t index, float time, Player& player) {
  if (index < sources.size()) sources[index]->Evaluate(time, player);
}

GpuResource* EvaluateTexture(const PortList& sources, size_t index, float time, Player& player) {
  if (index >= sources.size() || sources[index]->sources.empty()) return nullptr;
  GpuResource* const current = player.image;
  sources[index]->Evaluate(time, player);
  GpuResource* const texture = player.image;
  player.image = current;
  return texture;
}

}  // namespace orvane
