#pragma once
// Fixture of render tests that load a scene graph from document text and draw it on llvmpipe:
// the G-buffer targets and the lit image are read back as floats.

#include <memory>
#include <string>
#include <vector>

#include "render/RenderFixture.h"
#include "render/RenderStateDesc.h"
#include "scene/GBuffer.h"
#include "scene/LightLists.h"
#include "scene/LightVolume.h"
#include "scene/SceneDocument.h"
#include "scene/ScenePlayer.h"
#include "scene/SceneRenderer.h"
#include "support/GraphFixture.h"

namespace orvane::test {

enum GBufferTarget : size_t { kAlbedo, kNormal, kMaterial, kEmissive };

class SceneGraphRenderTest : public RenderTest {
protected:
  static constexpr uint32_t kSize = 64;

  void SetUp() override {
    RenderTest::SetUp();
    depth_ = MakeDepth(kSize, kSize);
    destination_ = MakeTarget(kSize, kSize);
    CreateLightVolume(adapter());
  }
  void TearDown() override {
    graph.reset();
    DestroyLightVolume();
    ClearLightLists();
  }

  // Loads the graph and gives its player what the application gives it at start-up, with
  // float swap targets that can be read back.
  Player& Load(const testing::SceneDocument& doc) {
    graph = std::make_unique<testing::LoadedGraph>(doc.text());
    Player& player = graph->player;
    PrepareScenePlayer(player, adapter(), draw(), depth_.get(), kSize);
    for (GpuResource*& image : player.images) image = MakeTarget(kSize, kSize).release();
    return player;
  }

  // One frame: the destination cleared, the scene reset, then output 0 of operator `root`.
  void Frame(int root, float time = 0.0f) {
    Player& player = graph->player;
    draw().SetTargets(Targets(destination_.get()));
    draw().UnbindTargets();
    player.image = destination_.get();
    player.BeginScene();
    graph->output(static_cast<size_t>(root)).Evaluate(time, player);
  }

  std::vector<Rgba> ReadTarget(size_t index) {
    auto copy = MakeTarget(kSize, kSize);
    const RenderStateDesc plainCopy;
    Player& player = graph->player;
    player.renderer->Copy(copy.get(), player.gbuffer->targets[index], player.rect, nullptr, plainCopy, true);
    return ReadPixels(*copy);
  }
  std::vector<Rgba> ReadLit() { return ReadPixels(*destination_); }

  static Rgba At(const std::vector<Rgba>& pixels, uint32_t x, uint32_t y) { return pixels[y * kSize + x]; }
  static int Covered(const std::vector<Rgba>& albedo) {
    int count = 0;
    for (const Rgba& pixel : albedo) count += pixel.a > 0.5f ? 1 : 0;
    return count;
  }

  GpuResource* depthBuffer() const { return depth_.get(); }

  std::unique_ptr<testing::LoadedGraph> graph;

private:
  ResourcePtr depth_;
  ResourcePtr destination_;
};

// A document text value: quoted, for paths.
inline std::string Quoted(const std::string& name, const std::string& value) { return "\"" + name + "\": \"" + value + "\""; }

}  // namespace orvane::test
