#include "app/Inspect.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Player.h"
#include "document/DocumentDump.h"
#include "document/DocumentParser.h"
#include "document/DocumentPath.h"
#include "document/TextFormat.h"
#include "graph/GraphDump.h"
#include "graph/GraphLoader.h"
#include "graph/OperatorRegistry.h"
#include "resources/DdsReader.h"
#include "resources/EmbeddedFiles.h"
#include "resources/ImageDecoder.h"
#include "scene/lwobject/LwReader.h"

namespace orvane {
namespace {

constexpr const char* kDocumentFile = "demo.opr";

bool LoadDocumentOrSay(std::unique_ptr<DataNode>& root, const std::string& file, std::ostream& err) {
  if (LoadDocument(root, file)) return true;
  std::error_code error;
  if (std::filesystem::is_regular_file(file, error)) return true;  // an empty document
  err << "orvane: cannot read " << file << '\n';
  return false;
}

bool LoadPlayerGraph(Player& player, std::ostream& err, GraphLoadReport* report = nullptr) {
  std::unique_ptr<DataNode> root;
  if (!LoadDocumentOrSay(root, kDocumentFile, err)) return false;
  LoadGraph(player.operators, DataAccessor(root.get()), report);
  return true;
}

std::string Quoted(std::string_view text) { return "\"" + EscapeText(text) + "\""; }

bool FileExists(std::string_view documentPath) {
  std::error_code error;
  return std::filesystem::exists(PathFromDocument(documentPath), error);
}

void ReportLoad(const OperatorList& operators, const GraphLoadReport& report, std::ostream& out) {
  const PortLabels label(operators);
  for (const auto& unknown : report.unknownTypes) {
    out << "unknown operator type " << Quoted(unknown.type) << " in operator entry " << unknown.entry
        << "; the operators after it read the entries after their own\n";
  }
  for (const auto& connection : report.unlinkedConnections) {
    out << "connection " << connection.connectionIndex << " of operator #" << connection.operatorIndex
        << " links nothing:";
    if (!connection.sourceFound) {
      out << " source #" << connection.source << '.' << EscapeText(connection.sourceProp) << " not found";
    }
    if (!connection.targetFound) {
      out << (connection.sourceFound ? "" : ",") << " target #" << connection.target << '.'
          << EscapeText(connection.targetProp) << " not found";
    }
    out << '\n';
  }
  for (const auto& curve : report.ignoredCurves) {
    out << "curve ignored: input #" << curve.operatorIndex << '.' << curve.port
        << " already has a source or a curve\n";
  }
  for (const auto& cycle : report.cutCycles) {
    out << "cycle cut: " << label(cycle.link.targetPort) << " <- " << label(cycle.link.sourcePort)
        << " closes a cycle and is ignored\n";
  }
}

// What the loader would make of a texture file that exists: empty when it loads.
std::string TextureProblem(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
  if (extension != ".png" && extension != ".jpg" && extension != ".dds") return "not a .png, .jpg or .dds file";
  const std::string file = PathFromDocument(path).string();
  const ImageResult image = extension == ".dds" ? ReadDds(file) : DecodeImage(file);
  return image.Ok() ? std::string() : ImageErrorName(image.error);
}

// A shader path names one file per stage: the name up to its first dot, the entry point and the
// stage's extension, in the demo's folder or built into the program.
std::vector<std::string> MissingShaderStages(const std::string& path) {
  const std::size_t folder = path.find_last_of("/\\");
  const std::size_t dot = path.find('.', folder == std::string::npos ? 0 : folder + 1);
  const std::string name = path.substr(0, dot);
  std::vector<std::string> missing;
  for (const char* stage : {"VS.vs", "PS.ps"}) {
    const std::string file = name + stage;
    if (!FileExists(file) && !FindEmbeddedFile(EmbeddedShaderFiles(), NormalizeDataPath(file))) {
      missing.push_back(file);
    }
  }
  return missing;
}

// Files named by the document: the music and every input that holds a texture, mesh or shader
// path. Textures are decoded and meshes read, so that files the player would refuse are named
// too; shaders are compiled only by the player.
int ReportMissingFiles(const DataNode& root, const OperatorList& operators, std::ostream& out) {
  int reported = 0;
  std::string music;
  DataAccessor(&root).ReadText("MusicPath", music);
  if (music.empty()) {
    out << "MusicPath is empty: the demo ends on its first frame\n";
    ++reported;
  } else if (!FileExists(music)) {
    out << "missing file: " << Quoted(music) << " (MusicPath)\n";
    ++reported;
  }
  for (const auto& op : operators) {
    for (const Port& port : op->inputs) {
      constexpr int32_t kFileHints = kHintTexturePath | kHintMeshPath | kHintShaderPath;
      if ((port.hints & kFileHints) == 0 || !port.function) continue;
      const auto* path = dynamic_cast<const Text*>(port.function->GetValue());
      if (path == nullptr || path->value.empty()) continue;
      const std::string where = " (#" + std::to_string(op->index) + '.' + port.name + ")";
      if (port.hints & kHintShaderPath) {
        for (const std::string& stage : MissingShaderStages(path->value)) {
          out << "missing file: " << Quoted(stage) << where << '\n';
          ++reported;
        }
        continue;
      }
      std::string problem;
      if (!FileExists(path->value)) {
        out << "missing file: " << Quoted(path->value) << where << '\n';
        ++reported;
        continue;
      }
      if (port.hints & kHintTexturePath) problem = TextureProblem(path->value);
      if ((port.hints & kHintMeshPath) && !LoadLwObjectFile(PathFromDocument(path->value).string())) {
        problem = "not a LightWave object the reader can use";
      }
      if (problem.empty()) continue;
      out << "unreadable file: " << Quoted(path->value) << where << ": " << problem << '\n';
      ++reported;
    }
  }
  return reported;
}

// A JSON string: quotes, backslashes and control bytes escaped; other bytes as they are.
std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + '"';
}

std::string HintText(int32_t hints) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned>(hints));
  return text;
}

// The declared default of an input: its float or text value; null for scene, image and generic.
const IValue* DefaultOf(const Port& input) { return input.function ? input.function->GetValue() : nullptr; }

void PrintOperatorText(const std::string& type, const OperatorFactory& factory, const Operator& op,
                       std::ostream& out) {
  out << type << "  (category " << op.category << ')';
  if (!factory.description.empty()) out << "  " << factory.description;
  out << '\n';
  for (const Port& input : op.inputs) {
    out << "  in " << input.name << " : " << PortTypeName(input.type);
    if (const auto* number = dynamic_cast<const Float*>(DefaultOf(input))) {
      out << " = " << FormatFloat(number->value);
    } else if (const auto* text = dynamic_cast<const Text*>(DefaultOf(input))) {
      out << " = " << Quoted(text->value);
    }
    if (input.hints != 0) out << " hint " << HintText(input.hints);
    for (size_t i = 0; i < input.options.size(); ++i) out << (i == 0 ? " options " : "|") << input.options[i];
    out << '\n';
  }
  for (const Port& output : op.outputs) out << "  out " << output.name << " : " << PortTypeName(output.type) << '\n';
}

std::string JsonDefault(const Port& input) {
  if (const auto* number = dynamic_cast<const Float*>(DefaultOf(input))) {
    return std::isfinite(number->value) ? FormatFloat(number->value) : "null";
  }
  if (const auto* text = dynamic_cast<const Text*>(DefaultOf(input))) return JsonString(text->value);
  return "null";
}

void PrintOperatorJson(const std::string& type, const OperatorFactory& factory, const Operator& op,
                       std::ostream& out) {
  out << "  {\"type\": " << JsonString(type) << ", \"category\": " << op.category
      << ", \"description\": " << JsonString(factory.description) << ",\n   \"inputs\": [";
  for (size_t i = 0; i < op.inputs.size(); ++i) {
    const Port& input = op.inputs[i];
    out << (i == 0 ? "\n    " : ",\n    ") << "{\"name\": " << JsonString(input.name)
        << ", \"kind\": \"" << PortTypeName(input.type) << "\", \"default\": " << JsonDefault(input)
        << ", \"hint\": " << input.hints << ", \"options\": [";
    for (size_t k = 0; k < input.options.size(); ++k) out << (k == 0 ? "" : ", ") << JsonString(input.options[k]);
    out << "]}";
  }
  out << "],\n   \"outputs\": [";
  for (size_t i = 0; i < op.outputs.size(); ++i) {
    const Port& output = op.outputs[i];
    out << (i == 0 ? "\n    " : ",\n    ") << "{\"name\": " << JsonString(output.name) << ", \"kind\": \""
        << PortTypeName(output.type) << "\"}";
  }
  out << "]}";
}

}  // namespace

int RunDumpDocument(const std::string& file, std::ostream& out, std::ostream& err) {
  std::unique_ptr<DataNode> root;
  if (!LoadDocumentOrSay(root, file, err)) return 1;
  DumpDocument(*root, out);
  return 0;
}

int RunDumpGraph(std::ostream& out, std::ostream& err) {
  Player player;
  if (!LoadPlayerGraph(player, err)) return 1;
  DumpGraph(player.operators, out);
  return 0;
}

int RunEval(int operatorIndex, const std::string& port, float time, std::ostream& out, std::ostream& err) {
  Player player;
  if (!LoadPlayerGraph(player, err)) return 1;
  if (operatorIndex < 0 || static_cast<size_t>(operatorIndex) >= player.operators.size()) {
    err << "orvane: there is no operator #" << operatorIndex << " (the graph has "
        << player.operators.size() << ")\n";
    return 2;
  }
  Operator& op = *player.operators[static_cast<size_t>(operatorIndex)];
  const Port* output = op.FindOutput(port);
  if (output == nullptr) {
    err << "orvane: operator #" << operatorIndex << " (" << op.type << ") has no output " << Quoted(port) << '\n';
    return 2;
  }
  if (output->type != kPortFloat && output->type != kPortText) {
    err << "orvane: output #" << operatorIndex << '.' << port << " is of kind " << PortTypeName(output->type)
        << "; only float and text outputs can be evaluated\n";
    return 2;
  }
  player.RunLoadTimePass();
  output->Evaluate(time, player);
  if (output->type == kPortFloat) {
    out << FormatFloat(player.scalar) << '\n';
  } else {
    out << Quoted(player.text) << '\n';
  }
  return 0;
}

int RunCheck(std::ostream& out) {
  std::unique_ptr<DataNode> root;
  if (!LoadDocument(root, kDocumentFile)) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(kDocumentFile, error)) {
      out << "missing file: \"" << kDocumentFile << "\": the demo ends on its first frame\n";
      return 1;
    }
  }
  Player player;
  GraphLoadReport report;
  LoadGraph(player.operators, DataAccessor(root.get()), &report);
  ReportLoad(player.operators, report, out);
  const int missing = ReportMissingFiles(*root, player.operators, out);
  const bool clean = report.unknownTypes.empty() && report.unlinkedConnections.empty() &&
                     report.ignoredCurves.empty() && report.cutCycles.empty() && missing == 0;
  return clean ? 0 : 1;
}

int RunOperators(bool json, std::ostream& out) {
  if (json) out << "[\n";
  bool first = true;
  for (const auto& [type, factory] : OperatorRegistry::Entries()) {
    // The ports are declared by the constructor; with no device made, nothing is built on a GPU.
    const std::unique_ptr<Operator> op = factory->Spawn();
    if (json) {
      out << (first ? "" : ",\n");
      PrintOperatorJson(type, *factory, *op, out);
    } else {
      PrintOperatorText(type, *factory, *op, out);
    }
    first = false;
  }
  if (json) out << (first ? "]\n" : "\n]\n");
  return 0;
}

}  // namespace orvane
