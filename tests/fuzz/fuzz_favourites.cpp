// Arbitrary bytes as a favourites file of the file-and-folder iterator, read
// from a stream (the first byte choosing the running tool, so that both the
// signature check and the body are reached). Checks that a refused or damaged
// file leaves no result behind, and that what was read saves, reads back as the
// same folders, numbering and files, and saves again to the same bytes.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quillfs/file_and_dir_iterator.h"
#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/streams.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/tool_kinds.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void RequireCleared(const quill::TFileAndDirIterator& iterator) {
  Require(iterator.Total() == 0);
  Require(iterator.DirCount() == 0);
  Require(iterator.Dirs().Count() == 0);
  Require(iterator.Folders().empty());
}

// Field by field, the date by its bits: a stored date may be any double, NaN included.
bool SameRec(const quill::TMySearchRec& a, const quill::TMySearchRec& b) {
  return std::bit_cast<std::uint64_t>(a.DateTime) == std::bit_cast<std::uint64_t>(b.DateTime) && a.Size == b.Size &&
         a.Attr == b.Attr && a.Number_Within_Zip == b.Number_Within_Zip && a.ShortName == b.ShortName;
}

std::string_view Bytes(quill::TMemoryStream& stream) {
  return {reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.GetSize())};
}

void RequireSameResult(const quill::TFileAndDirIterator& a, const quill::TFileAndDirIterator& b) {
  Require(a.Total() == b.Total());
  Require(a.DirCount() == b.DirCount());
  Require(a.HeadDir() == b.HeadDir() && a.FileMask() == b.FileMask() && a.DirMask() == b.DirMask());
  Require(a.SortOrder() == b.SortOrder() && a.IncludeSubFolders() == b.IncludeSubFolders());
  std::int64_t files = 0;
  for (int i = 0; i < a.DirCount(); ++i) {
    Require(a.Dirs()[i] == b.Dirs()[i]);
    const quill::TFolderful* fa = a.Folder(i);
    const quill::TFolderful* fb = b.Folder(i);
    Require(fa != nullptr && fb != nullptr);
    Require(fa->Starts() == fb->Starts() && fa->Ends() == fb->Ends() && fa->dirnum() == fb->dirnum());
    Require(fa->Count() == fb->Count());
    for (int j = 0; j < fa->Count(); ++j) Require(SameRec(fa->SearchRec(j), fb->SearchRec(j)));
    // The numbering a hand-over and the percentages rely on.
    if (fa->Count() > 0) Require(fa->Starts() == files && fa->Ends() == files + fa->Count() - 1);
    files += fa->Count();
  }
  Require(files == a.Total());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  quill::current_tool_var = static_cast<quill::tool_type>(data[0] % (quill::tool_none + 1));
  quill::TMemoryStream in;
  in.WriteBuffer(data + 1, static_cast<std::int64_t>(size - 1));
  in.SetPosition(0);

  quill::TFileAndDirIterator iterator;
  bool read = false;
  try {
    read = iterator.ReadFavouritesFrom(in);
  } catch (const quill::Exception&) {
    RequireCleared(iterator);
    return 0;
  }
  if (!read) {
    RequireCleared(iterator);
    return 0;
  }

  quill::TMemoryStream first;
  iterator.SaveFavouritesTo(first);
  first.SetPosition(0);
  quill::TFileAndDirIterator again;
  Require(again.ReadFavouritesFrom(first));
  RequireSameResult(iterator, again);
  quill::TMemoryStream second;
  again.SaveFavouritesTo(second);
  Require(Bytes(first) == Bytes(second));
  return 0;
}
