#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvane::test {

// Builds small LWO2 files in memory, chunk by chunk, big-endian as the format wants.
class LwoBytes {
 public:
  LwoBytes& U8(std::uint8_t value) {
    bytes.push_back(value);
    return *this;
  }
  LwoBytes& U16(std::uint16_t value) { return U8(static_cast<std::uint8_t>(value >> 8)).U8(static_cast<std::uint8_t>(value)); }
  LwoBytes& U32(std::uint32_t value) { return U16(static_cast<std::uint16_t>(value >> 16)).U16(static_cast<std::uint16_t>(value)); }
  LwoBytes& F32(float value) { return U32(std::bit_cast<std::uint32_t>(value)); }
  LwoBytes& Id(const char* id) {
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(id[i]));
    return *this;
  }
  LwoBytes& VX(std::uint32_t index) {
    return index < 0xFF00 ? U16(static_cast<std::uint16_t>(index)) : U32(0xFF000000u | index);
  }
  LwoBytes& S0(const std::string& text) {
    for (char c : text) U8(static_cast<std::uint8_t>(c));
    U8(0);
    if ((text.size() + 1) % 2) U8(0);
    return *this;
  }
  LwoBytes& Raw(const std::vector<std::uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  std::vector<std::uint8_t> bytes;
};

class LwoBuilder {
 public:
  // A chunk with its true size (and the pad byte when the size is odd).
  LwoBuilder& Chunk(const char* id, const LwoBytes& data) {
    body_.Id(id).U32(static_cast<std::uint32_t>(data.bytes.size())).Raw(data.bytes);
    if (data.bytes.size() % 2) body_.U8(0);
    return *this;
  }
  // A chunk header claiming `size` bytes followed by whatever data is given.
  LwoBuilder& ChunkWithSize(const char* id, std::uint32_t size, const LwoBytes& data) {
    body_.Id(id).U32(size).Raw(data.bytes);
    return *this;
  }
  LwoBuilder& Points(std::initializer_list<std::array<float, 3>> points) {
    LwoBytes data;
    for (const auto& p : points) data.F32(p[0]).F32(p[1]).F32(p[2]);
    return Chunk("PNTS", data);
  }
  LwoBuilder& Faces(std::initializer_list<std::vector<std::uint32_t>> polygons) {
    LwoBytes data;
    data.Id("FACE");
    for (const auto& polygon : polygons) {
      data.U16(static_cast<std::uint16_t>(polygon.size()));
      for (std::uint32_t index : polygon) data.VX(index);
    }
    return Chunk("POLS", data);
  }
  LwoBuilder& Tags(std::initializer_list<std::string> tags) {
    LwoBytes data;
    for (const auto& tag : tags) data.S0(tag);
    return Chunk("TAGS", data);
  }
  LwoBuilder& PolygonTags(const char* type, std::initializer_list<std::array<std::uint32_t, 2>> pairs) {
    LwoBytes data;
    data.Id(type);
    for (const auto& pair : pairs) data.VX(pair[0]).U16(static_cast<std::uint16_t>(pair[1]));
    return Chunk("PTAG", data);
  }
  LwoBuilder& Surface(const std::string& name, float smoothingAngle) {
    LwoBytes data;
    data.S0(name).S0("");
    data.Id("COLR").U16(14).F32(1).F32(1).F32(1).U16(0);
    if (smoothingAngle > 0) data.Id("SMAN").U16(4).F32(smoothingAngle);
    return Chunk("SURF", data);
  }
  LwoBuilder& Layer(std::uint16_t number, const std::string& name) {
    LwoBytes data;
    data.U16(number).U16(0).F32(0).F32(0).F32(0).S0(name);
    return Chunk("LAYR", data);
  }

  std::vector<std::uint8_t> Build(const char* formType = "LWO2") const {
    LwoBytes file;
    file.Id("FORM").U32(static_cast<std::uint32_t>(body_.bytes.size() + 4)).Id(formType).Raw(body_.bytes);
    return file.bytes;
  }

 private:
  LwoBytes body_;
};

// The unit cube as 8 points and 6 quads wound clockwise when seen from outside (LightWave's
// convention), so face normals point outwards.
inline LwoBuilder& CubeGeometry(LwoBuilder& builder) {
  builder.Points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                  {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}});
  return builder.Faces({{0, 3, 2, 1},    // z = 0, normal -z
                        {4, 5, 6, 7},    // z = 1, normal +z
                        {0, 4, 7, 3},    // x = 0, normal -x
                        {1, 2, 6, 5},    // x = 1, normal +x
                        {0, 1, 5, 4},    // y = 0, normal -y
                        {3, 7, 6, 2}});  // y = 1, normal +y
}

}  // namespace orvane::test
