// Blend words, sampler modes, vertex layouts and geometry flags.
#include <gtest/gtest.h>

#include <cstring>

#include "render/Geometry.h"
#include "render/RenderStateDesc.h"
#include "render/SamplerDesc.h"
#include "render/VertexElement.h"

namespace orvane {
namespace {

TEST(BlendWordTest, DecodesFactorsAndOperation) {
  EXPECT_EQ(DecodeBlendWord(0x1185),
            (BlendEquation{kBlendSrcAlpha, kBlendInvSrcAlpha, kBlendOpAdd}));
  EXPECT_EQ(DecodeBlendWord(0x1042), (BlendEquation{kBlendOne, kBlendZero, kBlendOpAdd}));
  EXPECT_EQ(DecodeBlendWord(0x1082), (BlendEquation{kBlendOne, kBlendOne, kBlendOpAdd}));
  EXPECT_EQ(DecodeBlendWord(BlendWord(kBlendDestColor, kBlendZero, kBlendOpRevSubtract)),
            (BlendEquation{kBlendDestColor, kBlendZero, kBlendOpRevSubtract}));
}

struct BlendCase {
  const char* name;
  uint16_t color, alpha;
  uint8_t writeDisable;
  TargetBlend expected;
};

TEST(BlendWordTest, ResolvesEachCaseOfTheStateTable) {
  const BlendCase cases[] = {
      {"both words 0: off", 0, 0, 0, {false, {}, {}, 0xF}},
      {"alpha word 0: one, one, operation of the colour word",
       0x1185,
       0,
       0,
       {true,
        {kBlendSrcAlpha, kBlendInvSrcAlpha, kBlendOpAdd},
        {kBlendOne, kBlendOne, kBlendOpAdd},
        0xF}},
      {"colour word 0: one, zero, add",
       0,
       BlendWord(kBlendZero, kBlendSrcAlpha, kBlendOpMax),
       0,
       {true,
        {kBlendOne, kBlendZero, kBlendOpAdd},
        {kBlendZero, kBlendSrcAlpha, kBlendOpAdd},
        0xF}},
      {"alpha operation from the colour word",
       BlendWord(kBlendOne, kBlendOne, kBlendOpRevSubtract),
       BlendWord(kBlendOne, kBlendZero, kBlendOpAdd),
       0,
       {true,
        {kBlendOne, kBlendOne, kBlendOpRevSubtract},
        {kBlendOne, kBlendZero, kBlendOpRevSubtract},
        0xF}},
      {"write mask without blending", 0, 0, 0x5, {false, {}, {}, 0xA}},
  };
  for (const BlendCase& c : cases) {
    SCOPED_TRACE(c.name);
    RenderStateDesc desc;
    desc.colorBlend[0] = c.color;
    desc.alphaBlend[0] = c.alpha;
    desc.writeDisable[0] = c.writeDisable;
    const auto targets = ResolveBlend(desc);
    for (const TargetBlend& t : targets) EXPECT_EQ(t, c.expected);  // target 0 applies to all
  }
}

TEST(BlendWordTest, IndependentBlendingGivesEachTargetItsWords) {
  RenderStateDesc desc;
  desc.flags = kStateIndependentBlend;
  desc.colorBlend[1] = 0x1082;
  desc.writeDisable[2] = 0xF;
  const auto targets = ResolveBlend(desc);
  EXPECT_FALSE(targets[0].enabled);
  EXPECT_TRUE(targets[1].enabled);
  EXPECT_EQ(targets[2].writeMask, 0);
  EXPECT_EQ(targets[3].writeMask, 0xF);
}

TEST(RenderStateDescTest, DefaultRecordBytes) {
  const RenderStateDesc desc = DefaultRenderStateDesc();
  unsigned char expected[56] = {};
  expected[0] = 0x13;
  expected[4] = 4;
  expected[32] = 0xFF;
  expected[33] = 0xFF;
  expected[38] = 1;  // front comparison
  expected[42] = 1;  // back comparison
  EXPECT_EQ(std::memcmp(&desc, expected, sizeof expected), 0);
}

TEST(SamplerModeTest, FiltersAndAddressModes) {
  SamplerModes modes;
  ASSERT_TRUE(DecodeSamplerMode(0x1110003, modes));
  EXPECT_TRUE(modes.minLinear);
  EXPECT_TRUE(modes.magLinear);
  EXPECT_FALSE(modes.mipLinear);
  EXPECT_EQ(modes.address[0], kAddressClamp);
  EXPECT_EQ(modes.address[2], kAddressClamp);
  ASSERT_TRUE(DecodeSamplerMode(
      SamplerMode(kFilterMipLinear, kAddressWrap, kAddressMirror, kAddressBorder), modes));
  EXPECT_FALSE(modes.minLinear);
  EXPECT_TRUE(modes.mipLinear);
  EXPECT_EQ(modes.address[1], kAddressMirror);
  EXPECT_EQ(modes.address[2], kAddressBorder);
  EXPECT_FALSE(DecodeSamplerMode(9, modes));
  EXPECT_FALSE(DecodeSamplerMode(SamplerMode(0, 5, 0, 0), modes));
}

TEST(VertexLayoutPlanTest, MeshLayoutOffsetsAndStride) {
  const VertexElement list[] = {kSemanticPosition, kSemanticNormal, kSemanticTexcoord0, 0};
  LayoutPlan plan;
  ASSERT_EQ(PlanVertexLayout(list, plan), LayoutError::kNone);
  ASSERT_EQ(plan.elements.size(), 3u);
  EXPECT_EQ(plan.elements[0].offset, 0u);
  EXPECT_EQ(plan.elements[1].offset, 12u);
  EXPECT_EQ(plan.elements[2].offset, 24u);
  EXPECT_EQ(plan.strides[0], 32u);
  EXPECT_EQ(plan.elements[2].location, 2u);
  const std::vector<VertexElement> words = {0x30001, 0x30002, 0x20010, 0};
  EXPECT_EQ(plan.words, words);
}

TEST(VertexLayoutPlanTest, ColorDefaultsToRgba8AfterPosition) {
  const VertexElement list[] = {kSemanticPosition, kSemanticColor0, 0};
  LayoutPlan plan;
  ASSERT_EQ(PlanVertexLayout(list, plan), LayoutError::kNone);
  EXPECT_EQ(plan.elements[1].format, kElementUnorm8x4);
  EXPECT_EQ(FindElementFormat(kElementUnorm8x4)->dxgi, 28u);
  EXPECT_EQ(std::string(FindSemantic(kSemanticColor0)->name), "COLOR");
  EXPECT_EQ(plan.elements[1].offset, 12u);
  EXPECT_EQ(plan.strides[0], 16u);
}

TEST(VertexLayoutPlanTest, PerInstanceSlotKeepsItsOwnStride) {
  const VertexElement list[] = {kSemanticPosition, kSemanticNormal, kSemanticTexcoord0,
                                MakeElement(kSemanticWorld0, 1, 0, true),
                                MakeElement(kSemanticWorld0 + 1, 1, 0, true), 0};
  LayoutPlan plan;
  ASSERT_EQ(PlanVertexLayout(list, plan), LayoutError::kNone);
  EXPECT_EQ(plan.elements[3].offset, 0u);
  EXPECT_EQ(plan.elements[4].offset, 16u);
  EXPECT_TRUE(plan.elements[3].perInstance);
  EXPECT_TRUE(plan.perInstanceSlot[1]);
  EXPECT_FALSE(plan.perInstanceSlot[0]);
  EXPECT_EQ(plan.strides[0], 32u);
  EXPECT_EQ(plan.strides[1], 32u);
}

TEST(VertexLayoutPlanTest, InvalidWordsAreRefusedWithTheirCode) {
  struct Case {
    const char* name;
    VertexElement word;
    LayoutError error;
  };
  const Case cases[] = {
      {"WORLD4 without a format", kSemanticWorld0 + 4, LayoutError::kMissingFormat},
      {"semantic 7", 7, LayoutError::kUnknownSemantic},
      {"semantic 12", 12, LayoutError::kUnknownSemantic},
      {"format 12", MakeElement(kSemanticNormal, 0, 12), LayoutError::kUnknownFormat},
      {"slot 4", MakeElement(kSemanticNormal, 4), LayoutError::kSlotOutOfRange},
      {"reserved bit 24", kSemanticNormal | (1u << 24), LayoutError::kReservedBits},
      {"POSITION twice", kSemanticPosition, LayoutError::kDuplicateSemantic},
      {"per-instance in a per-vertex slot", MakeElement(kSemanticNormal, 0, 0, true),
       LayoutError::kMixedStepRates},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const VertexElement list[] = {kSemanticPosition, c.word, 0};
    LayoutPlan plan;
    EXPECT_EQ(PlanVertexLayout(list, plan), c.error);
    EXPECT_EQ(plan.elements.size(), 1u);  // the offending element's index
  }
  std::vector<VertexElement> tooMany;
  for (uint32_t i = 0; i < 33; ++i) tooMany.push_back(kSemanticPosition);
  tooMany.push_back(0);
  LayoutPlan plan;
  EXPECT_NE(PlanVertexLayout(tooMany.data(), plan), LayoutError::kNone);
}

TEST(GeometryFlagsTest, TopologyAndIndexFormat) {
  struct Case {
    uint32_t flags, topology, indexFormat;
  };
  const Case cases[] = {
      {0x10300, 4, 57}, {0x20300, 4, 42}, {0x100, 1, 0},  {0x200, 2, 0},  {0x400, 3, 0},
      {0x500, 5, 0},    {0x600, 10, 0},   {0x700, 12, 0}, {0x803, 35, 0}, {0x820, 64, 0},
      {0x800, 0, 0},    {0x900, 0, 0},    {0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.flags);
    EXPECT_EQ(TopologyOfFlags(c.flags), c.topology);
    EXPECT_EQ(IndexFormatOfFlags(c.flags), c.indexFormat);
  }
}

}  // namespace
}  // namespace orvane
