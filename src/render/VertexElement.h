#pragma once
// Vertex data is described by a zero-terminated list of 32-bit element words:
//   bits 0-4   semantic code (0 ends the list)
//   bits 8-10  vertex-buffer slot, 0-3
//   bits 16-19 element format code (0: the semantic's default)
//   bit 20     per-instance data (step rate 1), else per-vertex
// Every semantic has a fixed attribute location, which the shaders declare with
// layout(location = n):
//   POSITION 0, NORMAL 1, TEXCOORD0 2, COLOR0 3, TANGENT 4, BINORMAL 5, BLENDINDICES 6,
//   BLENDWEIGHT 7, WORLD0-3 8-11, TEXCOORD1-3 12-14, COLOR1 15,
//   and where the GL offers more than 16 attributes: COLOR2-3 16-17, TEXCOORD4-7 18-21,
//   WORLD4-7 22-25.

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

using VertexElement = uint32_t;

enum : uint32_t {
  kSemanticPosition = 1,
  kSemanticNormal = 2,
  kSemanticTangent = 3,
  kSemanticBlendIndices = 4,
  kSemanticBlendWeight = 5,
  kSemanticBinormal = 6,
  kSemanticColor0 = 8,    // COLOR0-3: 8-11
  kSemanticTexcoord0 = 16,  // TEXCOORD0-7: 16-23
  kSemanticWorld0 = 24,     // WORLD0-7: 24-31
};

enum : uint32_t { kElementPerInstance = 1u << 20 };

constexpr VertexElement MakeElement(uint32_t semantic, uint32_t slot = 0, uint32_t format = 0,
                                    bool perInstance = false) {
  return semantic | (slot << 8) | (format << 16) | (perInstance ? kElementPerInstance : 0u);
}

// Element format codes 1-11.
enum : uint32_t { kElementFloat1 = 1, kElementFloat2, kElementFloat3, kElementFloat4, kElementHalf2,
                  kElementHalf4, kElementUnorm8x4, kElementUint8x4, kElementSnorm16x2,
                  kElementSnorm16x4, kElementUint1 };

enum class AttributeType : uint8_t { kFloat32, kFloat16, kUnorm8, kUint8, kSnorm16, kUint32 };

struct ElementFormatInfo {
  uint32_t dxgi = 0;
  uint32_t bytes = 0;
  uint32_t components = 0;
  AttributeType type = AttributeType::kFloat32;
  bool integer = false;  // read as integers by the shader (uvec)
};

struct SemanticInfo {
  const char* name = nullptr;  // null: not a semantic
  uint32_t index = 0;
  uint32_t defaultFormat = 0;  // 0: a format must be given
  uint32_t location = 0;
};

// Entries of the two tables; null for invalid codes.
const SemanticInfo* FindSemantic(uint32_t code);
const ElementFormatInfo* FindElementFormat(uint32_t code);

constexpr uint32_t kMaxVertexElements = 32;
constexpr uint32_t kVertexSlots = 4;

// Stable codes of what PlanVertexLayout refuses.
enum class LayoutError {
  kNone,
  kTooManyElements,
  kUnknownSemantic,
  kUnknownFormat,
  kMissingFormat,
  kReservedBits,
  kSlotOutOfRange,
  kDuplicateSemantic,
  kMixedStepRates,  // per-vertex and per-instance elements share a slot
};

const char* LayoutErrorText(LayoutError error);

struct LayoutElement {
  uint32_t semantic = 0;
  uint32_t location = 0;
  uint32_t slot = 0;
  uint32_t format = 0;
  uint32_t offset = 0;
  bool perInstance = false;
};

struct LayoutPlan {
  std::vector<VertexElement> words;  // defaults filled in, terminating 0 kept
  std::vector<LayoutElement> elements;
  std::array<uint32_t, kVertexSlots> strides{};
  std::array<bool, kVertexSlots> perInstanceSlot{};
};

// Validates a zero-terminated list and lays its elements out slot by slot in list order.
LayoutError PlanVertexLayout(const VertexElement* words, LayoutPlan& plan);

}  // namespace orvane
