#pragma once
// The one place where the system's own codes become OpenGL enums. Lookups of codes outside a
// table give kGlInvalid (0 cannot mark them: GL_ZERO and GL_POINTS are 0).

#include <epoxy/gl.h>

#include <cstdint>

#include "render/FormatCode.h"
#include "render/ResourceDesc.h"
#include "render/VertexElement.h"

namespace orvane::detail {

constexpr GLenum kGlInvalid = 0xFFFFFFFFu;

struct GlFormat {
  GLenum internalFormat = 0;
  GLenum transferFormat = 0;  // format of uploaded and read-back pixels
  GLenum transferType = 0;
  bool compressed = false;
};

const GlFormat& GlFormatOf(FormatCode code);
GLenum GlTextureTarget(ResourceKind kind);

GLenum GlBlendFactor(uint8_t factor);
GLenum GlBlendOperation(uint8_t operation);
GLenum GlComparison(int32_t comparison);
GLenum GlStencilOperation(uint8_t operation);

struct GlTopology {
  GLenum mode = kGlInvalid;
  GLint patchVertices = 0;  // > 0 for patch lists
};
// From Direct3D primitive-topology numbers (1 point list ... 33-64 patch lists).
GlTopology GlTopologyOf(uint32_t topology);

GLenum GlAddressMode(uint32_t address);
GLenum GlMinFilter(bool minLinear, bool mipLinear);
GLenum GlMagFilter(bool magLinear);

struct GlAttribute {
  GLenum type = kGlInvalid;
  GLboolean normalized = GL_FALSE;
};
GlAttribute GlAttributeOf(AttributeType type);

// Shader stages 0-5: vertex, hull, domain, geometry, pixel, compute.
GLenum GlShaderType(int stage);
GLbitfield GlStageBit(int stage);

// Columns and rows of a uniform's GL type (a scalar or vector has one column); 0 columns for
// types a uniform block cannot hold.
struct GlUniformShape {
  uint32_t columns = 0;
  uint32_t rows = 0;
};
GlUniformShape GlUniformShapeOf(GLenum type);

// Index formats by DXGI number (57 16-bit, 42 32-bit): GL type and bytes per index.
GLenum GlIndexType(uint32_t dxgi);
uint32_t IndexBytes(uint32_t dxgi);

}  // namespace orvane::detail
