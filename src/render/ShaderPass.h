#pragma once
// A shader pass: up to five stages (vertex, hull, domain, geometry, pixel) as separable GLSL
// programs joined in a program pipeline, the uniform blocks reflection finds in them, the
// textures and samplers its effect sets, and an optional render state.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class Adapter;
class ConstantBuffer;
struct GpuResource;
struct RenderState;
struct Sampler;

enum : int32_t {
  kStageVertex = 0,
  kStageHull = 1,
  kStageDomain = 2,
  kStageGeometry = 3,
  kStagePixel = 4,
  kStageCompute = 5,  // slot kept, never loaded or bound
  kStageCount = 6,
};

constexpr uint32_t kMaxConstantBuffers = 8;
constexpr uint32_t kMaxTextureRegisters = 16;

// One stage's source as loaded from its file.
struct ShaderBlob {
  uint64_t size = 0;
  std::vector<char> code;
  int32_t stage = 0;

  static ShaderBlob FromText(std::string_view text, int32_t stage);
};

struct ShaderObject {
  uint32_t program = 0;  // separable GL program
  Adapter* adapter = nullptr;
  int32_t stage = 0;
};

class ShaderPass {
public:
  explicit ShaderPass(Adapter* adapter);
  ~ShaderPass();
  ShaderPass(const ShaderPass&) = delete;
  ShaderPass& operator=(const ShaderPass&) = delete;

  bool HasStage(int32_t stage) const { return shaders[stage].program != 0; }

  std::vector<GpuResource*> textures[kStageCount];  // per stage, index = texture register
  std::vector<Sampler*> samplers[kStageCount];      // per stage, index = sampler register
  RenderState* state = nullptr;                     // none: the adapter's default state
  ShaderObject shaders[kStageCount];
  ConstantBuffer* constantBuffers[kMaxConstantBuffers] = {};
  Adapter* adapter = nullptr;
  uint32_t pipeline = 0;  // GL program pipeline
  std::string name;       // where the loader found it ("fxaa:mainPS"), for profiles; may be empty
};

ShaderPass* CreateShaderPass(Adapter* adapter);
// Compiles and links the stage, reflects its uniform blocks and adds it to the pass. A stage
// that does not compile or link, declares more than 8 blocks or a block binding above 7 is
// reported through DebugPrint and not added; the result is then false.
bool AddShader(ShaderPass* pass, const ShaderBlob& blob);
// Pixel stage: texture and sampler at the register, the lists growing as needed.
void SetTexture(ShaderPass* pass, uint32_t textureRegister, GpuResource* texture, Sampler* sampler);
void SetState(ShaderPass* pass, RenderState* state);
void DestroyShaderPass(ShaderPass* pass);

// The driver's log of the latest shader that failed to compile or link.
const std::string& LastCompilerMessage();

}  // namespace orvane
