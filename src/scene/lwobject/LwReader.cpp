#include "scene/lwobject/LwReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scene/lwobject/LwByteCursor.h"
#include "scene/lwobject/LwNormals.h"

namespace orvane {

namespace {

constexpr std::uint32_t Id(const char (&text)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

constexpr std::size_t kFormHeaderBytes = 12;

// Reading state while the chunks are walked in file order.
class LwParser {
 public:
  explicit LwParser(LwObject& object) : object_(object) {}

  void Chunk(std::uint32_t id, std::span<const std::uint8_t> data);
  void Finish();

 private:
  using Handler = void (LwParser::*)(LwByteCursor&);
  struct ChunkHandler {
    std::uint32_t id;
    Handler handler;
  };
  static const std::array<ChunkHandler, 8> kHandlers;

  LwLayer& Current() { return sawLayer_ ? object_.layers.back() : initial_; }

  void Layer(LwByteCursor& in);
  void Points(LwByteCursor& in);
  void Polygons(LwByteCursor& in);
  void PolygonTags(LwByteCursor& in);
  void Tags(LwByteCursor& in);
  void Surface(LwByteCursor& in);
  void DiscontinuousMap(LwByteCursor& in);
  void BoundingBox(LwByteCursor& in);

  LwObject& object_;
  LwLayer initial_;
  bool sawLayer_ = false;
  std::uint32_t pointBase_ = 0;
  std::uint32_t polygonBase_ = 0;
  std::uint32_t tagBase_ = 0;
};

// Chunks not listed (VMAP, VMPA, CLIP, ENVL, ...) are skipped.
const std::array<LwParser::ChunkHandler, 8> LwParser::kHandlers = {{
    {Id("LAYR"), &LwParser::Layer},
    {Id("PNTS"), &LwParser::Points},
    {Id("POLS"), &LwParser::Polygons},
    {Id("PTAG"), &LwParser::PolygonTags},
    {Id("TAGS"), &LwParser::Tags},
    {Id("SURF"), &LwParser::Surface},
    {Id("VMAD"), &LwParser::DiscontinuousMap},
    {Id("BBOX"), &LwParser::BoundingBox},
}};

void LwParser::Chunk(std::uint32_t id, std::span<const std::uint8_t> data) {
  for (const ChunkHandler& entry : kHandlers) {
    if (entry.id != id) continue;
    LwByteCursor in(data);
    (this->*entry.handler)(in);
    return;
  }
}

LwFloat3 ReadFloat3(LwByteCursor& in) {
  const float x = in.F32();
  const float y = in.F32();
  const float z = in.F32();
  return {x, y, z};
}

void LwParser::Layer(LwByteCursor& in) {
  LwLayer layer;
  layer.number = in.U16();
  layer.flags = in.U16();
  layer.pivot = ReadFloat3(in);
  layer.name = in.S0();
  object_.layers.push_back(std::move(layer));
  sawLayer_ = true;
  pointBase_ = 0;
}

void LwParser::Points(LwByteCursor& in) {
  LwLayer& layer = Current();
  pointBase_ = static_cast<std::uint32_t>(layer.points.size());
  const std::size_t count = in.Remaining() / 12;
  layer.points.reserve(layer.points.size() + count);
  for (std::size_t i = 0; i < count; ++i) layer.points.push_back(ReadFloat3(in));
}

void LwParser::Polygons(LwByteCursor& in) {
  LwLayer& layer = Current();
  polygonBase_ = static_cast<std::uint32_t>(layer.polygons.size());
  LwPolygon shape;
  shape.type = in.U32();
  std::vector<std::uint32_t> indices;
  while (!in.AtEnd()) {
    const std::uint16_t word = in.U16();
    indices.resize(word & 0x03FFu);
    for (std::uint32_t& index : indices) index = in.VX();
    if (in.Failed()) break;  // the last polygon is cut short: nothing sound follows

    LwPolygon polygon = shape;
    polygon.flags = static_cast<std::uint16_t>(word >> 10);
    polygon.firstVertex = static_cast<std::uint32_t>(layer.polygonVertices.size());
    const bool inRange = std::all_of(indices.begin(), indices.end(), [&](std::uint32_t index) {
      return std::uint64_t{index} + pointBase_ < layer.points.size();
    });
    // A polygon naming a point that does not exist keeps its place (tags and overrides count
    // polygons) but has no vertices.
    if (inRange) {
      polygon.vertexCount = static_cast<std::uint16_t>(indices.size());
      for (const std::uint32_t index : indices) {
        layer.polygonVertices.push_back({index + pointBase_, {}});
      }
    }
    layer.polygons.push_back(polygon);
  }
}

void LwParser::PolygonTags(LwByteCursor& in) {
  const std::uint32_t type = in.U32();
  std::uint32_t LwPolygon::*field = nullptr;
  if (type == Id("SURF")) field = &LwPolygon::surfaceTag;
  if (type == Id("SMGP")) field = &LwPolygon::smoothingGroup;
  if (type == Id("PART")) field = &LwPolygon::partTag;
  if (field == nullptr) return;
  LwLayer& layer = Current();
  while (!in.AtEnd()) {
    const std::uint64_t polygon = std::uint64_t{in.VX()} + polygonBase_;
    const std::uint16_t tag = in.U16();
    if (in.Failed()) break;
    if (polygon >= layer.polygons.size()) continue;
    layer.polygons[polygon].*field = tagBase_ + tag;
  }
}

void LwParser::Tags(LwByteCursor& in) {
  tagBase_ = static_cast<std::uint32_t>(object_.tags.size());
  while (!in.AtEnd()) object_.tags.push_back(in.S0());
}

void LwParser::Surface(LwByteCursor& in) {
  LwSurface surface;
  surface.name = in.S0();
  surface.sourceName = in.S0();
  while (in.Remaining() >= 6) {
    const std::uint32_t id = in.U32();
    const std::uint16_t size = in.U16();
    LwByteCursor sub(in.Take(size));
    if (in.Failed()) break;
    if (size & 1) in.Skip(1);  // sub-chunks are padded to even length
    if (id == Id("SMAN") && size >= 4) surface.smoothingAngle = sub.F32();
  }
  object_.surfaces.push_back(std::move(surface));
}

void LwParser::DiscontinuousMap(LwByteCursor& in) {
  if (in.U32() != Id("NORM")) return;
  if (in.U16() != 3) return;
  in.S0();  // map name
  LwLayer& layer = Current();
  while (!in.AtEnd()) {
    const std::uint32_t point = in.VX();
    const std::uint32_t polygon = in.VX();
    const LwFloat3 normal = ReadFloat3(in);
    if (in.Failed()) break;
    layer.normalOverrides.push_back({point + pointBase_, polygon + polygonBase_, normal});
  }
}

void LwParser::BoundingBox(LwByteCursor& in) {
  std::array<float, 6> box{};
  for (float& value : box) value = in.F32();
  if (!in.Failed()) Current().boundingBox = box;
}

void LwParser::Finish() {
  if (!sawLayer_) object_.layers.push_back(std::move(initial_));
  for (LwLayer& layer : object_.layers) {
    ResolveLwSurfaces(object_, layer);
    BuildLwAdjacency(layer);
    ComputeLwFaceNormals(layer);
    SmoothLwNormals(object_, layer);
    ApplyLwNormalOverrides(layer);
  }
}

bool IsLwo2(std::span<const std::uint8_t> file) {
  LwByteCursor header(file);
  const std::uint32_t form = header.U32();
  header.U32();  // FORM size: the chunks are read to the end of the file
  const std::uint32_t type = header.U32();
  return !header.Failed() && form == Id("FORM") && type == Id("LWO2");
}

}  // namespace

std::unique_ptr<LwObject> ParseLwObject(std::span<const std::uint8_t> file) {
  if (!IsLwo2(file)) return nullptr;
  auto object = std::make_unique<LwObject>();
  LwParser parser(*object);
  LwByteCursor chunks(file.subspan(kFormHeaderBytes));
  while (chunks.Remaining() >= 8) {
    const std::uint32_t id = chunks.U32();
    const std::uint32_t size = chunks.U32();
    // A chunk that claims more bytes than the file holds ends the walk.
    const std::span<const std::uint8_t> data = chunks.Take(size);
    if (chunks.Failed()) break;
    if (size & 1) chunks.Skip(1);  // IFF chunks are padded to even length
    parser.Chunk(id, data);
  }
  parser.Finish();
  return object;
}

std::unique_ptr<LwObject> LoadLwObject(std::span<const std::uint8_t> file) {
  auto object = ParseLwObject(file);
  if (!object) std::fputs("Wrong file type!\n", stderr);
  return object;
}

std::unique_ptr<LwObject> LoadLwObjectFile(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  std::ifstream stream(native, std::ios::binary);
  std::vector<std::uint8_t> bytes;
  if (stream) {
    bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  }
  if (!stream.is_open() || bytes.empty()) {
    std::fputs("File not found!\n", stderr);
    return nullptr;
  }
  return LoadLwObject(bytes);
}

}  // namespace orvane
