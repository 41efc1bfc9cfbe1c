#pragma once
// The demo player, and at the same time the evaluation context handed to every function: results
// travel through its registers, and scene state lives in its fields.

#include <cstdint>
#include <memory>
#include <string>

#include "audio/MusicChannel.h"
#include "graph/Operator.h"
#include "render/Geometry.h"
#include "render/Matrix.h"
#include "render/TargetSet.h"

namespace orvane {

class Adapter;
class DataNode;
class DrawContext;
class GBuffer;
class SceneRenderer;
class Screen;
class ShaderPass;
struct GpuResource;

// How the player treats its music.
struct PlayerOptions {
  MusicChannel::Output output = MusicChannel::Output::DefaultDevice;
  MusicChannel::Clock clock = MusicChannel::MonotonicSeconds;
  bool playMusic = true;  // offline rendering loads the music but drives time itself
  double from = 0.0;      // where the music starts playing, in seconds
};

// The perspective of every frame's start: 45 degrees vertical, near 0.1, far 1000, for a target
// of width x height pixels (an empty one counts as square).
Matrix FrameProjection(int32_t width, int32_t height);

class Player {
public:
  // Time of the pass that evaluates every operator once before playback, so that every function
  // builds its resources before the first frame.
  static constexpr float kLoadTimePassTime = -10.0f;

  Player();
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Loads "demo.opr" from the working directory and its music, builds the graph and the objects
  // every operator draws with, runs the load-time pass and starts the music.
  void Setup(Adapter* adapter, Screen* screen, DrawContext* drawContext, const PlayerOptions& options = {});
  // One frame at the music's position; false, drawing nothing, once the music has ended (or
  // there is none).
  bool Frame();
  // One frame at `time`: the graph's image ends up in the screen's back buffer.
  void RenderFrame(float time);
  // Builds the graph of `document` in place of the running one (operators first destroyed, the
  // scene renderer made anew, the load-time pass run): live reload. The music stays.
  void RebuildGraph(const DataNode* document);
  // Destroys the running graph, leaving the FinalOutput alone.
  void ClearGraph();
  // Releases the scene renderer and the G-buffer.
  void Release();

  // Evaluates the first output of every operator, in list order (the FinalOutput first).
  void RunLoadTimePass();
  // Evaluates the FinalOutput's output at `time`.
  void EvaluateFinalOutput(float time);

  // The per-frame reset of the scene state: G-buffer targets bound and cleared, identity world,
  // default material and projection planes, light lists emptied.
  void BeginScene();
  // The default material: grey base colour, faint specular, no emission, no textures.
  void ResetMaterial();

  // Scene state: what the scene operators draw with. Operators that change a field restore it
  // after drawing their inputs; only the camera operator changes the camera for good.
  ShaderPass* pass = nullptr;  // not owned
  GpuResource* image = nullptr;  // the image register: current image, not owned
  Matrix world = Identity();
  Matrix camera = Identity();  // camera-to-world: rows right, up, forward, eye
  Matrix projection = Identity();
  float zNear = 0.1f;
  float zFar = 1000.0f;
  float fov = 45.0f;
  TargetRect rect;
  // The material: see ResetMaterial for the defaults.
  float baseColor[4];
  float specularColor[4];
  float emissiveColor[4];
  float roughness;
  float metalness;
  GpuResource* roughnessTex = nullptr;
  GpuResource* albedoTex = nullptr;
  GpuResource* metalnessTex = nullptr;
  GpuResource* emissiveTex = nullptr;
  TargetSet targets;
  GpuResource* depth = nullptr;  // the screen's depth buffer
  std::unique_ptr<GBuffer> gbuffer;
  std::unique_ptr<SceneRenderer> renderer;
  Geometry quad;  // unit quad, owned

  Screen* screen = nullptr;  // not owned
  DrawContext* drawContext = nullptr;
  Adapter* adapter = nullptr;
  std::unique_ptr<MusicChannel> music;  // none: the demo ends on its first frame

  // Registers.
  float scalar = 0.0f;
  std::string text;

  // The two swap targets (owned) that image effects alternate between, and which is taken next.
  GpuResource* images[2] = {};
  int32_t imageIndex = 0;
  // images[imageIndex], and the index moves on to the other one.
  GpuResource* TakeSwapTarget();
  // The graph; [0] is always the FinalOutput once loaded.
  OperatorList operators;
};

}  // namespace orvane
