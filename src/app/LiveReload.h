#pragma once
// Live reload of development mode: the document and every shader file the demo has read from its
// folder are watched. A changed shader that compiles, or a changed document that reads, rebuilds
// the graph (and the shared effects) at the current time; a shader that does not compile leaves
// the last good version in use. Each reload prints one line on stderr:
//   orvane: reloaded PATH
//   orvane: PATH:LINE: MESSAGE (kept the last good version)

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class DataNode;
class Player;

// The line and message of a compiler log ("0:12(5): error: ..." as Mesa writes it); line 0 when
// none can be found.
struct CompileError {
  int line = 0;
  std::string message;
};
CompileError ParseCompileError(const std::string& log);

class LiveReload {
public:
  explicit LiveReload(Player& player, std::filesystem::path document = "demo.opr");
  ~LiveReload();

  // Looks at the files at most every quarter of a second; reloads what changed.
  void Poll();
  // Looks at the files now.
  void CheckNow();

  // How many times the graph has been rebuilt.
  size_t rebuilds() const { return rebuilds_; }

  // The latest lines printed, newest last (at most 8).
  const std::deque<std::string>& messages() const { return messages_; }

private:
  struct Stamp {
    std::filesystem::file_time_type time{};
    uintmax_t size = 0;
    bool exists = false;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const std::string& path);
  void Report(std::string line);
  // True when the new text of the shader file compiles; otherwise reports why.
  bool ShaderCompiles(const std::string& path);
  void Rebuild();
  void WatchLoadedFiles();

  Player& player_;
  std::string document_;
  std::unique_ptr<DataNode> lastGoodDocument_;
  std::map<std::string, Stamp> stamps_;
  std::deque<std::string> messages_;
  size_t rebuilds_ = 0;
  std::chrono::steady_clock::time_point lastCheck_{};
};

}  // namespace orvane
