#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A file built into the program, under its data path ("data/shaders/copyVS.vs").
struct EmbeddedFile {
  const char* path;
  const char* text;
  std::size_t size;
};

// The system's own shader files, one per stage and entry point, made by the build from
// shaders/ (see tools/ShaderPack.cpp).
std::span<const EmbeddedFile> EmbeddedShaderFiles();

// A data path in one spelling: backslashes become slashes, repeated slashes one, a leading
// "./" goes ("data//shaders//fxaamainVS.vs" -> "data/shaders/fxaamainVS.vs").
std::string NormalizeDataPath(std::string_view path);

// The built-in file of that path, if there is one.
std::optional<std::string_view> FindEmbeddedFile(std::span<const EmbeddedFile> files,
                                                 std::string_view path);

// Reads a data file: the file of that path in the demo's folder (the working directory) when
// it exists, else the built-in file of the same path. When there is neither, prints "Failed to
// open %s\n" on the standard output and gives none, as ReadWholeFile does.
std::optional<std::vector<std::uint8_t>> ReadDataFile(std::string_view path,
                                                      std::span<const EmbeddedFile> builtIn);

}  // namespace orvane
