#include "render/ShaderPass.h"

#include <epoxy/gl.h>

#include <string>

#include "render/Adapter.h"
#include "render/ConstantBuffer.h"
#include "render/Diagnostics.h"
#include "render/LiveObjects.h"
#include "render/DrawContext.h"
#include "render/detail/GlState.h"
#include "render/detail/GlTables.h"

namespace orvane {
namespace {

constexpr const char* kStageNames[kStageCount] = {"vertex",   "hull",  "domain",
                                                  "geometry", "pixel", "compute"};

std::string& LastMessage() {
  static std::string message;
  return message;
}

struct ReflectedBlock {
  std::string name;
  GLint binding = 0;
  GLint size = 0;
  std::vector<std::pair<std::string, ConstantBuffer::Variable>> variables;
};

std::string ResourceName(GLuint program, GLenum interface, GLuint index, GLint length) {
  std::string name(static_cast<size_t>(std::max(length, 1)), '\0');
  GLsizei written = 0;
  glGetProgramResourceName(program, interface, index, length, &written, name.data());
  name.resize(static_cast<size_t>(written));
  return name;
}

// Member names as the system sets them: "gTime" for "Block.gTime", "gArray" for "gArray[0]".
std::string ConstantName(std::string name, const std::string& blockName) {
  const std::string prefix = blockName + ".";
  if (name.compare(0, prefix.size(), prefix) == 0) name.erase(0, prefix.size());
  if (name.size() > 3 && name.compare(name.size() - 3, 3, "[0]") == 0) name.resize(name.size() - 3);
  return name;
}

// Bytes from the member's offset to its last byte, arrays and matrix columns included.
uint32_t MemberSize(GLenum type, GLint arraySize, GLint arrayStride, GLint matrixStride,
                    bool rowMajor) {
  const detail::GlUniformShape shape = detail::GlUniformShapeOf(type);
  uint32_t element = shape.rows * 4;
  if (shape.columns > 1) {
    const uint32_t vectors = rowMajor ? shape.rows : shape.columns;
    const uint32_t lanes = rowMajor ? shape.columns : shape.rows;
    element = (vectors - 1) * static_cast<uint32_t>(matrixStride) + lanes * 4;
  }
  if (arraySize > 1) element += static_cast<uint32_t>((arraySize - 1) * arrayStride);
  return element;
}

ConstantBuffer::Variable ReflectMember(GLuint program, GLuint index, std::string& name) {
  const GLenum props[] = {GL_NAME_LENGTH, GL_OFFSET, GL_TYPE, GL_ARRAY_SIZE, GL_ARRAY_STRIDE,
                          GL_MATRIX_STRIDE, GL_IS_ROW_MAJOR};
  GLint v[7] = {};
  glGetProgramResourceiv(program, GL_UNIFORM, index, 7, props, 7, nullptr, v);
  name = ResourceName(program, GL_UNIFORM, index, v[0]);
  ConstantBuffer::Variable variable;
  variable.offset = static_cast<uint32_t>(v[1]);
  variable.size = MemberSize(static_cast<GLenum>(v[2]), v[3], v[4], v[5], v[6] != 0);
  return variable;
}

std::vector<ReflectedBlock> ReflectBlocks(GLuint program) {
  GLint count = 0;
  glGetProgramInterfaceiv(program, GL_UNIFORM_BLOCK, GL_ACTIVE_RESOURCES, &count);
  std::vector<ReflectedBlock> blocks;
  for (GLuint i = 0; i < static_cast<GLuint>(count); ++i) {
    const GLenum props[] = {GL_NAME_LENGTH, GL_BUFFER_BINDING, GL_BUFFER_DATA_SIZE,
                            GL_NUM_ACTIVE_VARIABLES};
    GLint v[4] = {};
    glGetProgramResourceiv(program, GL_UNIFORM_BLOCK, i, 4, props, 4, nullptr, v);
    ReflectedBlock block;
    block.name = ResourceName(program, GL_UNIFORM_BLOCK, i, v[0]);
    block.binding = v[1];
    block.size = v[2];
    std::vector<GLint> members(static_cast<size_t>(v[3]));
    const GLenum activeVariables = GL_ACTIVE_VARIABLES;
    if (!members.empty())
      glGetProgramResourceiv(program, GL_UNIFORM_BLOCK, i, 1, &activeVariables, v[3], nullptr,
                             members.data());
    for (GLint member : members) {
      std::string name;
      const ConstantBuffer::Variable variable =
          ReflectMember(program, static_cast<GLuint>(member), name);
      block.variables.emplace_back(ConstantName(name, block.name), variable);
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

// Null, with the driver's log reported, when the stage does not compile or link.
GLuint BuildProgram(const ShaderBlob& blob) {
  const std::string source(blob.code.data(),
                           static_cast<size_t>(std::min<uint64_t>(blob.size, blob.code.size())));
  const char* text = source.c_str();
  const GLuint program = glCreateShaderProgramv(detail::GlShaderType(blob.stage), 1, &text);
  GLint linked = GL_FALSE;
  if (program) glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked == GL_TRUE) return program;
  GLint length = 0;
  if (program) glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::string log(static_cast<size_t>(std::max(length, 1)), '\0');
  if (program) glGetProgramInfoLog(program, length, nullptr, log.data());
  log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
  LastMessage() = log;
  DebugPrint("Shader (%s stage) failed to compile or link:\n%s\n", kStageNames[blob.stage],
             log.c_str());
  if (program) glDeleteProgram(program);
  return 0;
}

bool BlocksFit(const std::vector<ReflectedBlock>& blocks, int32_t stage) {
  if (blocks.size() > kMaxConstantBuffers) {
    DebugPrint("Shader (%s stage) refused: %zu uniform blocks, at most %u\n", kStageNames[stage],
               blocks.size(), kMaxConstantBuffers);
    return false;
  }
  for (const ReflectedBlock& block : blocks) {
    if (block.binding < 0 || block.binding >= static_cast<GLint>(kMaxConstantBuffers)) {
      DebugPrint("Shader (%s stage) refused: uniform block %s at binding %d, at most 7\n",
                 kStageNames[stage], block.name.c_str(), block.binding);
      return false;
    }
  }
  return true;
}

void AddBlocks(ShaderPass& pass, const std::vector<ReflectedBlock>& blocks, int32_t stage) {
  for (const ReflectedBlock& block : blocks) {
    ConstantBuffer*& buffer = pass.constantBuffers[block.binding];
    if (buffer) {
      // Shared with an earlier stage, whose variable table stands.
      buffer->stageMask |= 1u << stage;
      buffer->GrowTo(static_cast<uint32_t>(block.size));
      continue;
    }
    buffer = new ConstantBuffer(pass.adapter, static_cast<uint32_t>(block.binding), 1u << stage,
                                static_cast<uint32_t>(block.size));
    for (const auto& [name, variable] : block.variables) buffer->AddVariable(name, variable);
  }
}

// Hull and domain stages only together; the geometry stage when present.
void AttachStages(ShaderPass& pass) {
  const bool tessellation = pass.HasStage(kStageHull) && pass.HasStage(kStageDomain);
  for (int32_t stage = 0; stage < kStageCompute; ++stage) {
    const bool isTessellation = stage == kStageHull || stage == kStageDomain;
    const GLuint program = (isTessellation && !tessellation) ? 0 : pass.shaders[stage].program;
    glUseProgramStages(pass.pipeline, detail::GlStageBit(stage), program);
  }
}

}  // namespace

ShaderBlob ShaderBlob::FromText(std::string_view text, int32_t stage) {
  ShaderBlob blob;
  blob.code.assign(text.begin(), text.end());
  blob.size = blob.code.size();
  blob.stage = stage;
  return blob;
}

ShaderPass::ShaderPass(Adapter* owner) : adapter(owner) {
  glCreateProgramPipelines(1, &pipeline);
  detail::CountShaderPass(1);
}

ShaderPass::~ShaderPass() {
  detail::CountShaderPass(-1);
  for (ShaderObject& shader : shaders)
    if (shader.program) glDeleteProgram(shader.program);
  for (ConstantBuffer*& buffer : constantBuffers) {
    delete buffer;
    buffer = nullptr;
  }
  // Deleting the bound pipeline unbinds it; the shadow must not keep the name, which GL reuses.
  detail::DrawContextState& bound = adapter->drawContext->state();
  if (bound.pipeline == pipeline) bound.pipeline = 0;
  glDeleteProgramPipelines(1, &pipeline);
}

ShaderPass* CreateShaderPass(Adapter* adapter) { return new ShaderPass(adapter); }

bool AddShader(ShaderPass* pass, const ShaderBlob& blob) {
  if (!pass || blob.stage < 0 || blob.stage >= kStageCompute) {
    DebugPrint("AddShader: stage %d cannot be added to a pass\n", blob.stage);
    return false;
  }
  const GLuint program = BuildProgram(blob);
  if (!program) return false;
  const std::vector<ReflectedBlock> blocks = ReflectBlocks(program);
  if (!BlocksFit(blocks, blob.stage)) {
    glDeleteProgram(program);
    return false;
  }
  ShaderObject& shader = pass->shaders[blob.stage];
  if (shader.program) glDeleteProgram(shader.program);
  shader = {program, pass->adapter, blob.stage};
  AddBlocks(*pass, blocks, blob.stage);
  AttachStages(*pass);
  return true;
}

void SetTexture(ShaderPass* pass, uint32_t textureRegister, GpuResource* texture,
                Sampler* sampler) {
  if (!pass) return;
  if (textureRegister >= kMaxTextureRegisters) {
    DebugPrint("SetTexture: register %u refused, at most %u\n", textureRegister,
               kMaxTextureRegisters - 1);
    return;
  }
  auto& textures = pass->textures[kStagePixel];
  auto& samplers = pass->samplers[kStagePixel];
  if (textures.size() <= textureRegister) textures.resize(textureRegister + 1, nullptr);
  if (samplers.size() <= textureRegister) samplers.resize(textureRegister + 1, nullptr);
  textures[textureRegister] = texture;
  samplers[textureRegister] = sampler;
}

void SetState(ShaderPass* pass, RenderState* state) {
  if (pass) pass->state = state;
}

void DestroyShaderPass(ShaderPass* pass) { delete pass; }

const std::string& LastCompilerMessage() { return LastMessage(); }

}  // namespace orvane
