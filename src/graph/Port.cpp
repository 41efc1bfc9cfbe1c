#include "graph/Port.h"

#include <algorithm>

namespace orvane {

void Port::AppendSource(Port* source) {
  if (std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
}

void Port::Evaluate(float time, Player& player) const {
  if (function) function->Evaluate(time, sources, player);
}

}  // namespace orvane
