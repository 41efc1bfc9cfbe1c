#include "scene/operators/LWOOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "render/Adapter.h"
#include "render/GpuResource.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneRenderer.h"
#include "scene/lwobject/LwGeometry.h"
#include "scene/lwobject/LwObject.h"

namespace orvane {
namespace {
const OperatorRegistration<LWOOp> kRegistration{"LWO", "Draws the first layer of a LightWave object file."};
enum Input : size_t { kFilepath };
}  // namespace

LWOOp::LWOOp() : Operator(kCategoryMesh) {
  AddTextInput("Filepath", "", kHintMeshPath);
  AddOutput("SceneOut", kPortScene, std::make_unique<LWOFunction>());
}

LWOOp::LWOFunction::~LWOFunction() { ReleaseGeometry(geometry); }

// Built once, from the first path given: a file that does not load (or has no triangles) draws
// nothing, and a later change of the path is not followed.
void LWOOp::LWOFunction::Build(const std::string& path) {
  dirty = false;
  const LwObject* object = LoadMesh(path);
  if (object == nullptr || object->layers.empty()) return;
  ReleaseGeometry(geometry);
  geometry = Geometry{};
  geometry.adapter = currentAdapter;
  if (!BuildLwGeometry(geometry, object->layers.front())) {
    ReleaseGeometry(geometry);
    geometry = Geometry{};
    return;
  }
  SetupGeometry(currentAdapter->defaultLayouts[0], geometry, kPrimitiveTriangles | kGeometryIndex16);
  FinishGeometry(geometry);
}

void LWOOp::LWOFunction::Evaluate(float time, const PortList& sources, Player& player) {
  sources[kFilepath]->Evaluate(time, player);
  // Without a device nothing can be made; the path is tried again once there is one.
  if (!player.renderer || currentAdapter == nullptr) return;
  if (dirty && !player.text.empty()) Build(player.text);
  if (geometry.vertices[0] != nullptr) player.renderer->DrawMesh(geometry, player);
}

}  // namespace orvane
