#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>

#include "scene/LwoBuilder.h"
#include "scene/lwobject/LwReader.h"

namespace orvane {
namespace {

using test::CubeGeometry;
using test::LwoBuilder;
using test::LwoBytes;

const std::string kSamples = std::string(ORVANE_SHARED_DIR) + "/external-samples/lwo/";

std::size_t TotalPoints(const LwObject& object) {
  return std::accumulate(object.layers.begin(), object.layers.end(), std::size_t{0},
                         [](std::size_t sum, const LwLayer& layer) { return sum + layer.points.size(); });
}

std::size_t TotalPolygons(const LwObject& object) {
  return std::accumulate(object.layers.begin(), object.layers.end(), std::size_t{0},
                         [](std::size_t sum, const LwLayer& layer) { return sum + layer.polygons.size(); });
}

std::size_t TotalCorners(const LwObject& object) {
  std::size_t corners = 0;
  for (const LwLayer& layer : object.layers) {
    for (const LwPolygon& polygon : layer.polygons) corners += polygon.vertexCount;
  }
  return corners;
}

// Counts from the sample facts: layers, PNTS total, POLS total, polygon corners (assimp's raw
// vertex count), surfaces.
struct LwSampleFacts {
  const char* file;
  std::size_t layers;
  std::size_t points;
  std::size_t polygons;
  std::size_t corners;
  std::size_t surfaces;
};

class LwSampleTest : public testing::TestWithParam<LwSampleFacts> {};

TEST_P(LwSampleTest, CountsMatchTheFacts) {
  const LwSampleFacts& facts = GetParam();
  const auto object = LoadLwObjectFile(kSamples + facts.file);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->layers.size(), facts.layers);
  EXPECT_EQ(TotalPoints(*object), facts.points);
  EXPECT_EQ(TotalPolygons(*object), facts.polygons);
  EXPECT_EQ(TotalCorners(*object), facts.corners);
  EXPECT_EQ(object->surfaces.size(), facts.surfaces);
  for (const LwLayer& layer : object->layers) {
    EXPECT_EQ(layer.pointPolygons.size(), layer.points.size());
    for (const LwPolygonVertex& corner : layer.polygonVertices) {
      ASSERT_LT(corner.point, layer.points.size());
      for (float n : corner.normal) EXPECT_TRUE(std::isfinite(n));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    ExternalSamples, LwSampleTest,
    testing::Values(LwSampleFacts{"simple_cube.lwo", 1, 8, 6, 24, 1},
                    LwSampleFacts{"box5-ngon.lwo", 1, 10, 7, 30, 3},
                    LwSampleFacts{"uvtest.lwo", 1, 64, 16, 64, 16},
                    LwSampleFacts{"concave_polygon.lwo", 1, 64, 1, 66, 1},
                    LwSampleFacts{"ModoExport_vertNormals.lwo", 1, 266, 288, 1104, 1},
                    LwSampleFacts{"hierarchy.lwo", 4, 290, 306, 1176, 3},
                    LwSampleFacts{"hierarchy_smoothed.lwo", 4, 290, 306, 1176, 3},
                    LwSampleFacts{"UglyVertexColors.lwo", 1, 1628, 1735, 6672, 3},
                    LwSampleFacts{"box4-uv-layers.lwo", 4, 1535, 1535, 6118, 7},
                    LwSampleFacts{"Subdivision.lwo", 1, 26, 24, 96, 1},
                    LwSampleFacts{"rifle.lwo", 1, 337, 572, 1716, 1}),
    [](const testing::TestParamInfo<LwSampleFacts>& sample) {
      std::string name = sample.param.file;
      name = name.substr(0, name.find('.'));
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

// Per-layer facts of the multi-layer samples: layer numbers in file order with their point and
// polygon counts.
TEST(LwSamples, LayersKeepFileOrderAndNumbers) {
  struct LayerFacts {
    std::uint16_t number;
    std::size_t points;
    std::size_t polygons;
  };
  const struct {
    const char* file;
    std::vector<LayerFacts> layers;
  } cases[] = {
      {"hierarchy.lwo", {{3, 8, 6}, {4, 266, 288}, {2, 8, 6}, {1, 8, 6}}},
      {"box4-uv-layers.lwo", {{1, 798, 864}, {0, 8, 6}, {9, 554, 576}, {2, 175, 89}}},
  };
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.file);
    const auto object = LoadLwObjectFile(kSamples + sample.file);
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->layers.size(), sample.layers.size());
    for (std::size_t i = 0; i < sample.layers.size(); ++i) {
      EXPECT_EQ(object->layers[i].number, sample.layers[i].number);
      EXPECT_EQ(object->layers[i].points.size(), sample.layers[i].points);
      EXPECT_EQ(object->layers[i].polygons.size(), sample.layers[i].polygons);
    }
  }
}

TEST(LwSamples, SurfacesResolveFromSurfTagsOnly) {
  // box5-ngon: TAGS DkBlu, Default, bottom-red, top-blue; COLR tags all name DkBlu (no surface).
  const auto object = LoadLwObjectFile(kSamples + "box5-ngon.lwo");
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(object->surfaces.size(), 3u);
  std::map<std::string, std::size_t> bySurface;
  for (const LwPolygon& polygon : object->layers[0].polygons) {
    const LwSurface* surface = object->SurfaceOf(polygon);
    ASSERT_NE(surface, nullptr);
    ++bySurface[surface->name];
  }
  EXPECT_EQ(bySurface, (std::map<std::string, std::size_t>{{"Default", 5}, {"bottom-red", 1}, {"top-blue", 1}}));
}

TEST(LwSamples, SmoothingAnglesSourceNamesAndNormalMaps) {
  const auto concave = LoadLwObjectFile(kSamples + "concave_polygon.lwo");
  ASSERT_NE(concave, nullptr);
  EXPECT_EQ(concave->surfaces[0].name, "test_Smoothing");
  EXPECT_EQ(concave->surfaces[0].sourceName, "test");
  EXPECT_NEAR(concave->surfaces[0].smoothingAngle, 1.5625f, 1e-5f);
  EXPECT_EQ(concave->layers[0].name, "concave_polygon");
  EXPECT_EQ(concave->layers[0].normalOverrides.size(), 66u);
  EXPECT_EQ(concave->layers[0].polygons[0].vertexCount, 66u);

  const auto modo = LoadLwObjectFile(kSamples + "ModoExport_vertNormals.lwo");
  ASSERT_NE(modo, nullptr);
  EXPECT_EQ(modo->layers[0].normalOverrides.size(), 838u);  // VMAD NORM; the VMAP NORM is skipped

  const auto rifle = LoadLwObjectFile(kSamples + "rifle.lwo");
  ASSERT_NE(rifle, nullptr);
  EXPECT_NEAR(rifle->surfaces[0].smoothingAngle, 0.785398f, 1e-5f);
  EXPECT_TRUE(rifle->layers[0].normalOverrides.empty());  // its VMAD is TXUV
  for (const LwPolygon& polygon : rifle->layers[0].polygons) EXPECT_EQ(polygon.vertexCount, 3u);

  const auto subdivision = LoadLwObjectFile(kSamples + "Subdivision.lwo");
  ASSERT_NE(subdivision, nullptr);
  EXPECT_EQ(subdivision->layers[0].polygons[0].type, 0x50544348u);  // "PTCH" read as polygons
}

TEST(LwSamples, OverridesReplaceSmoothedNormals) {
  // Every corner of ModoExport's mesh named by its VMAD NORM carries the file's normal.
  const auto object = LoadLwObjectFile(kSamples + "ModoExport_vertNormals.lwo");
  ASSERT_NE(object, nullptr);
  const LwLayer& layer = object->layers[0];
  for (const LwNormalOverride& entry : layer.normalOverrides) {
    ASSERT_LT(entry.polygon, layer.polygons.size());
    const LwPolygon& polygon = layer.polygons[entry.polygon];
    bool found = false;
    for (std::uint32_t v = 0; v < polygon.vertexCount; ++v) {
      const LwPolygonVertex& corner = layer.polygonVertices[polygon.firstVertex + v];
      if (corner.point == entry.point) {
        found = true;
        EXPECT_EQ(corner.normal, entry.normal);
      }
    }
    EXPECT_TRUE(found);
  }
}

// --- hand-built files -------------------------------------------------------------------------

void ExpectNormal(const LwFloat3& actual, const LwFloat3& expected) {
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

LwFloat3 Sum(const LwFloat3& a, const LwFloat3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }

std::unique_ptr<LwObject> Cube(float smoothingAngle, bool groupPerFace) {
  LwoBuilder builder;
  builder.Tags({"Cube"});
  CubeGeometry(builder);
  builder.PolygonTags("SURF", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
  if (groupPerFace) builder.PolygonTags("SMGP", {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
  builder.Surface("Cube", smoothingAngle);
  return ParseLwObject(builder.Build());
}

TEST(LwNormals, CubeFaceNormalsPointOutwards) {
  const auto object = Cube(0.0f, false);
  ASSERT_NE(object, nullptr);
  const LwFloat3 expected[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
  for (std::size_t p = 0; p < 6; ++p) ExpectNormal(object->layers[0].polygons[p].faceNormal, expected[p]);
}

TEST(LwNormals, SmoothingAngleDecidesWhichNeighboursAreAdded) {
  // Every cube corner joins three faces at right angles: an angle of 90 degrees (just above
  // pi/2) adds both neighbours, no angle or separate smoothing groups keep the faces flat.
  const struct {
    const char* name;
    float angle;
    bool groupPerFace;
    bool smooth;
  } cases[] = {
      {"no angle", 0.0f, false, false},
      {"89.5 degrees", 1.5621f, false, false},
      {"90 degrees", 1.5708f, false, true},
      {"90 degrees, a group per face", 1.5708f, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto object = Cube(c.angle, c.groupPerFace);
    ASSERT_NE(object, nullptr);
    const LwLayer& layer = object->layers[0];
    for (const LwPolygon& polygon : layer.polygons) {
      for (std::uint32_t v = 0; v < polygon.vertexCount; ++v) {
        const LwPolygonVertex& corner = layer.polygonVertices[polygon.firstVertex + v];
        LwFloat3 expected = polygon.faceNormal;
        if (c.smooth) {
          for (std::uint32_t q : layer.pointPolygons[corner.point]) {
            if (&layer.polygons[q] != &polygon) expected = Sum(expected, layer.polygons[q].faceNormal);
          }
        }
        ExpectNormal(corner.normal, expected);
      }
    }
  }
}

TEST(LwNormals, SmoothingComparesEachNeighbourWithTheFace) {
  // Three triangles share the edge from point 0 to point 2: a flat one, and two tilted the same
  // way by 40 and 60 degrees. With a 45-degree angle only the 40-degree neighbour joins the flat
  // face's normal, whatever was added before it.
  const float t40 = 40.0f * 3.14159265f / 180.0f;
  const float t60 = 60.0f * 3.14159265f / 180.0f;
  LwoBuilder builder;
  builder.Tags({"S"});
  builder.Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {std::cos(t40), 0, std::sin(t40)},
                  {std::cos(t60), 0, std::sin(t60)}});
  builder.Faces({{0, 2, 1}, {0, 2, 3}, {0, 2, 4}});
  builder.Surface("S", 45.0f * 3.14159265f / 180.0f);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const LwLayer& layer = object->layers[0];
  const LwPolygon& middle = layer.polygons[0];
  ExpectNormal(middle.faceNormal, {0, 0, -1});
  const LwFloat3 expected = Sum(middle.faceNormal, layer.polygons[1].faceNormal);
  ExpectNormal(layer.polygonVertices[middle.firstVertex].normal, expected);
}

TEST(LwNormals, SecondSurfaceGivesItsSmoothingAngle) {
  LwoBuilder builder;
  builder.Tags({"Flat", "Round"});
  CubeGeometry(builder);
  builder.PolygonTags("SURF", {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}});
  builder.Surface("Flat", 0.0f).Surface("Round", 1.5708f);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const LwLayer& layer = object->layers[0];
  ASSERT_EQ(layer.polygons[0].surface, 1);
  EXPECT_FLOAT_EQ(object->SurfaceOf(layer.polygons[0])->smoothingAngle, 1.5708f);
  // Corner 0 of the -z face touches the -x and -y faces too.
  ExpectNormal(layer.polygonVertices[0].normal, {-1, -1, -1});
}

TEST(LwNormals, DegeneratePolygonsHaveZeroNormals) {
  LwoBuilder builder;
  builder.Tags({"S"});
  builder.Points({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}});
  builder.Faces({{0, 1, 2}, {0, 3, 1}, {0, 1}});  // collinear, sound, a line
  builder.Surface("S", 3.0f);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const LwLayer& layer = object->layers[0];
  ExpectNormal(layer.polygons[0].faceNormal, {0, 0, 0});
  ExpectNormal(layer.polygons[2].faceNormal, {0, 0, 0});
  ExpectNormal(layer.polygonVertices[layer.polygons[1].firstVertex].normal, {0, 0, -1});
}

TEST(LwChunks, BasesOffsetIndicesOfLaterChunks) {
  // Two PNTS/POLS/PTAG rounds in one layer and two TAGS chunks: indices are relative to the
  // points, polygons and tags of their own round.
  LwoBuilder builder;
  builder.Tags({"A"}).Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).Faces({{0, 2, 1}});
  builder.PolygonTags("SURF", {{0, 0}});
  builder.Tags({"B"}).Points({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}).Faces({{0, 2, 1}});
  builder.PolygonTags("SURF", {{0, 0}}).PolygonTags("PART", {{0, 0}}).PolygonTags("SMGP", {{0, 0}});
  builder.Surface("A", 0).Surface("B", 0);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const LwLayer& layer = object->layers[0];
  ASSERT_EQ(layer.polygons.size(), 2u);
  EXPECT_EQ(layer.polygonVertices[3].point, 3u);
  EXPECT_EQ(layer.polygons[0].surfaceTag, 0u);
  EXPECT_EQ(layer.polygons[1].surfaceTag, 1u);
  EXPECT_EQ(layer.polygons[1].partTag, 1u);
  EXPECT_EQ(layer.polygons[1].smoothingGroup, 1u);
  EXPECT_EQ(object->SurfaceOf(layer.polygons[1])->name, "B");
  EXPECT_EQ(layer.pointPolygons[3], std::vector<std::uint32_t>{1});
}

TEST(LwChunks, LayersStartTheirOwnPointsAndKeepNamesAndBoxes) {
  LwoBuilder builder;
  builder.Layer(7, "first").Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).Faces({{0, 2, 1}});
  LwoBytes box;
  for (float v : {-1.f, -2.f, -3.f, 1.f, 2.f, 3.f}) box.F32(v);
  builder.Chunk("BBOX", box);
  builder.Layer(2, "second").Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).Faces({{0, 1, 2}});
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(object->layers.size(), 2u);
  EXPECT_EQ(object->layers[0].name, "first");
  EXPECT_EQ(object->layers[0].number, 7);
  EXPECT_EQ(object->layers[0].boundingBox, (std::array<float, 6>{-1, -2, -3, 1, 2, 3}));
  EXPECT_EQ(object->layers[1].name, "second");
  EXPECT_EQ(object->layers[1].polygonVertices[1].point, 1u);
}

TEST(LwChunks, NormalOverridesApplyToTheNamedCorner) {
  LwoBuilder builder;
  builder.Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).Faces({{0, 2, 1}, {0, 1, 2}});
  LwoBytes map;
  map.Id("NORM").U16(3).S0("normals");
  map.VX(2).VX(1).F32(0.5f).F32(0.25f).F32(0.125f);
  map.VX(1).VX(9).F32(9).F32(9).F32(9);  // polygon 9 does not exist
  builder.Chunk("VMAD", map);
  LwoBytes wrongDimension;
  wrongDimension.Id("NORM").U16(2).S0("flat").VX(0).VX(0).F32(7).F32(7);
  builder.Chunk("VMAD", wrongDimension);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  const LwLayer& layer = object->layers[0];
  EXPECT_EQ(layer.normalOverrides.size(), 2u);
  ExpectNormal(layer.polygonVertices[5].normal, {0.5f, 0.25f, 0.125f});
  ExpectNormal(layer.polygonVertices[4].normal, {0, 0, 1});
  ExpectNormal(layer.polygonVertices[0].normal, {0, 0, -1});
}

TEST(LwChunks, FourByteIndicesAndOddChunksAreRead) {
  LwoBuilder builder;
  builder.Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  LwoBytes polygons;
  polygons.Id("FACE").U16(3).U32(0xFF000000u).U32(0xFF000002u).U32(0xFF000001u);
  builder.Chunk("POLS", polygons);
  LwoBytes odd;
  odd.U8(1).U8(2).U8(3);
  builder.Chunk("ZZZZ", odd);  // unknown, odd size, padded
  builder.Tags({"T"}).PolygonTags("SURF", {{0, 0}}).Surface("T", 0);
  const auto object = ParseLwObject(builder.Build());
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(object->layers[0].polygons.size(), 1u);
  EXPECT_EQ(object->layers[0].polygonVertices[1].point, 2u);
  EXPECT_EQ(object->layers[0].polygons[0].surface, 0);
}

// --- bad input --------------------------------------------------------------------------------

struct BadInputCase {
  const char* name;
  std::vector<std::uint8_t> file;
  bool object;               // an object results
  std::size_t polygons;      // in layer 0
  std::size_t sound;         // polygons that kept their vertices
};

std::size_t SoundPolygons(const LwLayer& layer) {
  return static_cast<std::size_t>(std::count_if(layer.polygons.begin(), layer.polygons.end(),
                                                [](const LwPolygon& p) { return p.vertexCount > 0; }));
}

std::vector<BadInputCase> BadInputs() {
  const auto triangle = [] {
    LwoBuilder b;
    b.Points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    return b;
  };
  std::vector<BadInputCase> cases;
  cases.push_back({"empty", {}, false, 0, 0});
  cases.push_back({"short header", {'F', 'O', 'R', 'M', 0, 0}, false, 0, 0});
  cases.push_back({"LWOB form", triangle().Faces({{0, 1, 2}}).Build("LWOB"), false, 0, 0});
  cases.push_back({"index out of range", triangle().Faces({{0, 1, 2}, {0, 1, 3}, {2, 1, 0}}).Build(), true, 3, 2});
  cases.push_back({"quad and a point kept", triangle().Faces({{0, 1, 2, 0}, {1}}).Build(), true, 2, 2});
  {
    LwoBytes cut;
    cut.Id("FACE").U16(3).U16(0).U16(1).U16(2).U16(3).U16(0);  // second polygon cut short
    cases.push_back({"polygon cut short", triangle().Chunk("POLS", cut).Build(), true, 1, 1});
  }
  {
    LwoBytes pols;
    pols.Id("FACE").U16(3).U16(0).U16(1).U16(2);
    cases.push_back({"chunk size past the end", triangle().ChunkWithSize("POLS", 4000, pols).Build(), true, 0, 0});
  }
  {
    LwoBytes tags;
    tags.Id("SURF").VX(7).U16(0).VX(0).U16(40);  // polygon 7 missing; tag 40 beyond the list
    cases.push_back({"tags name missing things",
                     triangle().Faces({{0, 1, 2}}).Chunk("PTAG", tags).Build(), true, 1, 1});
  }
  {
    LwoBytes truncatedPoints;
    truncatedPoints.F32(1).F32(2);  // less than one point
    cases.push_back({"short PNTS", LwoBuilder().Chunk("PNTS", truncatedPoints).Faces({{0, 0, 0}}).Build(), true, 1, 0});
  }
  {
    LwoBytes surface;
    surface.S0("S").S0("").Id("SMAN").U16(400).F32(1);  // sub-chunk past its chunk
    cases.push_back({"surface sub-chunk past the end", triangle().Chunk("SURF", surface).Build(), true, 0, 0});
  }
  return cases;
}

TEST(LwBadInput, GivesNoObjectOrTheSoundPolygons) {
  for (const BadInputCase& c : BadInputs()) {
    SCOPED_TRACE(c.name);
    const auto object = ParseLwObject(c.file);
    ASSERT_EQ(object != nullptr, c.object);
    if (!object) continue;
    ASSERT_FALSE(object->layers.empty());
    const LwLayer& layer = object->layers[0];
    EXPECT_EQ(layer.polygons.size(), c.polygons);
    EXPECT_EQ(SoundPolygons(layer), c.sound);
    for (const LwPolygonVertex& corner : layer.polygonVertices) EXPECT_LT(corner.point, layer.points.size());
  }
}

TEST(LwBadInput, MessagesForMissingAndForeignFiles) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(LoadLwObjectFile(kSamples + "no-such-file.lwo"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "File not found!\n");

  testing::internal::CaptureStderr();
  EXPECT_EQ(LoadLwObjectFile(std::string(ORVANE_SHARED_DIR) + "/external-samples/images/basn0g08.png"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Wrong file type!\n");
}

TEST(LwBadInput, BackslashesSeparateDirectories) {
  std::string path = kSamples + "simple_cube.lwo";
  std::replace(path.begin(), path.end(), '/', '\\');
  path[0] = '/';
  EXPECT_NE(LoadLwObjectFile(path), nullptr);
}

}  // namespace
}  // namespace orvane
