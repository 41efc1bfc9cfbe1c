#include "scene/LightVolume.h"

#include "scene/MeshBuilder.h"

namespace orvane {

LightVolume* currentLightVolume = nullptr;

void CreateLightVolume(Adapter* adapter) {
  DestroyLightVolume();
  auto* volume = new LightVolume;
  volume->adapter = adapter;
  MeshBuilder builder;
  builder.AddSphere({}, LightVolume::kSphereRadius, LightVolume::kSphereSegments);
  builder.Upload(adapter, volume->lightSphere);
  currentLightVolume = volume;
}

void DestroyLightVolume() {
  if (currentLightVolume == nullptr) return;
  ReleaseGeometry(currentLightVolume->lightSphere);
  delete currentLightVolume;
  currentLightVolume = nullptr;
}

}  // namespace orvane
