#pragma once
// Sampler objects, cached by the adapter under the NameHash of the SamplerDesc's bytes.

#include <cstdint>

#include "render/SamplerDesc.h"

namespace orvane {

class Adapter;

struct Sampler {
  SamplerDesc desc;
  uint32_t object = 0;  // the GL sampler
  Adapter* adapter = nullptr;
};

// The cached sampler for the record; made on the first request. An invalid mode word is
// reported and made as point sampling with wrapping.
Sampler* GetSampler(Adapter* adapter, const SamplerDesc& desc);

}  // namespace orvane
