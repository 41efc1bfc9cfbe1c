#include "app/Inspect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/TempFolder.h"

namespace orvane {
namespace {

// Runs each command inside a fresh demo folder holding the given files.
class InspectTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }
  void Write(const std::string& name, std::string_view text) { folder_.Write(name, text); }

  std::ostringstream out, err;

private:
  testing::TempFolder folder_;
  std::filesystem::path previous_;
};

constexpr std::string_view kDemo =
    "MusicPath: music.wav;\n"
    "operator { type: FinalOutput; connection { source: 2; sourceProp: FloatOut; target: 0; targetProp: In; } }\n"
    "operator[] { type: Time; }\n"
    "operator[] { type: Sin; input { Value: 0; } input[] { Amplitude: 2; } input[] { Frequency: 0.5; }\n"
    "  connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: Value; } }\n";

TEST_F(InspectTest, DumpDocumentPrintsTheTree) {
  Write("demo.opr", "a: \"x\\ty\"; b { c: $0a; }");
  EXPECT_EQ(RunDumpDocument("demo.opr", out, err), 0);
  EXPECT_EQ(out.str(), "a[0] = \"x\\ty\"\nb[0]\n  c[0] = $0a\n");
  EXPECT_EQ(RunDumpDocument("missing.opr", out, err), 1);
  EXPECT_EQ(err.str(), "orvane: cannot read missing.opr\n");
  Write("empty.opr", "");
  out.str("");
  EXPECT_EQ(RunDumpDocument("empty.opr", out, err), 0);
  EXPECT_EQ(out.str(), "");
}

TEST_F(InspectTest, DumpGraphPrintsTheLoadedGraph) {
  Write("demo.opr", kDemo);
  EXPECT_EQ(RunDumpGraph(out, err), 0);
  EXPECT_EQ(out.str(),
            "#0 FinalOutput\n"
            "  in In : generic <- #2.FloatOut\n"
            "  out FinalOutput : generic\n"
            "#1 Time\n"
            "  out FloatOut : float\n"
            "#2 Sin\n"
            "  in Value : float = 0 <- #1.FloatOut\n"
            "  in Amplitude : float = 2\n"
            "  in Frequency : float = 0.5\n"
            "  in Phase : float = 0\n"
            "  in Offset : float = 0\n"
            "  out FloatOut : float\n");
}

TEST_F(InspectTest, DumpGraphNeedsADocument) {
  EXPECT_EQ(RunDumpGraph(out, err), 1);
  EXPECT_EQ(err.str(), "orvane: cannot read demo.opr\n");
}

TEST_F(InspectTest, EvalPrintsFloatsAndRefusesOtherKinds) {
  Write("demo.opr", kDemo);
  EXPECT_EQ(RunEval(2, "FloatOut", 3.14159265f, out, err), 0);
  EXPECT_EQ(out.str(), "2\n");  // sin(0.5 * pi) * 2
  out.str("");
  EXPECT_EQ(RunEval(1, "FloatOut", -0.25f, out, err), 0);
  EXPECT_EQ(out.str(), "-0.25\n");

  const std::tuple<int, const char*, const char*> refusals[] = {
      {0, "FinalOutput", "orvane: output #0.FinalOutput is of kind generic; only float and text outputs can be evaluated\n"},
      {2, "Value", "orvane: operator #2 (Sin) has no output \"Value\"\n"},
      {9, "FloatOut", "orvane: there is no operator #9 (the graph has 3)\n"},
  };
  for (const auto& [op, port, message] : refusals) {
    err.str("");
    EXPECT_EQ(RunEval(op, port, 0.0f, out, err), 2);
    EXPECT_EQ(err.str(), message);
  }
}

TEST_F(InspectTest, CheckIsCleanForASoundDemo) {
  Write("demo.opr", kDemo);
  Write("music.wav", "RIFF");
  EXPECT_EQ(RunCheck(out), 0);
  EXPECT_EQ(out.str(), "");
}

TEST_F(InspectTest, CheckReportsWhatThePlayerWouldSkip) {
  Write("demo.opr",
        "operator { type: FinalOutput; connection { source: 2; sourceProp: Nope; target: 0; targetProp: In; } }\n"
        "operator[] { type: Time; connection { source: 1; sourceProp: FloatOut; target: 2; targetProp: Value; } }\n"
        "operator[] { type: Sin; input { Value: 1; track { key { time: 0; } } }\n"
        "  connection { source: 2; sourceProp: FloatOut; target: 2; targetProp: Phase; } }\n"
        "operator[] { type: Wobble; }\n");
  EXPECT_EQ(RunCheck(out), 1);
  EXPECT_EQ(out.str(),
            "unknown operator type \"Wobble\" in operator entry 3; the operators after it read the entries after their own\n"
            "connection 0 of operator #0 links nothing: source #2.Nope not found\n"
            "curve ignored: input #2.Value already has a source or a curve\n"
            "cycle cut: #2.Phase <- #2.FloatOut closes a cycle and is ignored\n"
            "MusicPath is empty: the demo ends on its first frame\n");
}

TEST_F(InspectTest, CheckReportsMissingFiles) {
  Write("demo.opr", "MusicPath: \"sound\\\\track.ogg\";");
  EXPECT_EQ(RunCheck(out), 1);
  EXPECT_EQ(out.str(), "missing file: \"sound\\\\track.ogg\" (MusicPath)\n");
  out.str("");
  Write("sound/track.ogg", "OggS");  // backslashes in document paths are directory separators
  EXPECT_EQ(RunCheck(out), 0);
  EXPECT_EQ(out.str(), "");

  std::filesystem::remove("demo.opr");
  out.str("");
  EXPECT_EQ(RunCheck(out), 1);
  EXPECT_EQ(out.str(), "missing file: \"demo.opr\": the demo ends on its first frame\n");
}

TEST_F(InspectTest, CheckNamesTheOperatorOfEachMissingOrUnreadableFile) {
  Write("demo.opr",
        "MusicPath: music.wav;\n"
        "operator { type: FinalOutput; }\n"
        "operator[] { type: Texture; input { Filepath: \"tex/broken.png\"; } }\n"
        "operator[] { type: Texture; input { Filepath: \"tex/absent.jpg\"; } }\n"
        "operator[] { type: LWO; input { Filepath: \"mesh.lwo\"; } }\n"
        "operator[] { type: RayMarching; input { Filepath: \"shaders/blob.glsl\"; } }\n"
        "operator[] { type: RayMarching; input { Filepath: \"shaders/whole.glsl\"; } }\n"
        "operator[] { type: LightPass; }\n");
  Write("music.wav", "RIFF");
  Write("tex/broken.png", "\x89PNG\r\n\x1a\n and no more");
  Write("mesh.lwo", "FORM....LWOB");
  Write("shaders/blobPS.ps", "#version 450 core\nvoid main() {}\n");
  Write("shaders/wholeVS.vs", "#version 450 core\nvoid main() {}\n");
  Write("shaders/wholePS.ps", "#version 450 core\nvoid main() {}\n");
  EXPECT_EQ(RunCheck(out), 1);
  const std::string report = out.str();
  EXPECT_NE(report.find("unreadable file: \"tex/broken.png\" (#1.Filepath): "), std::string::npos) << report;
  EXPECT_NE(report.find("missing file: \"tex/absent.jpg\" (#2.Filepath)\n"), std::string::npos) << report;
  EXPECT_NE(report.find("unreadable file: \"mesh.lwo\" (#3.Filepath): "), std::string::npos) << report;
  EXPECT_NE(report.find("missing file: \"shaders/blobVS.vs\" (#4.Filepath)\n"), std::string::npos) << report;
  EXPECT_EQ(report.find("#5."), std::string::npos) << "both stages there";
  EXPECT_EQ(report.find("#6."), std::string::npos) << "the light shaders are built in";
}

}  // namespace
}  // namespace orvane
