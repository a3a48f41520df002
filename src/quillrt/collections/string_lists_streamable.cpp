#include "quillrt/collections/string_lists_streamable.h"

#include <exception>

#include "quillrt/collections/stream_forms.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

// Holds a list between BeginUpdate and EndUpdate, also when reading raises.
class UpdateScope {
 public:
  explicit UpdateScope(TStrings& list) : list_(list) { list_.BeginUpdate(); }
  ~UpdateScope() { list_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TStrings& list_;
};

}  // namespace

// ---- TMySaveStringList -------------------------------------------------------

TMySaveStringList::TMySaveStringList(bool saving_objects_as_integer)
    : save_Objects_too(saving_objects_as_integer) {}

TMySaveStringList::~TMySaveStringList() = default;

void TMySaveStringList::LoadFromStream(TStream& Stream, const TEncoding*) {
  UpdateScope update(*this);
  const auto n = Stream.ReadLE<std::int32_t>();
  for (std::int32_t i = 0; i < n; ++i) {
    if (save_Objects_too) {
      const auto value = Stream.ReadLE<std::int32_t>();
      const UnicodeString line = ReadAString(Stream);
      AddObject(line, TObjectRef::FromInt(value));
    } else {
      Add(ReadAString(Stream));
    }
  }
}

void TMySaveStringList::SaveToStream(TStream& Stream, const TEncoding*) const {
  Stream.WriteLE<std::int32_t>(Count());
  for (int i = 0; i < Count(); ++i) {
    if (save_Objects_too) Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(GetObject(i).AsInt()));
    WriteAString(Stream, (*this)[i]);
  }
}

// ---- TMyStreamableStringlist -------------------------------------------------

TMyStreamableStringlist::~TMyStreamableStringlist() = default;

bool TMyStreamableStringlist::ReadFromStream(TStream& Stream) {
  UpdateScope update(*this);
  Clear();
  try {
    const auto n = Stream.ReadLE<std::int32_t>();
    // Widened first: the magnitude of the most negative int32 does not fit one.
    const std::int64_t lines = n < 0 ? -static_cast<std::int64_t>(n) : n;
    for (std::int64_t i = 0; i < lines; ++i) {
      MyYieldProcess();
      if (n < 0)
        Add(ReadAString(Stream));
      else
        Add(TEncoding::Default()->GetString(ReadShortString(Stream)));
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool TMyStreamableStringlist::SaveToStream(TStream& Stream) const {
  try {
    Stream.WriteLE<std::int32_t>(-Count());
    for (const UnicodeString& line : *this) {
      MyYieldProcess();
      WriteAString(Stream, line);
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TMyStreamableStringlist::LoadFromStream(TStream& Stream, const TEncoding*) {
  if (!ReadFromStream(Stream)) throw EReadError(FileReadErrorMessage("TMyStreamableStringlist"));
}

void TMyStreamableStringlist::SaveToStream(TStream& Stream, const TEncoding*) const {
  if (!SaveToStream(Stream)) throw EWriteError(FileWriteErrorMessage("TMyStreamableStringlist"));
}

}  // namespace quill
