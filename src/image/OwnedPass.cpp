#include "image/OwnedPass.h"

#include "image/FullScreenPass.h"
#include "render/Adapter.h"
#include "render/ShaderPass.h"

namespace orvane {

OwnedPass::~OwnedPass() {
  if (pass_) DestroyShaderPass(pass_);
}

ShaderPass* OwnedPass::Get() {
  if (!loaded_ && currentAdapter != nullptr) {
    pass_ = LoadFullScreenPass(currentAdapter, name_, entries_, state_);
    loaded_ = true;
  }
  if (pass_ == nullptr || !pass_->HasStage(kStageVertex) || !pass_->HasStage(kStagePixel)) return nullptr;
  return pass_;
}

}  // namespace orvane
