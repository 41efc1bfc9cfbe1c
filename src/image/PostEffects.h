#pragma once
// The process-wide post-effects object: the passes of the single-pass effects and the parameters
// they draw with. Every operator of a kind shares them, so each operator writes its inputs into
// the object just before it draws. The application creates it at start-up, after the screen and
// the default camera, and destroys it at shutdown, before the loader caches and the screen.

#include "image/BloomEffect.h"
#include "image/SsaoEffect.h"
#include "render/TargetSet.h"

namespace orvane {

class Adapter;
class Screen;
class ShaderPass;
struct Camera;
struct GpuResource;

struct ToneMappingEffect {
  float exposure = 1.0f;  // linear scale of the light before the curve
  ShaderPass* pass = nullptr;
};

// Two passes: the edge pass copies the image and marks its edge pixels in the depth of the edge
// mask; the full search then runs only where the mark lets the depth test pass.
struct FxaaEffect {
  ShaderPass* pass = nullptr;      // the full search
  ShaderPass* edgePass = nullptr;  // the copy with the edge mark
  ShaderPass* edgeExactPass = nullptr;  // the same, reading texels where the viewport covers its region 1:1
  GpuResource* edgeMask = nullptr; // depth, the size of the last destination; made when needed
};

struct GrainEffect {
  float strength = 16.0f;
  float fadeIn = 0.0f;  // sent as it is; nothing changes it
  float pixelScale = 1.0f;  // drawn pixels per output pixel: one grain covers that many
  ShaderPass* pass = nullptr;
};

class PostEffects {
public:
  PostEffects(Adapter* adapter, Screen* screen, const Camera* camera);
  ~PostEffects();
  PostEffects(const PostEffects&) = delete;
  PostEffects& operator=(const PostEffects&) = delete;

  // Each draws `source` through its pass into `destination` within the viewport, with the
  // parameters the object holds.
  void ToneMap(GpuResource* source, GpuResource* destination, const TargetRect& viewport);
  void Fxaa(GpuResource* source, GpuResource* destination, const TargetRect& viewport);
  void Grain(GpuResource* source, GpuResource* destination, const TargetRect& viewport, float time,
             float glitch);
  // Ambient occlusion from the G-buffer's normal target, seen through `projection`.
  void Ssao(GpuResource* source, GpuResource* normals, GpuResource* destination, const Matrix& projection,
            const TargetRect& viewport);
  void Bloom(GpuResource* source, GpuResource* destination, const TargetRect& viewport);
  // Frames drawn at `scale` times the output size and filtered down (supersampled capture): what
  // is sized in pixels (the bloom's reach, the grain) is drawn `scale` times larger, so that the
  // written frames look as they would unscaled.
  void SetPixelScale(float scale);

  Adapter* adapter = nullptr;
  Screen* screen = nullptr;
  const Camera* camera = nullptr;  // the default camera, for the effects that reconstruct positions
  FxaaEffect fxaa;
  ToneMappingEffect toneMapping;
  SsaoEffect ssao;
  BloomEffect bloom;
  GrainEffect grain;
};

// Creates the object (loading every pass; printing "LoadShader <name>" for each) and stores it in
// the slot, replacing and destroying one that is there. Passes whose shaders are missing stay
// without those stages and draw nothing; without an adapter no pass is made and no effect draws.
PostEffects* CreatePostEffects(Adapter* adapter, Screen* screen, const Camera* camera);
// Destroys the object in the slot, if any, and clears the slot.
void DestroyPostEffects();

// The process-wide slot.
extern PostEffects* postEffects;

}  // namespace orvane
