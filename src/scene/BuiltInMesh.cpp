#include "scene/BuiltInMesh.h"

#include "app/Player.h"
#include "render/Adapter.h"
#include "scene/MeshBuilder.h"
#include "scene/SceneRenderer.h"

namespace orvane {

BuiltInMesh::BuiltInMesh(BuildFunction build, When when) : build_(build) {
  if (when == When::kAtCreation) Make(currentAdapter);
}

BuiltInMesh::~BuiltInMesh() { ReleaseGeometry(geometry_); }

void BuiltInMesh::Make(Adapter* adapter) {
  if (made() || adapter == nullptr) return;
  MeshBuilder builder;
  build_(builder);
  builder.Upload(adapter, geometry_);
}

void BuiltInMesh::Draw(Player& player) {
  if (!player.renderer) return;
  Make(player.renderer->adapter);
  if (made()) player.renderer->DrawMesh(geometry_, player);
}

}  // namespace orvane
