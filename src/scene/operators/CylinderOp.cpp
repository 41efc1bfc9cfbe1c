#include "scene/operators/CylinderOp.h"

#include "graph/OperatorRegistry.h"
#include "scene/MeshBuilder.h"

namespace orvane {
namespace {
const OperatorRegistration<CylinderOp> kRegistration{
    "Cylinder", "A cylinder mesh of radius 1 and height 1 along the Y axis."};

void BuildCylinder(MeshBuilder& builder) { builder.AddCylinder({}, 1.0f, 1.0f); }
}  // namespace

CylinderOp::CylinderOp() : Operator(kCategoryMesh) { AddOutput("OutScene", kPortScene, std::make_unique<CylinderFunction>()); }

CylinderOp::CylinderFunction::CylinderFunction() : mesh_(BuildCylinder, BuiltInMesh::When::kAtCreation) {}

void CylinderOp::CylinderFunction::Evaluate(float, const PortList&, Player& player) { mesh_.Draw(player); }

}  // namespace orvane
