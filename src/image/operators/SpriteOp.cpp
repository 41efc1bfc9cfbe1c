#include "image/operators/SpriteOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "image/ChoiceIndex.h"
#include "image/FullScreenPass.h"
#include "image/PostEffectStep.h"
#include "image/SpritePlacement.h"
#include "render/Adapter.h"
#include "render/DrawCall.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/Sampler.h"
#include "render/ShaderPass.h"

namespace orvane {
namespace {
const OperatorRegistration<SpriteOp> kRegistration{
    "Sprite", "Draws a tinted texture over the image, sized for a 1080-pixel-high screen."};
enum Input : size_t {
  kImageIn, kTexture, kPositionX, kPositionY, kColorR, kColorG, kColorB, kColorA, kScaleX, kScaleY, kPivot
};
constexpr float kInvisibleAlpha = 0.000001f;
}  // namespace

RenderStateDesc SpriteOp::SpriteStateDesc() {
  RenderStateDesc desc;
  desc.depthComparison = kCompareLessEqual;
  desc.colorBlend[0] = BlendWord(kBlendSrcAlpha, kBlendInvSrcAlpha, kBlendOpAdd);
  desc.stencilReadMask = 0xFF;
  desc.stencilWriteMask = 0xFF;
  desc.front.comparison = kCompareNever;
  desc.back.comparison = kCompareNever;
  return desc;
}

SpriteOp::SpriteOp() : Operator(kCategoryImage) {
  AddInertInput("ImageIn", kPortImage);
  AddInertInput("Texture", kPortImage);
  AddFloatInput("Position.X", 0.0f);
  AddFloatInput("Position.Y", 0.0f);
  AddFloatInput("Color.R", 1.0f);
  AddFloatInput("Color.G", 1.0f);
  AddFloatInput("Color.B", 1.0f);
  AddFloatInput("Color.A", 1.0f);
  AddFloatInput("Scale.X", 1.0f);
  AddFloatInput("Scale.Y", 1.0f);
  AddFloatInput("Pivot", 0.0f, kHintChoice);
  AddOptions({"Center", "Left", "Right"});
  AddOutput("ImageOut", kPortImage, std::make_unique<SpriteFunction>());
}

void SpriteOp::SpriteFunction::Evaluate(float time, const PortList& sources, Player& player) {
  GpuResource* destination = EvaluateImage(sources, kImageIn, time, player);
  GpuResource* texture = EvaluateConnectedImage(sources, kTexture, time, player);
  player.image = destination;
  if (texture == nullptr) return;

  SpriteInputs in;
  in.positionX = EvaluateFloat(sources, kPositionX, time, player);
  in.positionY = EvaluateFloat(sources, kPositionY, time, player);
  in.scaleX = EvaluateFloat(sources, kScaleX, time, player);
  in.scaleY = EvaluateFloat(sources, kScaleY, time, player);
  float color[4];
  for (size_t c = 0; c < 4; ++c) color[c] = EvaluateFloat(sources, kColorR + c, time, player);
  if (!(color[3] > kInvisibleAlpha)) return;  // NaN alpha draws nothing as well

  ShaderPass* pass = pass_.Get();
  if (pass == nullptr || destination == nullptr) return;
  SetTexture(pass, 0, texture, GetSampler(currentAdapter, StandardSamplerDesc()));

  in.pivot = ChoiceIndex(EvaluateFloat(sources, kPivot, time, player));
  const TargetRect& v = player.rect;
  in.textureWidth = static_cast<float>(texture->Width());
  in.textureHeight = static_cast<float>(texture->Height());
  in.viewportWidth = static_cast<float>(v.right - v.left);
  in.viewportHeight = static_cast<float>(v.bottom - v.top);
  if (in.viewportWidth <= 0.0f || in.viewportHeight <= 0.0f) return;
  const Matrix screen = Transpose(SpriteMatrix(PlaceSprite(in), in.viewportWidth, in.viewportHeight));
  WriteConstants(*pass, {{"gScreen", &screen}, {"gColor", color}});

  TargetSet targets;
  targets.color[0] = destination;
  targets.rect = v;
  DrawContext& draw = *currentAdapter->drawContext;
  draw.SetTargets(targets);
  DrawCall call;
  call.pass = pass;
  call.geometry = &player.quad;
  draw.Draw(call);
  draw.UnbindResources(*pass);
  draw.UnbindTargets();
}

}  // namespace orvane
