#pragma once
// Scene state saved by an operator before it draws its scene input, and put back when the scope
// ends, so that what it changes reaches only what it draws.

#include "render/Matrix.h"

namespace orvane {

class Player;
struct GpuResource;

// The material fields of the player: colours, factors and textures.
struct MaterialState {
  float baseColor[4] = {};
  float specularColor[4] = {};
  float emissiveColor[4] = {};
  float roughness = 0.0f;
  float metalness = 0.0f;
  GpuResource* roughnessTex = nullptr;
  GpuResource* albedoTex = nullptr;
  GpuResource* metalnessTex = nullptr;
  GpuResource* emissiveTex = nullptr;

  static MaterialState Of(const Player& player);
  void ApplyTo(Player& player) const;
};

// Keeps the world matrix; it is restored bit for bit.
class WorldScope {
public:
  explicit WorldScope(Player& player);
  ~WorldScope();
  WorldScope(const WorldScope&) = delete;
  WorldScope& operator=(const WorldScope&) = delete;

private:
  Player& player_;
  Matrix saved_;
};

// Keeps the material fields.
class MaterialScope {
public:
  explicit MaterialScope(Player& player);
  ~MaterialScope();
  MaterialScope(const MaterialScope&) = delete;
  MaterialScope& operator=(const MaterialScope&) = delete;

private:
  Player& player_;
  MaterialState saved_;
};

}  // namespace orvane
