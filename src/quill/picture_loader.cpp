// The tool's side of the pictures module: found beside the tool (a build
// tree) or in the installed library folder, loaded on the first picture and
// kept for the rest of the run.
#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "concord_picture.h"
#include "corpus_input.h"
#include "dispersion_picture.h"
#include "pictures/picture_module.h"

namespace quill::cli {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ModulePlaces() {
  std::error_code error;
  const fs::path tool = fs::read_symlink("/proc/self/exe", error);
  const fs::path folder = error ? fs::path(".") : tool.parent_path();
  return {folder / kPictureModuleFile, (folder / QUILL_PICTURES_FROM_BINDIR / kPictureModuleFile).lexically_normal()};
}

// The writers of the first module that loads and comes from this build; the
// reasons of every place tried when none does.
const PictureWriters* LoadWriters(std::string& reasons) {
  for (const fs::path& place : ModulePlaces()) {
    std::error_code error;
    if (!fs::exists(place, error)) continue;
    void* module = ::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      reasons += std::string("; ") + ::dlerror();
      continue;
    }
    using Entry = const PictureWriters* (*)();
    const auto entry = reinterpret_cast<Entry>(::dlsym(module, kPictureWritersSymbol));
    const PictureWriters* writers = entry != nullptr ? entry() : nullptr;
    if (writers != nullptr && std::strcmp(writers->build, QUILL_VERSION) == 0) return writers;  // stays loaded
    reasons += "; " + place.string() + " belongs to another build of quill";
    ::dlclose(module);
  }
  return nullptr;
}

const PictureWriters& Writers() {
  static const PictureWriters* writers = [] {
    std::string reasons;
    const PictureWriters* found = LoadWriters(reasons);
    if (found == nullptr)
      Fail("pictures cannot be drawn: " +
               (reasons.empty() ? std::string(kPictureModuleFile) + " was not found beside quill or in its library folder"
                                : reasons.substr(2)),
           kExitFailure);
    return found;
  }();
  return *writers;
}

}  // namespace

void WriteConcordPicture(const std::string& path, const std::vector<ConcordanceLine>& lines,
                         const ConcordPictureInfo& info) {
  Writers().concord(path, lines, info);
}

void WriteDispersionPicture(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                            int width) {
  Writers().dispersion(path, words, result, width);
}

}  // namespace quill::cli
