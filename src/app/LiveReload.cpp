#include "app/LiveReload.h"

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/Player.h"
#include "document/DataNode.h"
#include "document/DocumentParser.h"
#include "image/PostEffects.h"
#include "render/Diagnostics.h"
#include "render/ShaderPass.h"
#include "resources/ResourceLoader.h"

namespace orvane {
namespace {

constexpr size_t kKeptMessages = 8;
constexpr auto kPollInterval = std::chrono::milliseconds(250);

// The stage of a shader file, from its extension; -1 for none.
int32_t StageOfFile(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  const char* const extensions[] = {".vs", ".hs", ".ds", ".gs", ".ps"};
  for (int32_t stage = 0; stage <= kStagePixel; ++stage) {
    if (extension == extensions[stage]) return stage;
  }
  return -1;
}

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  text = contents.str();
  return true;
}

}  // namespace

CompileError ParseCompileError(const std::string& log) {
  CompileError error;
  // "0:12(5): error: message" (Mesa) or "ERROR: 0:12: message" (other drivers).
  static const std::regex located(R"((?:\d+):(\d+)(?:\(\d+\))?:\s*(?:error:?\s*)?(.*))");
  std::string firstLine = log.substr(0, log.find('\n'));
  std::smatch match;
  if (std::regex_search(firstLine, match, located)) {
    error.line = std::stoi(match[1].str());
    error.message = match[2].str();
  } else {
    error.message = firstLine;
  }
  while (!error.message.empty() && (error.message.back() == '\r' || error.message.back() == ' ')) error.message.pop_back();
  if (error.message.empty()) error.message = "does not compile";
  return error;
}

LiveReload::LiveReload(Player& player, std::filesystem::path document)
    : player_(player), document_(document.string()) {
  LoadDocument(lastGoodDocument_, document);
  stamps_[document_] = StampOf(document_);
  WatchLoadedFiles();
}

LiveReload::~LiveReload() = default;

LiveReload::Stamp LiveReload::StampOf(const std::string& path) {
  std::error_code error;
  Stamp stamp;
  stamp.time = std::filesystem::last_write_time(path, error);
  if (error) return stamp;
  stamp.size = std::filesystem::file_size(path, error);
  stamp.exists = !error;
  return stamp;
}

void LiveReload::WatchLoadedFiles() {
  for (const std::string& path : ShaderFilesFromFolder()) {
    if (!stamps_.contains(path)) stamps_[path] = StampOf(path);
  }
}

void LiveReload::Report(std::string line) {
  std::fprintf(stderr, "orvane: %s\n", line.c_str());
  std::fflush(stderr);
  messages_.push_back(std::move(line));
  while (messages_.size() > kKeptMessages) messages_.pop_front();
}

void LiveReload::Poll() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastCheck_ < kPollInterval) return;
  lastCheck_ = now;
  CheckNow();
}

bool LiveReload::ShaderCompiles(const std::string& path) {
  const int32_t stage = StageOfFile(path);
  std::string text;
  if (!ReadText(path, text) || text.empty()) {
    Report(path + ":0: cannot be read (kept the last good version)");
    return false;
  }
  if (stage < 0) return true;
  ShaderPass* trial = CreateShaderPass(player_.adapter);
  bool compiles = false;
  {
    const QuietDebugPrint quiet;
    compiles = AddShader(trial, ShaderBlob::FromText(text, stage));
  }
  DestroyShaderPass(trial);
  if (!compiles) {
    const CompileError error = ParseCompileError(LastCompilerMessage());
    Report(path + ":" + std::to_string(error.line) + ": " + error.message + " (kept the last good version)");
  }
  return compiles;
}

void LiveReload::CheckNow() {
  // Passes made after start-up (an operator that loads its shaders on first use) are watched too.
  WatchLoadedFiles();
  std::vector<std::string> reloaded;
  bool rebuild = false;
  for (auto& [path, stamp] : stamps_) {
    const Stamp current = StampOf(path);
    if (current == stamp) continue;
    stamp = current;
    if (path == document_) {
      std::unique_ptr<DataNode> document;
      if (!LoadDocument(document, document_)) {
        Report(path + ":0: cannot be read or is empty (kept the last good version)");
        continue;
      }
      lastGoodDocument_ = std::move(document);
    } else {
      if (!ShaderCompiles(path)) continue;
      ForgetShaderFile(path);
    }
    reloaded.push_back(path);
    rebuild = true;
  }
  if (!rebuild) return;
  Rebuild();
  for (const std::string& path : reloaded) Report("reloaded " + path);
  WatchLoadedFiles();
}

void LiveReload::Rebuild() {
  const QuietDebugPrint quiet;
  player_.ClearGraph();
  if (postEffects) CreatePostEffects(postEffects->adapter, postEffects->screen, postEffects->camera);
  player_.RebuildGraph(lastGoodDocument_.get());
  ++rebuilds_;
}

}  // namespace orvane
