#include "image/operators/ImageShaderOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/FullScreenPass.h"
#include "image/PostEffectStep.h"
#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"

namespace orvane {
namespace {
const OperatorRegistration<ImageShaderOp> kRegistration{
    "ImageShader", "Fills the image with a pixel shader from a file, given time, resolution and nine parameters."};
enum Input : size_t { kImageIn, kFilepath, kParam1X };
constexpr size_t kParamGroups = 3;
constexpr ShaderEntries kImageShaderEntries{.vertex = "VS", .pixel = "PS"};
}  // namespace

ImageShaderOp::ImageShaderOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddTextInput("Filepath", "", kHintShaderPath);
  for (const char* group : {"Param1", "Param2", "Param3"}) {
    for (const char* axis : {".X", ".Y", ".Z"}) AddFloatInput(std::string(group) + axis, 1.0f);
  }
  AddOutput("ImageOut", kPortImage, std::make_unique<ShaderFunction>());
}

ImageShaderOp::ShaderFunction::~ShaderFunction() {
  if (pass) DestroyShaderPass(pass);
}

void ImageShaderOp::ShaderFunction::Evaluate(float time, const PortList& sources, Player& player) {
  if (kFilepath < sources.size() && sources[kFilepath]) sources[kFilepath]->Evaluate(time, player);
  const std::string path = player.text;
  // One attempt per path: a file that fails to load is not read again every frame.
  if (dirty && !path.empty() && currentAdapter != nullptr) {
    LoadShaderPassFromFile(currentAdapter, path, kImageShaderEntries, pass);
    dirty = false;
  }
  float params[kParamGroups][3];
  for (size_t group = 0; group < kParamGroups; ++group) {
    for (size_t axis = 0; axis < 3; ++axis) {
      params[group][axis] = EvaluateFloat(sources, kParam1X + group * 3 + axis, time, player);
    }
  }
  if (pass == nullptr || !pass->HasStage(kStageVertex) || !pass->HasStage(kStagePixel)) return;

  const TargetRect& v = player.rect;
  const float resolution[2] = {static_cast<float>(v.right - v.left), static_cast<float>(v.bottom - v.top)};
  WriteConstants(*pass, {{"gTime", &time},
                         {"gResolution", resolution},
                         {"gParam1", params[0]},
                         {"gParam2", params[1]},
                         {"gParam3", params[2]}});
  DrawIntoImage(*currentAdapter, *pass, player.image, v);
  EvaluateImage(sources, kImageIn, time, player);
}

}  // namespace orvane
