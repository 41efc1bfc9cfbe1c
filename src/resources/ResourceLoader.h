#pragma once
// The resource loader: names in, GPU objects and meshes out, each read once and kept for the
// rest of the run. Three caches: shader stage files (by name + entry), textures and meshes (by
// NameHash of the name). Objects handed out belong to the caches; callers never destroy them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/ShaderEntries.h"

namespace orvane {

class Adapter;
class ShaderPass;
struct GpuResource;
struct LwObject;
struct ShaderBlob;

// The shader directory, with its doubled slashes.
inline constexpr std::string_view kShaderDirectory = "data//shaders//";

// The blob of stage `stage` (kStageVertex ... kStagePixel) stored under `key`; a miss reads
// [shader directory] + key + the stage's extension (".vs", ".hs", ".ds", ".gs", ".ps"), from
// the demo's folder or else from the shader files built into the program. Only successful
// reads are kept.
const ShaderBlob* LoadShaderStage(std::int32_t stage, std::string_view key, bool noDirectory);

// Loads and adds the pass's stages in the order vertex, hull + domain (only both together),
// geometry, pixel, each from name + entry. False at the first stage that is missing or does not
// build; the stages added before it stay in the pass.
bool LoadShaderPass(std::string_view name, const ShaderEntries& entries, ShaderPass* pass,
                    bool noDirectory);

// For shaders named by a document: the file name is cut before the first "." of its last path
// component, a new pass is loaded from it without the shader directory, and on success it
// replaces (and destroys) the pass in `slot`; on failure the new pass is destroyed and `slot`
// keeps its pass.
bool LoadShaderPassFromFile(Adapter* adapter, std::string_view fileName,
                            const ShaderEntries& entries, ShaderPass*& slot);

// ".png"/".jpg" through the image decoder, ".dds" through the DDS reader (the extension is
// compared exactly, case included), created as an immutable 2D texture on the current adapter.
// None, and nothing cached, for other extensions, names without one, files that do not read,
// pixel formats without a format code and volume textures.
GpuResource* LoadTexture(std::string_view name);

// The LightWave object of that file; a file that fails to load is remembered as none and not
// read again.
const LwObject* LoadMesh(std::string_view name);

// At shutdown, before the adapter goes: shader blobs, then textures, then meshes.
void ReleaseLoaderCaches();

// Shader stage files read so far from the demo's folder rather than built in, each once, as the
// demo names them in one spelling ("data/shaders/copyPS.ps"): what live reload watches.
std::vector<std::string> ShaderFilesFromFolder();
// Drops the stage read from that file, so that the next load reads the file again.
void ForgetShaderFile(std::string_view path);

// Files the loader has read (or tried to read) since the start: lets tests see cache hits.
std::size_t LoaderFileReads();

}  // namespace orvane
