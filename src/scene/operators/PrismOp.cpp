#include "scene/operators/PrismOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/MeshBuilder.h"

namespace orvane {
namespace {
const OperatorRegistration<PrismOp> kRegistration{
    "Prism", "A three-sided prism mesh of radius 1 and height 1 along the Y axis."};

void BuildPrism(MeshBuilder& builder) { builder.AddPrism({}, 1.0f, 1.0f); }
}  // namespace

PrismOp::PrismOp() : Operator(kCategoryMesh) { AddOutput("OutScene", kPortScene, std::make_unique<PrismFunction>()); }

PrismOp::PrismFunction::PrismFunction() : mesh_(BuildPrism, BuiltInMesh::When::kAtCreation) {}

void PrismOp::PrismFunction::Evaluate(float, const PortList&, Player& player) { mesh_.Draw(player); }

}  // namespace orvane
