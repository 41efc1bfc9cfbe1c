#include "render/VertexStream.h"

#include <epoxy/gl.h>

#include "render/Adapter.h"
#include "render/Diagnostics.h"
#include "render/DrawContext.h"
#include "render/GpuResource.h"

namespace orvane {
namespace {

constexpr GLbitfield kPersistentWrite = GL_MAP_WRITE_BIT | GL_MAP_PERSISTENT_BIT | GL_MAP_COHERENT_BIT;
constexpr GLuint64 kWaitStepNs = 1000000000;  // one second per try; a lost context ends the wait

void WaitAndDelete(void*& fence) {
  if (fence == nullptr) return;
  auto* sync = static_cast<GLsync>(fence);
  for (int tries = 0; tries < 10; ++tries) {
    const GLenum result = glClientWaitSync(sync, GL_SYNC_FLUSH_COMMANDS_BIT, kWaitStepNs);
    if (result == GL_ALREADY_SIGNALED || result == GL_CONDITION_SATISFIED || result == GL_WAIT_FAILED) break;
  }
  glDeleteSync(sync);
  fence = nullptr;
}

}  // namespace

VertexStream::VertexStream(Adapter* adapter, uint32_t vertexBytes, uint32_t capacity, uint32_t segments)
    : adapter_(adapter), vertexBytes_(vertexBytes), capacity_(capacity), fences_(segments == 0 ? 1 : segments) {
  const uint64_t bytes = uint64_t{vertexBytes} * capacity * fences_.size();
  if (adapter == nullptr || bytes == 0) return;
  ResourceDesc desc;
  desc.flags = kResourceVertexBuffer | kUsageDynamic;
  desc.options = kOptionExternal;
  desc.bitsPerElement = vertexBytes * 8;
  desc.width = capacity * static_cast<uint32_t>(fences_.size());
  resource_ = CreateResource(adapter, desc, nullptr);
  if (resource_ == nullptr) return;
  glCreateBuffers(1, &resource_->object);
  glNamedBufferStorage(resource_->object, static_cast<GLsizeiptr>(bytes), nullptr, kPersistentWrite);
  mapped_ = static_cast<uint8_t*>(glMapNamedBufferRange(resource_->object, 0, static_cast<GLsizeiptr>(bytes),
                                                        kPersistentWrite));
  if (mapped_ == nullptr) DebugPrint("VertexStream: the buffer cannot stay mapped\n");
  current_ = static_cast<uint32_t>(fences_.size()) - 1;
}

VertexStream::~VertexStream() {
  for (void*& fence : fences_) {
    if (fence) glDeleteSync(static_cast<GLsync>(fence));
    fence = nullptr;
  }
  if (resource_ == nullptr) return;
  if (resource_->object != 0) {
    if (mapped_) glUnmapNamedBuffer(resource_->object);
    adapter_->drawContext->ForgetBuffer(resource_->object);
    glDeleteBuffers(1, &resource_->object);
  }
  DestroyResource(resource_);
}

void* VertexStream::BeginWrite() {
  if (mapped_ == nullptr) return nullptr;
  current_ = (current_ + 1) % static_cast<uint32_t>(fences_.size());
  WaitAndDelete(fences_[current_]);
  return mapped_ + uint64_t{current_} * capacity_ * vertexBytes_;
}

void VertexStream::EndDraw() {
  if (mapped_ == nullptr) return;
  if (fences_[current_]) glDeleteSync(static_cast<GLsync>(fences_[current_]));
  fences_[current_] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

}  // namespace orvane
