#include "app/Player.h"

#include <cmath>

#include "document/DataAccessor.h"
#include "document/DocumentParser.h"
#include "document/DocumentPath.h"
#include "graph/FinalOutput.h"
#include "graph/GraphLoader.h"
#include "render/Camera.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"
#include "render/RenderStateDesc.h"
#include "render/Screen.h"
#include "scene/GBuffer.h"
#include "scene/LightLists.h"
#include "scene/MeshBuilder.h"
#include "scene/SceneRenderer.h"

namespace orvane {
namespace {

GpuResource* CreateSwapTarget(Adapter* adapter, const Screen& screen) {
  ResourceDesc desc;
  desc.flags = kResourceTexture | kResourceRenderTarget | kResourceShaderView;
  desc.format = kFormatRGBA16F;
  desc.options = kOptionFollowWindow;
  desc.width = static_cast<uint32_t>(screen.width);
  desc.height = static_cast<uint32_t>(screen.height);
  return CreateResource(adapter, desc, nullptr);
}

}  // namespace

Matrix FrameProjection(int32_t width, int32_t height) {
  const float aspect = (width > 0 && height > 0) ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  const float s = std::tan(1.1780972f);  // 1 / tan(22.5 degrees)
  Matrix projection;
  projection.m[0][0] = s / aspect;
  projection.m[1][1] = s;
  projection.m[2][2] = 1.0001f;
  projection.m[2][3] = 1.0f;
  projection.m[3][2] = -0.10001f;
  return projection;
}

Player::Player() { ResetMaterial(); }

Player::~Player() {
  // Operators go first: their functions may still refer to the player's resources.
  operators.clear();
  for (GpuResource*& target : images) {
    if (target) DestroyResource(target);
    target = nullptr;
  }
  ReleaseGeometry(quad);
}

void Player::Setup(Adapter* adapter_, Screen* screen_, DrawContext* drawContext_, const PlayerOptions& options) {
  operators.clear();
  operators.push_back(std::make_unique<FinalOutput>());
  adapter = adapter_;
  screen = screen_;
  drawContext = drawContext_;

  gbuffer = std::make_unique<GBuffer>(adapter, static_cast<uint32_t>(screen->width),
                                      static_cast<uint32_t>(screen->height));
  renderer = std::make_unique<SceneRenderer>(adapter, drawContext);
  camera = LookAtFrame({0, 0, -8, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
  projection = FrameProjection(screen->width, screen->height);
  rect = {0, 0, screen->width, screen->height};
  depth = screen->depthBuffer;
  dirLightList.reserve(kDirLightReserve);
  pointLightList.reserve(kPointLightReserve);
  BeginScene();

  for (GpuResource*& target : images) target = CreateSwapTarget(adapter, *screen);
  imageIndex = 0;

  MeshBuilder builder;
  builder.AddQuadFace({0, 0, 0}, {1, 0, 0}, {0, -1, 0});
  builder.Upload(adapter, quad);

  std::unique_ptr<DataNode> document;
  LoadDocument(document);
  std::string musicPath;
  DataAccessor(document.get()).ReadText("MusicPath", musicPath);
  if (!musicPath.empty()) music = MusicChannel::Load(PathFromDocument(musicPath), options.output, options.clock);

  LoadGraph(operators, DataAccessor(document.get()));
  RunLoadTimePass();
  if (music && options.playMusic) music->Play(options.from);
}

bool Player::Frame() {
  if (!music || !music->IsActive()) return false;
  RenderFrame(static_cast<float>(music->PositionSeconds()));
  return true;
}

void Player::RenderFrame(float time) {
  depth = screen->depthBuffer;
  // The frame's image starts black: what no operator writes this frame must not show what an
  // earlier frame or the load-time pass left in the swap target.
  GpuResource* const frameImage = TakeSwapTarget();
  renderer->Clear(frameImage);
  image = frameImage;
  rect = {0, 0, screen->width, screen->height};
  projection = FrameProjection(screen->width, screen->height);
  BeginScene();
  EvaluateFinalOutput(time);
  if (image == screen->backBuffer) return;
  // A graph that leaves no image shows a black frame, never the last picture again.
  if (image == nullptr) renderer->Clear(frameImage);
  renderer->Copy(screen->backBuffer, image ? image : frameImage, rect, nullptr, DefaultRenderStateDesc(), true);
}

void Player::ClearGraph() {
  operators.clear();
  operators.push_back(std::make_unique<FinalOutput>());
}

void Player::RebuildGraph(const DataNode* document) {
  ClearGraph();
  renderer = std::make_unique<SceneRenderer>(adapter, drawContext);
  LoadGraph(operators, DataAccessor(document));
  RunLoadTimePass();
}

void Player::Release() {
  renderer.reset();
  gbuffer.reset();
}

GpuResource* Player::TakeSwapTarget() {
  GpuResource* target = images[imageIndex];
  imageIndex = (imageIndex + 1) % 2;
  return target;
}

void Player::RunLoadTimePass() {
  // Nobody sees what this pass draws (every frame starts from black and draws all it shows), so
  // it draws no pixel: the functions still build their resources and set their state.
  const PixelDiscardScope noPixels(drawContext);
  for (const auto& op : operators) {
    if (op->outputs.empty()) continue;
    // Each operator starts from a swap target, as in a frame: the image an earlier one left (a
    // loaded texture, say) must never be where the next one draws.
    image = images[imageIndex];
    op->outputs.front().Evaluate(kLoadTimePassTime, *this);
  }
}

void Player::EvaluateFinalOutput(float time) {
  if (!operators.empty() && !operators.front()->outputs.empty()) {
    operators.front()->outputs.front().Evaluate(time, *this);
  }
}

}  // namespace orvane
