#include "resources/ResourceLoader.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "render/Adapter.h"
#include "render/GpuResource.h"
#include "render/NameHash.h"
#include "render/ShaderPass.h"
#include "resources/DdsReader.h"
#include "resources/EmbeddedFiles.h"
#include "resources/ImageDecoder.h"
#include "scene/lwobject/LwReader.h"

namespace orvane {

namespace {

constexpr std::array<std::string_view, 5> kStageExtensions = {".vs", ".hs", ".ds", ".gs", ".ps"};
static_assert(kStageExtensions.size() == kStagePixel + 1);

struct DxgiToFormat {
  std::uint32_t dxgi;
  FormatCode format;
};

// Formats the image decoder may report that a texture can be made of. 8-bit colour files hold
// display-encoded colour: their textures are sRGB, so sampling decodes them to linear light exactly
// once. Single-channel files are data (masks, roughness) and stay as stored.
constexpr std::array kImageFormats = {
    DxgiToFormat{28, kFormatRGBA8Srgb},
    DxgiToFormat{56, kFormatR16},
    DxgiToFormat{61, kFormatR8},
    DxgiToFormat{87, kFormatBGRA8Srgb},
};
static_assert(kImageFormats.size() == 4);

// Formats of DDS files that a texture can be made of: 8-bit colour, compressed or not, is
// display-encoded as above, whether the file says sRGB or plain UNORM; float data is linear.
constexpr std::array kDdsFormats = {
    DxgiToFormat{2, kFormatRGBA32F},      DxgiToFormat{71, kFormatBC1Srgb}, DxgiToFormat{72, kFormatBC1Srgb},
    DxgiToFormat{74, kFormatBC2Srgb},     DxgiToFormat{75, kFormatBC2Srgb}, DxgiToFormat{77, kFormatBC3Srgb},
    DxgiToFormat{78, kFormatBC3Srgb},     DxgiToFormat{87, kFormatBGRA8Srgb},
};
static_assert(kDdsFormats.size() == 8);

struct LoaderCaches {
  std::map<std::string, ShaderBlob, std::less<>> blobs;
  std::map<std::string, std::string, std::less<>> folderShaderKeys;  // file -> blob key
  std::map<std::uint32_t, GpuResource*> textures;
  std::map<std::uint32_t, std::unique_ptr<LwObject>> meshes;
  std::size_t fileReads = 0;
};

LoaderCaches& Caches() {
  static LoaderCaches caches;
  return caches;
}

template <std::size_t N>
FormatCode FormatFor(const std::array<DxgiToFormat, N>& table, std::uint32_t dxgi) {
  for (const DxgiToFormat& entry : table) {
    if (entry.dxgi == dxgi) return entry.format;
  }
  return kFormatNone;
}

std::optional<std::pair<ImageResult, FormatCode>> ReadTextureFile(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view extension = name.substr(dot);
  if (extension == ".png" || extension == ".jpg") {
    ++Caches().fileReads;
    ImageResult image = DecodeImage(name);
    const FormatCode format = FormatFor(kImageFormats, image.image.dxgiFormat);
    return std::make_pair(std::move(image), format);
  }
  if (extension == ".dds") {
    ++Caches().fileReads;
    ImageResult image = ReadDds(name);
    const FormatCode format = FormatFor(kDdsFormats, image.image.dxgiFormat);
    return std::make_pair(std::move(image), format);
  }
  return std::nullopt;
}

}  // namespace

const ShaderBlob* LoadShaderStage(std::int32_t stage, std::string_view key, bool noDirectory) {
  LoaderCaches& caches = Caches();
  if (const auto hit = caches.blobs.find(key); hit != caches.blobs.end()) return &hit->second;
  if (stage < 0 || stage > kStagePixel) return nullptr;
  std::string path = noDirectory ? std::string() : std::string(kShaderDirectory);
  path += key;
  path += kStageExtensions[static_cast<std::size_t>(stage)];
  ++caches.fileReads;
  const auto bytes = ReadDataFile(path, EmbeddedShaderFiles());
  if (!bytes || bytes->empty()) return nullptr;
  std::error_code ignored;
  const std::string file = NormalizeDataPath(path);
  if (std::filesystem::is_regular_file(file, ignored)) caches.folderShaderKeys[file] = std::string(key);
  ShaderBlob blob;
  blob.size = bytes->size();
  blob.code.assign(bytes->begin(), bytes->end());
  blob.stage = stage;
  return &caches.blobs.emplace(std::string(key), std::move(blob)).first->second;
}

bool LoadShaderPass(std::string_view name, const ShaderEntries& entries, ShaderPass* pass,
                    bool noDirectory) {
  pass->name = std::string(name.substr(name.find_last_of("/\\") + 1)) + ":" + (entries.pixel ? entries.pixel : "");
  const auto load = [&](std::int32_t stage, const char* entry) {
    return LoadShaderStage(stage, std::string(name) + entry, noDirectory);
  };
  if (entries.vertex) {
    const ShaderBlob* vertex = load(kStageVertex, entries.vertex);
    if (!vertex || !AddShader(pass, *vertex)) return false;
  }
  if (entries.hull && entries.domain) {
    const ShaderBlob* hull = load(kStageHull, entries.hull);
    if (!hull) return false;
    const ShaderBlob* domain = load(kStageDomain, entries.domain);
    if (!domain) return false;
    if (!AddShader(pass, *hull) || !AddShader(pass, *domain)) return false;
  }
  if (entries.geometry) {
    const ShaderBlob* geometry = load(kStageGeometry, entries.geometry);
    if (!geometry || !AddShader(pass, *geometry)) return false;
  }
  if (entries.pixel) {
    const ShaderBlob* pixel = load(kStagePixel, entries.pixel);
    if (!pixel || !AddShader(pass, *pixel)) return false;
  }
  return true;
}

bool LoadShaderPassFromFile(Adapter* adapter, std::string_view fileName,
                            const ShaderEntries& entries, ShaderPass*& slot) {
  // Only the last path component's dots count, so "./x/glow.hlsl" keeps its folders.
  const std::size_t folder = fileName.find_last_of("/\\");
  const std::size_t start = folder == std::string_view::npos ? 0 : folder + 1;
  const std::size_t dot = fileName.find('.', start);
  const std::string_view name = fileName.substr(0, dot);
  ShaderPass* pass = CreateShaderPass(adapter);
  if (!LoadShaderPass(name, entries, pass, true)) {
    DestroyShaderPass(pass);
    return false;
  }
  if (slot) DestroyShaderPass(slot);
  slot = pass;
  return true;
}

GpuResource* LoadTexture(std::string_view name) {
  LoaderCaches& caches = Caches();
  const std::uint32_t key = NameHash(name);
  if (const auto hit = caches.textures.find(key); hit != caches.textures.end()) return hit->second;
  auto read = ReadTextureFile(name);
  if (!read || !read->first.Ok() || read->second == kFormatNone) return nullptr;
  const DecodedImage& image = read->first.image;
  // The texture is two-dimensional: a volume's levels would not line up with its data.
  if (image.dimension == ImageDimension::Texture3D && image.depth > 1) return nullptr;
  ResourceDesc desc;
  desc.flags = kResourceTexture | kUsageImmutable | kResourceShaderView;
  desc.format = read->second;
  desc.width = static_cast<std::uint32_t>(image.width);
  desc.height = static_cast<std::uint32_t>(image.height);
  desc.arraySize = static_cast<std::uint32_t>(image.arraySize);
  desc.mipLevels = static_cast<std::uint32_t>(image.mipLevels);
  GpuResource* texture = CreateResource(currentAdapter, desc, image.pixels.data());
  if (!texture) return nullptr;
  caches.textures.emplace(key, texture);
  return texture;
}

const LwObject* LoadMesh(std::string_view name) {
  LoaderCaches& caches = Caches();
  const std::uint32_t key = NameHash(name);
  if (const auto hit = caches.meshes.find(key); hit != caches.meshes.end()) return hit->second.get();
  ++caches.fileReads;
  return caches.meshes.emplace(key, LoadLwObjectFile(name)).first->second.get();
}

void ReleaseLoaderCaches() {
  LoaderCaches& caches = Caches();
  caches.blobs.clear();
  caches.folderShaderKeys.clear();
  for (auto& [key, texture] : caches.textures) DestroyResource(texture);
  caches.textures.clear();
  caches.meshes.clear();
}

std::vector<std::string> ShaderFilesFromFolder() {
  std::vector<std::string> files;
  for (const auto& [path, key] : Caches().folderShaderKeys) files.push_back(path);
  return files;
}

void ForgetShaderFile(std::string_view path) {
  LoaderCaches& caches = Caches();
  const auto file = caches.folderShaderKeys.find(NormalizeDataPath(path));
  if (file == caches.folderShaderKeys.end()) return;
  if (const auto blob = caches.blobs.find(file->second); blob != caches.blobs.end()) caches.blobs.erase(blob);
  caches.folderShaderKeys.erase(file);
}

std::size_t LoaderFileReads() { return Caches().fileReads; }

}  // namespace orvane
