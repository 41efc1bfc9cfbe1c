#pragma once

#include "scene/lwobject/LwObject.h"

namespace orvane {

// The steps that follow parsing, for one layer, in this order.
void ResolveLwSurfaces(const LwObject& object, LwLayer& layer);
void BuildLwAdjacency(LwLayer& layer);
void ComputeLwFaceNormals(LwLayer& layer);
void SmoothLwNormals(const LwObject& object, LwLayer& layer);
void ApplyLwNormalOverrides(LwLayer& layer);

}  // namespace orvane
