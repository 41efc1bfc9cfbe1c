#include "app/Inspect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "graph/OperatorRegistry.h"
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

// Every kind of port the operator listing prints, registered for these tests only.
class ListingFunction final : public Function {
public:
  void Evaluate(float, const PortList&, Player&) override {}
};

class ListingOp final : public Operator {
public:
  ListingOp() : Operator(kCategoryImage) {
    AddInertInput("Scenes", kPortScene, kHintSeveralSources);
    AddFloatInput("Mode", 1.0f, kHintChoice);
    AddOptions({"Normal", "Add"});
    AddTextInput("Path", "a\\b \"c\"\n", kHintShaderPath);
    AddFloatInput("Gain", 0.1f);
    AddOutput("ImageOut", kPortImage, std::make_unique<ListingFunction>());
    AddOutput("Level", kPortFloat, std::make_unique<ListingFunction>());
  }
};
const OperatorRegistration<ListingOp> kListing{"TestListing", "Ports of \"every\" kind."};

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

TEST_F(InspectTest, OperatorsListsEveryTypeWithItsPorts) {
  EXPECT_EQ(RunOperators(false, out), 0);
  const std::string text = out.str();
  EXPECT_NE(text.find("Sin  (category 3)  A sine wave"), std::string::npos);
  EXPECT_NE(text.find("\n  in Value : float = 0\n  in Amplitude : float = 1\n"), std::string::npos);
  EXPECT_NE(text.find("TestListing  (category 2)  Ports of \"every\" kind.\n"
                      "  in Scenes : scene hint 0x08\n"
                      "  in Mode : float = 1 hint 0x20 options Normal|Add\n"
                      "  in Path : text = \"a\\\\b \\\"c\\\"\\n\" hint 0x02\n"
                      "  in Gain : float = 0.1\n"
                      "  out ImageOut : image\n"
                      "  out Level : float\n"),
            std::string::npos)
      << text;
  // One block per type, in registry order.
  size_t blocks = 0;
  for (size_t line = 0; line < text.size(); line = text.find('\n', line) + 1) blocks += text[line] != ' ';
  EXPECT_EQ(blocks, OperatorRegistry::Entries().size());
}

TEST_F(InspectTest, OperatorsAsJson) {
  EXPECT_EQ(RunOperators(true, out), 0);
  const std::string json = out.str();
  EXPECT_TRUE(json.starts_with("[\n  {\"type\": ")) << json;
  EXPECT_TRUE(json.ends_with("]}\n]\n")) << json;
  EXPECT_NE(json.find("  {\"type\": \"TestListing\", \"category\": 2, \"description\": \"Ports of \\\"every\\\" kind.\",\n"
                      "   \"inputs\": [\n"
                      "    {\"name\": \"Scenes\", \"kind\": \"scene\", \"default\": null, \"hint\": 8, \"options\": []},\n"
                      "    {\"name\": \"Mode\", \"kind\": \"float\", \"default\": 1, \"hint\": 32, "
                      "\"options\": [\"Normal\", \"Add\"]},\n"
                      "    {\"name\": \"Path\", \"kind\": \"text\", \"default\": \"a\\\\b \\\"c\\\"\\u000a\", \"hint\": 2, "
                      "\"options\": []},\n"
                      "    {\"name\": \"Gain\", \"kind\": \"float\", \"default\": 0.1, \"hint\": 0, \"options\": []}],\n"
                      "   \"outputs\": [\n"
                      "    {\"name\": \"ImageOut\", \"kind\": \"image\"},\n"
                      "    {\"name\": \"Level\", \"kind\": \"float\"}]}"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"type\": \"Time\", \"category\": 3, \"description\": \"The demo time in seconds: the music's "
                      "playing position.\",\n   \"inputs\": [],\n   \"outputs\": [\n    {\"name\": \"FloatOut\", "
                      "\"kind\": \"float\"}]}"),
            std::string::npos)
      << json;
}

TEST_F(InspectTest, CheckReportsMissingImageShaderFiles) {
  // A shader path names two stage files beside it; the system's own shaders are built in.
  Write("music.wav", "RIFF");
  Write("demo.opr",
        "MusicPath: music.wav;\n"
        "operator { type: FinalOutput; }\n"
        "operator[] { type: ImageShader; input[1] { Filepath: \"fx\\\\glow.hlsl\"; } }\n"
        "operator[] { type: ImageShader; input[1] { Filepath: \"data/shaders/copy.hlsl\"; } }\n"
        "operator[] { type: ImageShader; }\n");
  EXPECT_EQ(RunCheck(out), 1);
  EXPECT_EQ(out.str(), "missing file: \"fx\\\\glowVS.vs\" (#1.Filepath)\nmissing file: \"fx\\\\glowPS.ps\" (#1.Filepath)\n");
  Write("fx/glowVS.vs", "#version 450 core\n");
  out.str("");
  EXPECT_EQ(RunCheck(out), 1);  // the pixel stage is still missing
  Write("fx/glowPS.ps", "#version 450 core\n");
  out.str("");
  EXPECT_EQ(RunCheck(out), 0);
  EXPECT_EQ(out.str(), "");
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
