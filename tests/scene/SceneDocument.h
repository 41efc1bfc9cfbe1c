#pragma once
// Builds demo document text for scene-operator tests: operators after the FinalOutput, each with
// input values and the connections into its inputs, numbered as the loader reads them.

#include <string>
#include <utility>
#include <vector>

namespace orvane::testing {

class SceneDocument {
public:
  struct Link {
    int source;
    std::string sourcePort;
    std::string targetPort;
  };

  // Appends an operator; `inputs` are (input index, "Name: value") pairs. Returns its index.
  int Add(const std::string& type, const std::vector<std::pair<int, std::string>>& inputs = {},
          const std::vector<Link>& links = {}) {
    std::string entry = "operator[] { type: " + type + ";";
    for (const auto& [index, value] : inputs) entry += " input[" + std::to_string(index) + "] { " + value + "; }";
    for (size_t i = 0; i < links.size(); ++i) {
      entry += " connection[" + std::to_string(i) + "] { source: " + std::to_string(links[i].source) +
               "; sourceProp: " + links[i].sourcePort + "; target: " + std::to_string(count_) +
               "; targetProp: " + links[i].targetPort + "; }";
    }
    text_ += entry + " }\n";
    return count_++;
  }

  // Connects `port` of operator `source` to the FinalOutput: what the player shows.
  void Show(int source, const std::string& port) {
    text_.replace(0, text_.find('\n'), "operator { type: FinalOutput; connection { source: " + std::to_string(source) +
                                           "; sourceProp: " + port + "; target: 0; targetProp: In; } }");
  }

  const std::string& text() const { return text_; }

private:
  std::string text_ = "operator { type: FinalOutput; }\n";
  int count_ = 1;
};

}  // namespace orvane::testing
