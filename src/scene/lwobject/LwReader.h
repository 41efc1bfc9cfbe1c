#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "scene/lwobject/LwObject.h"

namespace orvane {

// Parses an LWO2 file held in memory: every chunk the reader understands, then surface
// resolution, adjacency, face normals, smoothing and normal overrides. None when the file is
// not FORM/LWO2. Damaged content gives the sound part: a chunk whose size runs past the end
// stops the walk, a polygon with a point index out of range keeps its place with no vertices,
// tags and overrides that name missing polygons are dropped. Nothing is printed.
std::unique_ptr<LwObject> ParseLwObject(std::span<const std::uint8_t> file);

// As ParseLwObject, printing "Wrong file type!\n" when the file is not FORM/LWO2.
std::unique_ptr<LwObject> LoadLwObject(std::span<const std::uint8_t> file);

// Reads the file (backslashes in the path separate directories) and loads it; a file that
// cannot be read prints "File not found!\n".
std::unique_ptr<LwObject> LoadLwObjectFile(std::string_view path);

}  // namespace orvane
