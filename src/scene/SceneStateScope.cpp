#include "scene/SceneStateScope.h"

#include <algorithm>

#include "app/Player.h"

namespace orvane {

MaterialState MaterialState::Of(const Player& player) {
  MaterialState state;
  std::copy_n(player.baseColor, 4, state.baseColor);
  std::copy_n(player.specularColor, 4, state.specularColor);
  std::copy_n(player.emissiveColor, 4, state.emissiveColor);
  state.roughness = player.roughness;
  state.metalness = player.metalness;
  state.roughnessTex = player.roughnessTex;
  state.albedoTex = player.albedoTex;
  state.metalnessTex = player.metalnessTex;
  state.emissiveTex = player.emissiveTex;
  return state;
}

void MaterialState::ApplyTo(Player& player) const {
  std::copy_n(baseColor, 4, player.baseColor);
  std::copy_n(specularColor, 4, player.specularColor);
  std::copy_n(emissiveColor, 4, player.emissiveColor);
  player.roughness = roughness;
  player.metalness = metalness;
  player.roughnessTex = roughnessTex;
  player.albedoTex = albedoTex;
  player.metalnessTex = metalnessTex;
  player.emissiveTex = emissiveTex;
}

WorldScope::WorldScope(Player& player) : player_(player), saved_(player.world) {}
WorldScope::~WorldScope() { player_.world = saved_; }

MaterialScope::MaterialScope(Player& player) : player_(player), saved_(MaterialState::Of(player)) {}
MaterialScope::~MaterialScope() { saved_.ApplyTo(player_); }

}  // namespace orvane
