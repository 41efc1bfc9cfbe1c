#pragma once
// The geometry of an operator that draws one built-in mesh. It is made once and kept for the
// lifetime of its owner; made at creation where a device exists, otherwise at the first draw.

#include "render/Geometry.h"

namespace orvane {

class Adapter;
class MeshBuilder;
class Player;

class BuiltInMesh {
public:
  using BuildFunction = void (*)(MeshBuilder& builder);
  enum class When { kAtCreation, kAtFirstDraw };

  BuiltInMesh(BuildFunction build, When when);
  ~BuiltInMesh();
  BuiltInMesh(const BuiltInMesh&) = delete;
  BuiltInMesh& operator=(const BuiltInMesh&) = delete;

  // Makes the geometry on `adapter` unless it exists already (or there is no adapter).
  void Make(Adapter* adapter);
  // Makes the geometry if needed, then draws it with the player's scene state. Without a scene
  // renderer nothing is drawn.
  void Draw(Player& player);

  bool made() const { return geometry_.index != nullptr; }
  const Geometry& geometry() const { return geometry_; }

private:
  BuildFunction build_;
  Geometry geometry_;
};

}  // namespace orvane
