#include "scene/operators/QuadOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/MeshBuilder.h"

namespace orvane {
namespace {
const OperatorRegistration<QuadOp> kRegistration{"Quad", "A flat 1 x 1 square mesh in the XZ plane, facing up."};

void BuildQuad(MeshBuilder& builder) { builder.AddQuad({}, 1.0f, 1.0f); }
}  // namespace

QuadOp::QuadOp() : Operator(kCategoryMesh) { AddOutput("OutScene", kPortScene, std::make_unique<QuadFunction>()); }

QuadOp::QuadFunction::QuadFunction() : mesh_(BuildQuad, BuiltInMesh::When::kAtCreation) {}

void QuadOp::QuadFunction::Evaluate(float, const PortList&, Player& player) { mesh_.Draw(player); }

}  // namespace orvane
