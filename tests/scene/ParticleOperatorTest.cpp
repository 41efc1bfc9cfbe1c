// The particle operator without a GPU: what its inputs do to the simulation, reseeding, and
// inputs that must not hang the player.

#include <gtest/gtest.h>

#include "scene/RuntimeRandom.h"
#include "scene/SceneDocument.h"
#include "scene/operators/ParticleSystemOp.h"
#include "support/GraphFixture.h"

namespace orvane {
namespace {

using testing::LoadedGraph;
using testing::SceneDocument;
using Inputs = std::vector<std::pair<int, std::string>>;

// A graph of one particle system, run through the load-time pass and frames at `times`.
struct ParticleGraph {
  std::unique_ptr<LoadedGraph> graph;
  ParticleSystemOp::ParticleFunction* function = nullptr;

  explicit ParticleGraph(const Inputs& inputs) {
    SceneDocument doc;
    doc.Add("Particles", inputs);
    graph = std::make_unique<LoadedGraph>(doc.text());
    function = dynamic_cast<ParticleSystemOp::ParticleFunction*>(graph->output(1).function.get());
  }
  void Frames(std::initializer_list<float> times) {
    for (float time : times) graph->output(1).Evaluate(time, graph->player);
  }
  const ParticleSimulation& simulation() const { return function->simulation; }
};

bool SameParticles(const ParticleSimulation& a, const ParticleSimulation& b) {
  if (a.count() != b.count()) return false;
  for (int32_t i = 0; i < a.count(); ++i) {
    if (a[i].position.x != b[i].position.x || a[i].velocity.z != b[i].velocity.z || a[i].color.x != b[i].color.x ||
        a[i].size != b[i].size)
      return false;
  }
  return true;
}

// Frames with numbers drawn elsewhere in between (as ambient occlusion does).
void FramesWithOtherDraws(ParticleGraph& particles) {
  particles.Frames({-10.0f, 0.0f});
  for (float time : {0.1f, 0.2f, 0.3f}) {
    for (int i = 0; i < 17; ++i) RuntimeRand();
    particles.Frames({time});
  }
}

TEST(ParticleOperator, APositiveSeedRestartsTheGeneratorEveryFrame) {
  const Inputs seeded{{9, "Seed: 7"}, {10, "RandomVelPower: 3"}};
  ParticleGraph first(seeded), second(seeded);
  ASSERT_NE(first.function, nullptr);
  RuntimeSrand(1);
  FramesWithOtherDraws(first);
  RuntimeSrand(12345);
  FramesWithOtherDraws(second);
  EXPECT_GT(first.simulation().count(), 0);
  EXPECT_TRUE(SameParticles(first.simulation(), second.simulation()));
}

TEST(ParticleOperator, WithoutASeedTheSequenceContinuesAcrossFrames) {
  const Inputs unseeded{{10, "RandomVelPower: 3"}};
  ParticleGraph first(unseeded), second(unseeded);
  RuntimeSrand(1);
  FramesWithOtherDraws(first);
  RuntimeSrand(12345);
  FramesWithOtherDraws(second);
  EXPECT_FALSE(SameParticles(first.simulation(), second.simulation()));
}

TEST(ParticleOperator, SpriteSizesReachTheShaderOnly) {
  ParticleGraph plain({{9, "Seed: 3"}}), sized({{9, "Seed: 3"}, {2, "Size.X: 5"}, {3, "Size.Y: 0.1"}});
  plain.Frames({-10.0f, 0.0f, 0.5f, 1.0f});
  sized.Frames({-10.0f, 0.0f, 0.5f, 1.0f});
  EXPECT_TRUE(SameParticles(plain.simulation(), sized.simulation()));
}

TEST(ParticleOperator, AbsurdInputsStayWithinTheCapacityAndReturn) {
  const char* const rates[] = {"inf", "1e30", "nan", "-inf"};
  for (const char* rate : rates) {
    SCOPED_TRACE(rate);
    ParticleGraph particles({{1, std::string("Rate: ") + rate}, {6, "Lifetime: inf"}, {7, "StartSizeMin: nan"}});
    particles.Frames({-10.0f, 0.0f, 1.0f, 1e9f, 2.0f});
    EXPECT_LE(particles.simulation().count(), 4999);
  }
  ParticleGraph infinite({{1, "Rate: inf"}});
  infinite.Frames({-10.0f, 0.0f, 1.0f});
  EXPECT_EQ(infinite.simulation().count(), 4999) << "an infinite rate is 10,000 per second";
}

}  // namespace
}  // namespace orvane
