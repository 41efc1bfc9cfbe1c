#include "scene/operators/TextureOp.h"

#include "app/Player.h"
#include "graph/OperatorRegistry.h"
#include "render/Adapter.h"
#include "resources/ResourceLoader.h"

namespace orvane {
namespace {
const OperatorRegistration<TextureOp> kRegistration{"Texture", "Loads an image file as a texture."};
enum Input : size_t { kFilepath };
}  // namespace

TextureOp::TextureOp() : Operator(kCategoryImage) {
  AddTextInput("Filepath", "", kHintTexturePath);
  AddOutput("TexOut", kPortImage, std::make_unique<TextureFunction>());
}

// A path is tried once: one that fails to load is not read again until the path changes, and
// the image register then holds no image (or the last one that loaded).
void TextureOp::TextureFunction::Evaluate(float time, const PortList& sources, Player& player) {
  sources[kFilepath]->Evaluate(time, player);
  const std::string& path = player.text;
  // Without a device nothing can be made; the path is tried again once there is one.
  if (!path.empty() && path != lastPath && currentAdapter != nullptr) {
    if (GpuResource* loaded = LoadTexture(path)) texture = loaded;
    lastPath = path;
  }
  player.image = texture;
}

}  // namespace orvane
