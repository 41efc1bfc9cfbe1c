#include "scene/operators/CubeOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/MeshBuilder.h"
#include "scene/SceneInputs.h"

namespace orvane {
namespace {
const OperatorRegistration<CubeOp> kRegistration{"Cube", "A box mesh of the given size, centred on the origin."};
enum Input : size_t { kSizeX };

void BuildCube(MeshBuilder& builder) { builder.AddBox({}, {1.0f, 1.0f, 1.0f}); }
}  // namespace

CubeOp::CubeOp() : Operator(kCategoryMesh) {
  AddFloatInput("Size.X", 1.0f);
  AddFloatInput("Size.Y", 1.0f);
  AddFloatInput("Size.Z", 1.0f);
  AddOutput("OutScene", kPortScene, std::make_unique<CubeFunction>());
}

CubeOp::CubeFunction::CubeFunction() : mesh_(BuildCube, BuiltInMesh::When::kAtFirstDraw) {}

void CubeOp::CubeFunction::Evaluate(float time, const PortList& sources, Player& player) {
  EvaluateFloat3(sources, kSizeX, time, player);
  mesh_.Draw(player);
}

}  // namespace orvane
