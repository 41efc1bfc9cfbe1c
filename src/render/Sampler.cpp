#include "render/Sampler.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <memory>

#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/NameHash.h"
#include "render/detail/GlTables.h"

namespace orvane {
namespace {

void Configure(GLuint sampler, const SamplerDesc& desc) {
  SamplerModes modes;
  if (!DecodeSamplerMode(desc.mode, modes)) {
    DebugPrint("Sampler: invalid mode 0x%08X, point sampling with wrapping used\n", desc.mode);
    modes = SamplerModes{};
  }
  glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER,
                      static_cast<GLint>(detail::GlMinFilter(modes.minLinear, modes.mipLinear)));
  glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                      static_cast<GLint>(detail::GlMagFilter(modes.magLinear)));
  const GLenum axes[3] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R};
  for (int axis = 0; axis < 3; ++axis)
    glSamplerParameteri(sampler, axes[axis],
                        static_cast<GLint>(detail::GlAddressMode(modes.address[axis])));
  glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, desc.minLod);
  glSamplerParameterf(sampler, GL_TEXTURE_MAX_LOD, desc.maxLod);
  glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, 0.0f);
  glSamplerParameteri(sampler, GL_TEXTURE_COMPARE_MODE, GL_NONE);
  glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, desc.borderColor);
  if (modes.rawColor && epoxy_has_gl_extension("GL_EXT_texture_sRGB_decode")) {
    glSamplerParameteri(sampler, GL_TEXTURE_SRGB_DECODE_EXT, GL_SKIP_DECODE_EXT);
  }
  if (modes.anisotropic && epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic")) {
    const float anisotropy = static_cast<float>(std::clamp(desc.maxAnisotropy, 1u, 16u));
    glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
  }
}

}  // namespace

Sampler* GetSampler(Adapter* adapter, const SamplerDesc& desc) {
  const uint32_t hash = NameHash(&desc, sizeof desc);
  auto found = adapter->samplerCache.find(hash);
  if (found != adapter->samplerCache.end()) return found->second.get();
  auto sampler = std::make_unique<Sampler>();
  sampler->desc = desc;
  sampler->adapter = adapter;
  glCreateSamplers(1, &sampler->object);
  Configure(sampler->object, desc);
  Sampler* result = sampler.get();
  adapter->samplerCache.emplace(hash, std::move(sampler));
  return result;
}

}  // namespace orvane
