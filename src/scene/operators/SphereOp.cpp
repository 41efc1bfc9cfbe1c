#include "scene/operators/SphereOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/MeshBuilder.h"

namespace orvane {
namespace {
const OperatorRegistration<SphereOp> kRegistration{"Sphere", "A sphere mesh of radius 1."};

void BuildSphere(MeshBuilder& builder) { builder.AddSphere({}, 1.0f, 32); }
}  // namespace

SphereOp::SphereOp() : Operator(kCategoryMesh) { AddOutput("OutScene", kPortScene, std::make_unique<SphereFunction>()); }

SphereOp::SphereFunction::SphereFunction() : mesh_(BuildSphere, BuiltInMesh::When::kAtCreation) {}

void SphereOp::SphereFunction::Evaluate(float, const PortList&, Player& player) { mesh_.Draw(player); }

}  // namespace orvane
