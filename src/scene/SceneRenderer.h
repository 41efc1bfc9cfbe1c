#pragma once
// Draws every mesh of every scene operator into the G-buffer with the scene state of the player,
// and copies images with full-screen passes.

#include <cstdint>

#include "render/Matrix.h"

namespace orvane {

class Adapter;
class DrawContext;
class Player;
class ShaderPass;
struct Geometry;
struct GpuResource;
struct RegionConstants;
struct RenderStateDesc;
struct Sampler;
struct TargetRect;

class SceneRenderer {
public:
  // Loads the "gbuffer" and "copy" passes (the whole texture and a region of it) and makes the
  // white texture.
  SceneRenderer(Adapter* adapter, DrawContext* drawContext);
  ~SceneRenderer();
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  // Material textures (white where the player has none) and, when the pass has constant buffer
  // 0, the transforms and material constants.
  void SetDrawConstants(ShaderPass& pass, const Player& player);
  // Draws the geometry with the player's pass into the player's targets.
  void DrawMesh(Geometry& geometry, Player& player);
  // The same, for elements 0 ... count-1 only.
  void DrawMeshRange(Geometry& geometry, Player& player, uint32_t count);
  // Draws `source` over `destination` within `rect` with the state of `desc`.
  void Copy(GpuResource* destination, GpuResource* source, const TargetRect& rect, GpuResource* depth,
            const RenderStateDesc& desc, bool clear);
  // The same for the part of `source` that `region` names (fractions of its size), stretched over
  // `rect` of `destination`.
  void CopyRegion(GpuResource* destination, GpuResource* source, const TargetRect& rect,
                  const RegionConstants& region, GpuResource* depth, const RenderStateDesc& desc);
  // Clears the whole of `destination` to transparent black.
  void Clear(GpuResource* destination);
  // A full-screen triangle with the caller's pass and its own state.
  void DrawFullScreen(GpuResource* destination, ShaderPass& pass, const TargetRect& rect);

  ShaderPass* copyPass = nullptr;
  ShaderPass* copyRegionPass = nullptr;
  ShaderPass* gbufferPass = nullptr;
  GpuResource* white = nullptr;  // 2x2 opaque white: stands in for missing material textures
  Adapter* adapter = nullptr;
  DrawContext* drawContext = nullptr;

private:
  Sampler* linearSampler_ = nullptr;  // material textures; owned by the adapter's cache
  Sampler* pointSampler_ = nullptr;   // copies
  Sampler* dataSampler_ = nullptr;    // material data textures: linear filtering, no sRGB decoding
  void Draw(Geometry& geometry, Player& player, const struct DrawRange* range);
};

// The view matrix of a camera frame (rows right, up, forward, eye).
Matrix ViewFromCamera(const Matrix& camera);

}  // namespace orvane
