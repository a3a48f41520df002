#pragma once
// The two records a found file travels in: the full record the folder walker
// makes for each file on disk or inside a zip archive, and the slimmer record of
// the file lists, which keeps the folder as a number. Each has a holder object
// that owns one copy of it as `data`, for lists of pointers.
#include <cstdint>

#include "quillrt/framework/date_time.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

struct TMySearchRec {
  TDateTime DateTime = 0;  // last write, local time (2-second resolution for plain files)
  std::int32_t Size = 0;   // bytes: the low 32 bits of the file's size
  std::int32_t Attr = 0;   // attribute bits: read-only 1, hidden 2, system 4, directory 16, archive 32
  // 0 for a file on disk; for a zip entry its 1-based position in the archive.
  std::int16_t Number_Within_Zip = 0;
  // The name without folder; for a zip entry: archive path, '\', entry name.
  UnicodeString ShortName;
  friend bool operator==(const TMySearchRec&, const TMySearchRec&) = default;
};

struct TMySimpleSearchRec {
  TDateTime DateTime = 0;
  std::int32_t Size = 0;
  std::int32_t folder_number = 0;  // index of the file's folder in its list of folders
  UnicodeString ShortName;
  friend bool operator==(const TMySimpleSearchRec&, const TMySimpleSearchRec&) = default;
};

// Sort keys of the slim record, in this order.
enum TMySimpleSearchRecSort : std::uint8_t { ss_none, ss_date, ss_size, ss_folder, ss_shortname };

class QUILLRT_API TMySearchRecHolder {
 public:
  TMySearchRecHolder() = default;
  explicit TMySearchRecHolder(const TMySearchRec& d) : data(d) {}
  TMySearchRec data;
};

class QUILLRT_API TMySimpleSearchRecHolder {
 public:
  TMySimpleSearchRecHolder() = default;
  explicit TMySimpleSearchRecHolder(const TMySimpleSearchRec& d) : data(d) {}
  TMySimpleSearchRec data;
};

}  // namespace quill
