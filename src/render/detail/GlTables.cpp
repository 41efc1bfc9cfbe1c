#include "render/detail/GlTables.h"

#include <array>

namespace orvane::detail {
namespace {

// In the order of FormatTable().
constexpr std::array<GlFormat, kFormatCount> kGlFormats = {{
    {0, 0, 0, false},
    {GL_R8, GL_RED, GL_UNSIGNED_BYTE, false},
    {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, false},
    {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, false},
    {GL_R16, GL_RED, GL_UNSIGNED_SHORT, false},
    {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, false},
    {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, true},
    {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, true},
    {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, true},
    {GL_RG16F, GL_RG, GL_HALF_FLOAT, false},
    {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT, false},
    {GL_RGBA32F, GL_RGBA, GL_FLOAT, false},
    {GL_DEPTH_COMPONENT32F, GL_DEPTH_COMPONENT, GL_FLOAT, false},
    {GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT1_EXT, 0, 0, true},
    {GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT3_EXT, 0, 0, true},
    {GL_COMPRESSED_SRGB_ALPHA_S3TC_DXT5_EXT, 0, 0, true},
    {GL_SRGB8_ALPHA8, GL_RGBA, GL_UNSIGNED_BYTE, false},
    {GL_SRGB8_ALPHA8, GL_BGRA, GL_UNSIGNED_BYTE, false},
}};

constexpr std::array<GLenum, 7> kTextureTargets = {
    kGlInvalid,          GL_TEXTURE_1D,       GL_TEXTURE_1D_ARRAY, GL_TEXTURE_2D,
    GL_TEXTURE_2D_ARRAY, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_3D};
static_assert(kTextureTargets.size() == static_cast<size_t>(ResourceKind::kTexture3D) + 1);

constexpr std::array<GLenum, 20> kBlendFactors = {
    kGlInvalid, GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA,
    GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR,
    GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE, kGlInvalid, kGlInvalid, GL_CONSTANT_COLOR,
    GL_ONE_MINUS_CONSTANT_COLOR, GL_SRC1_COLOR, GL_ONE_MINUS_SRC1_COLOR, GL_SRC1_ALPHA,
    GL_ONE_MINUS_SRC1_ALPHA};

constexpr std::array<GLenum, 6> kBlendOperations = {
    kGlInvalid, GL_FUNC_ADD, GL_FUNC_SUBTRACT, GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};

constexpr std::array<GLenum, 9> kComparisons = {kGlInvalid,  GL_NEVER,  GL_LESS,
                                                GL_EQUAL,    GL_LEQUAL, GL_GREATER,
                                                GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};

constexpr std::array<GLenum, 9> kStencilOperations = {kGlInvalid, GL_KEEP,      GL_ZERO,
                                                      GL_REPLACE, GL_INCR,      GL_DECR,
                                                      GL_INVERT,  GL_INCR_WRAP, GL_DECR_WRAP};

// Direct3D topologies 0-13; patch lists (33-64) are handled apart.
constexpr std::array<GLenum, 14> kTopologies = {
    kGlInvalid, GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_STRIP,
    kGlInvalid, kGlInvalid, kGlInvalid, kGlInvalid,
    GL_LINES_ADJACENCY, GL_LINE_STRIP_ADJACENCY, GL_TRIANGLES_ADJACENCY,
    GL_TRIANGLE_STRIP_ADJACENCY};

constexpr std::array<GLenum, 5> kAddressModes = {
    GL_REPEAT, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_BORDER, GL_MIRRORED_REPEAT, GL_MIRROR_CLAMP_TO_EDGE};

constexpr std::array<GlAttribute, 6> kAttributes = {{
    {GL_FLOAT, GL_FALSE},
    {GL_HALF_FLOAT, GL_FALSE},
    {GL_UNSIGNED_BYTE, GL_TRUE},
    {GL_UNSIGNED_BYTE, GL_FALSE},
    {GL_SHORT, GL_TRUE},
    {GL_UNSIGNED_INT, GL_FALSE},
}};
static_assert(kAttributes.size() == static_cast<size_t>(AttributeType::kUint32) + 1);

constexpr std::array<GLenum, 6> kShaderTypes = {
    GL_VERTEX_SHADER, GL_TESS_CONTROL_SHADER, GL_TESS_EVALUATION_SHADER, GL_GEOMETRY_SHADER,
    GL_FRAGMENT_SHADER, GL_COMPUTE_SHADER};
constexpr std::array<GLbitfield, 6> kStageBits = {
    GL_VERTEX_SHADER_BIT, GL_TESS_CONTROL_SHADER_BIT, GL_TESS_EVALUATION_SHADER_BIT,
    GL_GEOMETRY_SHADER_BIT, GL_FRAGMENT_SHADER_BIT, GL_COMPUTE_SHADER_BIT};

struct UniformTypeEntry {
  GLenum type;
  GlUniformShape shape;
};

constexpr std::array<UniformTypeEntry, 25> kUniformTypes = {{
    {GL_FLOAT, {1, 1}}, {GL_FLOAT_VEC2, {1, 2}}, {GL_FLOAT_VEC3, {1, 3}}, {GL_FLOAT_VEC4, {1, 4}},
    {GL_INT, {1, 1}}, {GL_INT_VEC2, {1, 2}}, {GL_INT_VEC3, {1, 3}}, {GL_INT_VEC4, {1, 4}},
    {GL_UNSIGNED_INT, {1, 1}}, {GL_UNSIGNED_INT_VEC2, {1, 2}}, {GL_UNSIGNED_INT_VEC3, {1, 3}},
    {GL_UNSIGNED_INT_VEC4, {1, 4}},
    {GL_BOOL, {1, 1}}, {GL_BOOL_VEC2, {1, 2}}, {GL_BOOL_VEC3, {1, 3}}, {GL_BOOL_VEC4, {1, 4}},
    {GL_FLOAT_MAT2, {2, 2}}, {GL_FLOAT_MAT3, {3, 3}}, {GL_FLOAT_MAT4, {4, 4}},
    {GL_FLOAT_MAT2x3, {2, 3}}, {GL_FLOAT_MAT2x4, {2, 4}}, {GL_FLOAT_MAT3x2, {3, 2}},
    {GL_FLOAT_MAT3x4, {3, 4}}, {GL_FLOAT_MAT4x2, {4, 2}}, {GL_FLOAT_MAT4x3, {4, 3}},
}};

template <typename T, size_t N>
T Lookup(const std::array<T, N>& table, int64_t index, T outside) {
  return index >= 0 && static_cast<size_t>(index) < N ? table[static_cast<size_t>(index)] : outside;
}

template <size_t N>
GLenum LookupEnum(const std::array<GLenum, N>& table, int64_t index) {
  return Lookup(table, index, kGlInvalid);
}

}  // namespace

const GlFormat& GlFormatOf(FormatCode code) {
  const int index = FormatIndex(code);
  return kGlFormats[index < 0 ? 0 : static_cast<size_t>(index)];
}

GLenum GlTextureTarget(ResourceKind kind) {
  return LookupEnum(kTextureTargets, static_cast<int>(kind));
}
GLenum GlBlendFactor(uint8_t factor) { return LookupEnum(kBlendFactors, factor); }
GLenum GlBlendOperation(uint8_t operation) { return LookupEnum(kBlendOperations, operation); }
GLenum GlComparison(int32_t comparison) { return LookupEnum(kComparisons, comparison); }
GLenum GlStencilOperation(uint8_t operation) { return LookupEnum(kStencilOperations, operation); }

GlTopology GlTopologyOf(uint32_t topology) {
  if (topology >= 33 && topology <= 64) return {GL_PATCHES, static_cast<GLint>(topology - 32)};
  return {LookupEnum(kTopologies, topology), 0};
}

GLenum GlAddressMode(uint32_t address) { return LookupEnum(kAddressModes, address); }

GLenum GlMinFilter(bool minLinear, bool mipLinear) {
  if (minLinear) return mipLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST;
  return mipLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
}

GLenum GlMagFilter(bool magLinear) { return magLinear ? GL_LINEAR : GL_NEAREST; }

GlAttribute GlAttributeOf(AttributeType type) {
  return Lookup(kAttributes, static_cast<int>(type), GlAttribute{});
}
GLenum GlShaderType(int stage) { return LookupEnum(kShaderTypes, stage); }
GLbitfield GlStageBit(int stage) { return Lookup(kStageBits, stage, GLbitfield{0}); }

GlUniformShape GlUniformShapeOf(GLenum type) {
  for (const UniformTypeEntry& entry : kUniformTypes)
    if (entry.type == type) return entry.shape;
  return {};
}

GLenum GlIndexType(uint32_t dxgi) {
  if (dxgi == 57) return GL_UNSIGNED_SHORT;
  if (dxgi == 42) return GL_UNSIGNED_INT;
  return kGlInvalid;
}

uint32_t IndexBytes(uint32_t dxgi) { return dxgi == 57 ? 2 : dxgi == 42 ? 4 : 0; }

}  // namespace orvane::detail
