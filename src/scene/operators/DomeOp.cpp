#include "scene/operators/DomeOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/MeshBuilder.h"

namespace orvane {
namespace {
const OperatorRegistration<DomeOp> kRegistration{"Dome", "Half a sphere of radius 1: the part with z >= 0."};

void BuildDome(MeshBuilder& builder) { builder.AddDome({}, 1.0f); }
}  // namespace

DomeOp::DomeOp() : Operator(kCategoryMesh) { AddOutput("OutScene", kPortScene, std::make_unique<DomeFunction>()); }

DomeOp::DomeFunction::DomeFunction() : mesh_(BuildDome, BuiltInMesh::When::kAtCreation) {}

void DomeOp::DomeFunction::Evaluate(float, const PortList&, Player& player) { mesh_.Draw(player); }

}  // namespace orvane
