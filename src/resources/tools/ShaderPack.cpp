// Build step for the shader files: turns the sources under a shader folder into one file per
// stage and entry point under "data/shaders/", and writes a C++ table that builds those files
// into the program.
//
//   orvane_shader_pack <symbol> <output dir> <table.cpp> <source root> <source>...
//
// A family source "<name>.glsl" holds a common part (starting with its #version line) and one
// section per entry point, each opened by a line "//@entry <Entry> <ext>" (ext: vs, hs, ds, gs,
// ps); section <Entry> becomes "data/shaders/<name><Entry>.<ext>" = common part + section. Any
// other source ("lights/pointLightVS.vs") is taken as it is, at the same relative path.
// In both, a line "//@include <path>" is replaced by the text of <source root>/<path>: code that
// several shaders share lives once, in ".inc" files, which make no shader file of their own.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ShaderFile {
  std::string path;  // "data/shaders/..."
  std::string text;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool KnownExtension(const std::string& ext) {
  return ext == "vs" || ext == "hs" || ext == "ds" || ext == "gs" || ext == "ps";
}

constexpr int kMaxIncludeDepth = 8;

// The text with its "//@include" lines replaced, each followed by a #line directive so that the
// compiler's line numbers after it stay those of `text` (the first line of `text` being
// `firstLine`).
bool ExpandIncludes(const fs::path& root, const std::string& text, int firstLine, int depth, std::string& out) {
  std::istringstream lines(text);
  std::string line;
  for (int number = firstLine; std::getline(lines, line); ++number) {
    if (line.rfind("//@include ", 0) != 0) {
      out += line + "\n";
      continue;
    }
    const fs::path included = root / line.substr(11);
    if (depth >= kMaxIncludeDepth || !fs::is_regular_file(included)) {
      std::fprintf(stderr, "%s: cannot include it here\n", included.string().c_str());
      return false;
    }
    if (!ExpandIncludes(root, ReadText(included), 1, depth + 1, out)) return false;
    out += "#line " + std::to_string(number + 1) + "\n";
  }
  return true;
}

bool SplitFamily(const fs::path& root, const std::string& name, const std::string& text,
                 std::vector<ShaderFile>& out) {
  std::istringstream lines(text);
  std::string line;
  std::string common;
  ShaderFile* current = nullptr;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    if (line.rfind("//@entry ", 0) == 0) {
      std::istringstream words(line.substr(9));
      std::string entry;
      std::string ext;
      words >> entry >> ext;
      if (entry.empty() || !KnownExtension(ext)) {
        std::fprintf(stderr, "%s.glsl:%d: expected //@entry <Entry> <vs|hs|ds|gs|ps>\n", name.c_str(),
                     lineNumber);
        return false;
      }
      out.push_back({"data/shaders/" + name + entry + "." + ext, common});
      current = &out.back();
      // Keep the compiler's line numbers equal to the family source's.
      current->text += "#line " + std::to_string(lineNumber + 1) + "\n";
      continue;
    }
    if (!ExpandIncludes(root, line, lineNumber, 0, current ? current->text : common)) return false;
  }
  if (!current) {
    std::fprintf(stderr, "%s.glsl: no //@entry section\n", name.c_str());
    return false;
  }
  return true;
}

std::string CppString(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : text) {
    if (c == '\n') {
      out += "\\n\"\n    \"";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\%03o", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool WriteIfChanged(const fs::path& path, const std::string& text) {
  if (fs::exists(path) && ReadText(path) == text) return true;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s <symbol> <output dir> <table.cpp> <source root> <source>...\n", argv[0]);
    return 2;
  }
  const std::string symbol = argv[1];
  const fs::path outputDir = argv[2];
  const fs::path tablePath = argv[3];
  const fs::path sourceRoot = argv[4];

  std::vector<ShaderFile> files;
  for (int i = 5; i < argc; ++i) {
    const fs::path source = argv[i];
    const std::string relative = fs::relative(source, sourceRoot).generic_string();
    const std::string text = ReadText(source);
    if (source.extension() == ".inc") continue;  // only ever included
    if (source.extension() == ".glsl") {
      const std::string name = relative.substr(0, relative.size() - 5);
      if (!SplitFamily(sourceRoot, name, text, files)) return 1;
    } else {
      std::string expanded;
      if (!ExpandIncludes(sourceRoot, text, 1, 0, expanded)) return 1;
      files.push_back({"data/shaders/" + relative, expanded});
    }
  }

  std::string table = "// Generated by orvane_shader_pack from the shader sources. Do not edit.\n"
                      "#include \"resources/EmbeddedFiles.h\"\n\nnamespace orvane {\n\nnamespace {\n"
                      "constexpr EmbeddedFile kFiles[] = {\n";
  for (const ShaderFile& file : files) {
    if (!WriteIfChanged(outputDir / file.path, file.text)) {
      std::fprintf(stderr, "cannot write %s\n", (outputDir / file.path).string().c_str());
      return 1;
    }
    table += "  {\"" + file.path + "\",\n    " + CppString(file.text) + ",\n    " +
             std::to_string(file.text.size()) + "},\n";
  }
  if (files.empty()) table += "  {\"\", \"\", 0},\n";
  table += "};\n}  // namespace\n\nstd::span<const EmbeddedFile> " + symbol + "() {\n  return std::span(kFiles)" +
           (files.empty() ? ".first(0)" : "") + ";\n}\n\n}  // namespace orvane\n";
  return WriteIfChanged(tablePath, table) ? 0 : 1;
}
