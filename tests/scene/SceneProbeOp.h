#pragma once
// "TestProbe", an operator that exists only in the tests: each of its outputs records, when
// evaluated, its "Tag" and the scene state it saw into one shared log, so that tests can see what
// an operator's inputs and scene input were evaluated with, and in which order.
//   "OutScene" (scene) records only; "OutFloat" (float) records and leaves its "Value" in the
//   scalar register; "OutImage" (image) records and leaves the probe's texture in the image
//   register. "InScene" is drawn after recording, from every output.

#include <string>
#include <vector>

#include "graph/Operator.h"
#include "render/GpuResource.h"
#include "render/Matrix.h"
#include "scene/SceneStateScope.h"

namespace orvane::testing {

struct ProbeRecord {
  std::string tag;
  Matrix world;
  Matrix camera;
  Matrix projection;
  float zNear = 0.0f, zFar = 0.0f, fov = 0.0f;
  MaterialState material;
  GpuResource* image = nullptr;
  float time = 0.0f;  // the time the output was evaluated at
};

class ProbeOp final : public Operator {
public:
  ProbeOp();
  // Every record of every probe since the last Clear, in evaluation order.
  static std::vector<ProbeRecord>& Log();
  static std::vector<std::string> Tags();

  GpuResource ownTexture;  // a stand-in that never reaches a GPU
  GpuResource* texture = &ownTexture;
};

}  // namespace orvane::testing
