#pragma once
// The text the benchmarks run on: the Brown corpus from data/brown (found from
// the working folder upwards, or named by QUILL_BROWN_DIR) with its word/TAG
// tags stripped, and the size to run at from an environment variable.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quill::bench {

// The folder tree the walking benchmarks share: QUILL_WALK_TREE, or 100 folders
// of 10 subfolders of 100 files each, made once in /tmp.
inline std::string WalkTreeFolder() {
  if (const char* given = std::getenv("QUILL_WALK_TREE")) return given;
  const std::filesystem::path tree = "/tmp/quill-walk-tree-100000";
  if (std::filesystem::exists(tree / "done")) return tree.string();
  const auto named = [](char letter, int number) { return std::string(1, letter) + std::to_string(number); };
  for (int top = 0; top < 100; ++top) {
    for (int sub = 0; sub < 10; ++sub) {
      const auto folder = tree / named('d', top) / named('s', sub);
      std::filesystem::create_directories(folder);
      for (int file = 0; file < 100; ++file) std::ofstream(folder / (named('f', file) + ".txt")) << "text\n";
    }
  }
  std::ofstream(tree / "done");
  return tree.string();
}

// Megabytes from `variable` when it holds a positive number, else `default_mb`.
inline std::size_t MegabytesFromEnv(const char* variable, std::size_t default_mb) {
  if (const char* env = std::getenv(variable); env != nullptr && std::atol(env) > 0)
    return static_cast<std::size_t>(std::atol(env));
  return default_mb;
}

// The corpus folder, or an empty path when there is none.
inline std::filesystem::path BrownFolder() {
  namespace fs = std::filesystem;
  if (const char* env = std::getenv("QUILL_BROWN_DIR"); env != nullptr) return env;
  fs::path dir = fs::current_path();
  for (int up = 0; up < 6; ++up, dir = dir.parent_path()) {
    if (fs::is_directory(dir / "data" / "brown")) return dir / "data" / "brown";
    if (dir == dir.parent_path()) break;
  }
  return {};
}

// The sample files (named c<genre letter><two digits>), in name order.
inline std::vector<std::filesystem::path> BrownSampleFiles() {
  std::vector<std::filesystem::path> files;
  const auto folder = BrownFolder();
  if (folder.empty()) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.size() == 4 && name[0] == 'c' && std::isdigit(name[2]) != 0)
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// "word/tag" tokens become "word"; layout (spaces, line breaks, tabs) stays.
inline std::string StripTags(const std::string& tagged) {
  std::string plain;
  plain.reserve(tagged.size());
  std::size_t i = 0;
  while (i < tagged.size()) {
    if (std::isspace(static_cast<unsigned char>(tagged[i]))) {
      plain.push_back(tagged[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < tagged.size() && !std::isspace(static_cast<unsigned char>(tagged[end]))) ++end;
    const std::size_t slash = tagged.rfind('/', end - 1);
    plain.append(tagged, i, (slash != std::string::npos && slash > i ? slash : end) - i);
    i = end;
  }
  return plain;
}

// The whole corpus without its tags, or an empty string when it is missing.
inline std::string BrownText() {
  std::string text;
  for (const auto& file : BrownSampleFiles()) {
    std::ifstream in(file, std::ios::binary);
    text += StripTags(std::string(std::istreambuf_iterator<char>(in), {}));
  }
  return text;
}

}  // namespace quill::bench
