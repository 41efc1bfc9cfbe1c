#pragma once
// The light volume: the sphere every point light is drawn with, scaled to the light's reach. One
// process-wide instance, made at start-up right after the post effects and destroyed at shutdown
// after them, before the loader caches go.

#include "render/Geometry.h"

namespace orvane {

class Adapter;

struct LightVolume {
  static constexpr float kSphereRadius = 1.0f;
  static constexpr int kSphereSegments = 6;

  Adapter* adapter = nullptr;
  Geometry lightSphere;  // centred on the origin, owned
};

// Builds the sphere on the adapter and stores the volume in the slot (replacing one there).
void CreateLightVolume(Adapter* adapter);
// Releases the sphere and empties the slot; nothing happens when the slot is empty.
void DestroyLightVolume();

// The process-wide slot; null before start-up and after shutdown (point lights are then not
// drawn).
extern LightVolume* currentLightVolume;

}  // namespace orvane
