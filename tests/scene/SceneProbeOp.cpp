#include "scene/SceneProbeOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "graph/Port.h"

namespace orvane::testing {
namespace {

const OperatorRegistration<ProbeOp> kRegistration{"TestProbe"};
enum Input : size_t { kTag, kValue, kInScene };
enum class Kind { kScene, kFloat, kImage };

class ProbeFunction final : public Function {
public:
  ProbeFunction(ProbeOp& owner, Kind kind) : owner_(owner), kind_(kind) {}

  void Evaluate(float time, const PortList& sources, Player& player) override {
    sources[kTag]->Evaluate(time, player);
    ProbeRecord record{player.text,  player.world, player.camera, player.projection,
                       player.zNear, player.zFar,  player.fov,    MaterialState::Of(player),
                       player.image, time};
    ProbeOp::Log().push_back(record);
    sources[kInScene]->Evaluate(time, player);
    if (kind_ == Kind::kFloat) sources[kValue]->Evaluate(time, player);
    if (kind_ == Kind::kImage) player.image = owner_.texture;
  }

private:
  ProbeOp& owner_;
  Kind kind_;
};

}  // namespace

ProbeOp::ProbeOp() : Operator(kCategoryScene) {
  AddTextInput("Tag", "");
  AddFloatInput("Value", 0.0f);
  AddInertInput("InScene", kPortScene);
  AddOutput("OutScene", kPortScene, std::make_unique<ProbeFunction>(*this, Kind::kScene));
  AddOutput("OutFloat", kPortFloat, std::make_unique<ProbeFunction>(*this, Kind::kFloat));
  AddOutput("OutImage", kPortImage, std::make_unique<ProbeFunction>(*this, Kind::kImage));
}

std::vector<ProbeRecord>& ProbeOp::Log() {
  static std::vector<ProbeRecord> log;
  return log;
}

std::vector<std::string> ProbeOp::Tags() {
  std::vector<std::string> tags;
  for (const ProbeRecord& record : Log()) tags.push_back(record.tag);
  return tags;
}

}  // namespace orvane::testing
