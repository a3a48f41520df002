#pragma once
// String lists with binary stream forms.
//
// TMySaveStringList, when save_Objects_too:
//   int32 N, then per line: int32 (the line's object slot), counted UTF-16 string
// and without save_Objects_too the same without the int32s.
//
// TMyStreamableStringlist:
//   int32 -N, then N counted UTF-16 strings. Reading also accepts the older form,
//   a positive N followed by N short 8-bit strings in the system's 8-bit code
//   page. 0 means no lines in either form.
//
// Both lists also answer the framework's LoadFromStream / SaveToStream (and so
// LoadFromFile / SaveToFile) with these forms.
#include <cstdint>

#include "quillrt/collections/string_lists_base.h"
#include "quillrt/framework/streams.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class QUILLRT_API TMySaveStringList : public TIndexCheckStringlist {
 public:
  // saving_objects_as_integer: the object slots hold int32 values to persist.
  explicit TMySaveStringList(bool saving_objects_as_integer);
  ~TMySaveStringList() override;

  // Appends the lines of the stream (the list is not cleared first). A damaged
  // stream raises (EReadError; EStreamError for a line longer than
  // global_string_safety_limit); the lines read before the damage stay.
  void LoadFromStream(TStream& Stream, const TEncoding* encoding = nullptr) override;
  void SaveToStream(TStream& Stream, const TEncoding* encoding = nullptr) const override;

  bool save_Objects_too;
};

class QUILLRT_API TMyStreamableStringlist : public TStringList {
 public:
  ~TMyStreamableStringlist() override;

  // Replaces the lines by those of the stream, yielding before each line. False
  // on any failure, keeping the lines read so far.
  bool ReadFromStream(TStream& Stream);
  // Writes the current form, yielding per line; false on a stream failure.
  bool SaveToStream(TStream& Stream) const;

  // The framework's entry points: as above, raising EReadError / EWriteError
  // instead of answering false.
  void LoadFromStream(TStream& Stream, const TEncoding* encoding) override;
  void SaveToStream(TStream& Stream, const TEncoding* encoding) const override;
};

}  // namespace quill
