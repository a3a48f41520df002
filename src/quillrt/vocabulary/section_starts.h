#pragma once
// The list of section starts saved beside a text: where each section of the text
// begins (a byte position) and its name, so that a tool can say in which section
// a hit lies without reading the text again.
//
// File: the 57-byte saved-list header of the running tool for the section list
// ("Section List32"), then the stream form. Stream form, little-endian: int32
// count, then per section its int32 start and its name as a counted UTF-16
// string.
#include <cstdint>

#include "quillrt/framework/lists.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

struct TSectionTagRec {
  std::int32_t start_byte_position = 0;
  UnicodeString w;  // the section's name
};

struct TSectionStartInfo {
  UnicodeString section;
  std::int32_t section_number = 0;  // 1 for the first section; 0 for none
};

struct TSectionStartHolder {
  TSectionTagRec data;
};

// Orders holders by start, ascending (negative, zero or positive).
QUILLRT_API int SortSectionTags(const TSectionStartHolder* a, const TSectionStartHolder* b);

// Size of the saved-list header in front of a section-starts file.
inline constexpr std::int64_t kSectionFileHeaderSize = 57;

class QUILLRT_API TSectionStartsList : public TObjectList<TSectionStartHolder> {
 public:
  ~TSectionStartsList() override;

  // Appends a section; returns its holder (owned by the list).
  TSectionStartHolder* AddSection(std::int32_t start_byte_position, const UnicodeString& name);

  // The record at `index`, or start -1 and an empty name for an invalid index.
  TSectionTagRec GetASection(int index) const;

  // Sorts by start (SortSectionTags), as SectionFromBytePosition expects.
  void SortByStart();

  // Appends the sections of the stream form (the list is not cleared first).
  // False when the count or a start did not arrive or the count is negative;
  // then the list is left as it was. A name beyond the reading limit raises the
  // stream's exception, also leaving the list as it was.
  bool ReadFromStream(TStream& stream);

  // Writes the stream form; stops at the first failed write and answers false.
  // Stream exceptions reach the caller.
  bool SaveToStream(TStream& stream) const;

  // The file form: header, then the stream form. SaveToFile replaces the file
  // only when everything was written (nothing half-written is left);
  // ReadFromFile answers false for a header of another tool version or list kind
  // and raises EFOpenError when the file cannot be opened.
  bool ReadFromFile(const UnicodeString& file_name);
  bool SaveToFile(const UnicodeString& file_name) const;

  // The section containing `byte_position`: in a list sorted by start, the last
  // section at or after index `count_from` whose start is not beyond the
  // position. An empty name and number 0 when none qualifies (the position lies
  // before section `count_from`, or `count_from` is past the end). A tool that
  // walks forward through a text passes the previous answer's number less one.
  TSectionStartInfo SectionFromBytePosition(int count_from, std::int64_t byte_position) const;
};

}  // namespace quill
