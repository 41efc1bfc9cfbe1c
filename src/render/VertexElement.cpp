#include "render/VertexElement.h"

#include <bitset>

namespace orvane {
namespace {

constexpr std::array<SemanticInfo, 32> kSemantics = {{
    {},
    {"POSITION", 0, kElementFloat3, 0},
    {"NORMAL", 0, kElementFloat3, 1},
    {"TANGENT", 0, kElementFloat3, 4},
    {"BLENDINDICES", 0, kElementFloat4, 6},
    {"BLENDWEIGHT", 0, kElementFloat4, 7},
    {"BINORMAL", 0, kElementFloat3, 5},
    {},
    {"COLOR", 0, kElementUnorm8x4, 3},
    {"COLOR", 1, kElementUnorm8x4, 15},
    {"COLOR", 2, kElementUnorm8x4, 16},
    {"COLOR", 3, kElementUnorm8x4, 17},
    {}, {}, {}, {},
    {"TEXCOORD", 0, kElementFloat2, 2},
    {"TEXCOORD", 1, kElementFloat2, 12},
    {"TEXCOORD", 2, kElementFloat2, 13},
    {"TEXCOORD", 3, kElementFloat2, 14},
    {"TEXCOORD", 4, kElementFloat2, 18},
    {"TEXCOORD", 5, kElementFloat2, 19},
    {"TEXCOORD", 6, kElementFloat2, 20},
    {"TEXCOORD", 7, kElementFloat2, 21},
    {"WORLD", 0, kElementFloat4, 8},
    {"WORLD", 1, kElementFloat4, 9},
    {"WORLD", 2, kElementFloat4, 10},
    {"WORLD", 3, kElementFloat4, 11},
    {"WORLD", 4, 0, 22},
    {"WORLD", 5, 0, 23},
    {"WORLD", 6, 0, 24},
    {"WORLD", 7, 0, 25},
}};

constexpr std::array<ElementFormatInfo, 12> kElementFormats = {{
    {},
    {41, 4, 1, AttributeType::kFloat32, false},
    {16, 8, 2, AttributeType::kFloat32, false},
    {6, 12, 3, AttributeType::kFloat32, false},
    {2, 16, 4, AttributeType::kFloat32, false},
    {34, 4, 2, AttributeType::kFloat16, false},
    {10, 8, 4, AttributeType::kFloat16, false},
    {28, 4, 4, AttributeType::kUnorm8, false},
    {30, 4, 4, AttributeType::kUint8, true},
    {37, 4, 2, AttributeType::kSnorm16, false},
    {13, 8, 4, AttributeType::kSnorm16, false},
    {42, 4, 1, AttributeType::kUint32, true},
}};
static_assert(kElementFormats.size() == kElementUint1 + 1);

constexpr std::array<const char*, 9> kLayoutErrorTexts = {
    "no error",
    "more than 32 elements",
    "unknown semantic code",
    "unknown element format",
    "semantic without a default format needs one",
    "reserved bits set",
    "vertex-buffer slot above 3",
    "semantic listed twice",
    "per-vertex and per-instance elements in one slot",
};
static_assert(kLayoutErrorTexts.size() == static_cast<size_t>(LayoutError::kMixedStepRates) + 1);

constexpr uint32_t kReservedBitsMask = ~(0x1Fu | (0x7u << 8) | (0xFu << 16) | kElementPerInstance);

}  // namespace

const SemanticInfo* FindSemantic(uint32_t code) {
  if (code >= kSemantics.size() || !kSemantics[code].name) return nullptr;
  return &kSemantics[code];
}

const ElementFormatInfo* FindElementFormat(uint32_t code) {
  if (code == 0 || code >= kElementFormats.size()) return nullptr;
  return &kElementFormats[code];
}

const char* LayoutErrorText(LayoutError error) {
  return kLayoutErrorTexts[static_cast<size_t>(error)];
}

LayoutError PlanVertexLayout(const VertexElement* words, LayoutPlan& plan) {
  plan = LayoutPlan{};
  std::bitset<32> semanticsSeen;
  std::array<bool, kVertexSlots> slotUsed{};
  for (uint32_t k = 0; words[k] != 0; ++k) {
    if (k >= kMaxVertexElements) return LayoutError::kTooManyElements;
    const VertexElement word = words[k];
    if (word & kReservedBitsMask) return LayoutError::kReservedBits;
    const uint32_t semantic = word & 0x1Fu;
    const SemanticInfo* info = FindSemantic(semantic);
    if (!info) return LayoutError::kUnknownSemantic;
    uint32_t format = (word >> 16) & 0xFu;
    if (format == 0) format = info->defaultFormat;
    if (format == 0) return LayoutError::kMissingFormat;
    const ElementFormatInfo* formatInfo = FindElementFormat(format);
    if (!formatInfo) return LayoutError::kUnknownFormat;
    const uint32_t slot = (word >> 8) & 0x7u;
    if (slot >= kVertexSlots) return LayoutError::kSlotOutOfRange;
    if (semanticsSeen.test(semantic)) return LayoutError::kDuplicateSemantic;
    semanticsSeen.set(semantic);
    const bool perInstance = (word & kElementPerInstance) != 0;
    if (slotUsed[slot] && plan.perInstanceSlot[slot] != perInstance)
      return LayoutError::kMixedStepRates;
    slotUsed[slot] = true;
    plan.perInstanceSlot[slot] = perInstance;

    LayoutElement element;
    element.semantic = semantic;
    element.location = info->location;
    element.slot = slot;
    element.format = format;
    element.offset = plan.strides[slot];
    element.perInstance = perInstance;
    plan.strides[slot] += formatInfo->bytes;
    plan.elements.push_back(element);
    plan.words.push_back(word | (format << 16));
  }
  plan.words.push_back(0);
  return LayoutError::kNone;
}

}  // namespace orvane
