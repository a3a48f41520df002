#pragma once
// The pictures of `concord --png` and `dispersion --png` are drawn by a module
// of their own (quill-pictures.so), loaded only when a picture is asked for:
// the Qt libraries it needs take longer to load than many a whole run without
// them. The module hands the tool one table of writers; the tool checks that
// the table comes from its own build before calling through it, since the
// writers take the tool's C++ types as they are.
#include <string>
#include <vector>

#include "concord_picture.h"
#include "dispersion_picture.h"

namespace quill::cli {

struct PictureWriters {
  const char* build;  // QUILL_VERSION of the module's build
  void (*concord)(const std::string& path, const std::vector<ConcordanceLine>& lines, const ConcordPictureInfo& info);
  void (*dispersion)(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                     int width);
};

inline constexpr const char* kPictureModuleFile = "quill-pictures.so";
inline constexpr const char* kPictureWritersSymbol = "quill_picture_writers";

// The module's writers themselves (named apart from the tool's forwarders,
// which the module would otherwise find first).
void SaveConcordPicture(const std::string& path, const std::vector<ConcordanceLine>& lines,
                        const ConcordPictureInfo& info);
void SaveDispersionPicture(const std::string& path, const std::string& words, const jobs::DispersionResult& result,
                           int width);

}  // namespace quill::cli

// The module's one entry point, found by name.
extern "C" const quill::cli::PictureWriters* quill_picture_writers();
