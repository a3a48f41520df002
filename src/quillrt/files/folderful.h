#pragma once
// The files of one folder of a walk, as a sortable list with a binary form.
//
// Stream form: the requested order (1 byte), Starts, Ends and dirnum (int32
// each), DirName (counted UTF-16 string), then the list (see search_rec_list.h).
// The favourites file of the file-and-folder iterator is made of these.
//
// The full name of entry i is DirName followed by its ShortName, for files on
// disk and archive entries alike (an entry's ShortName is the archive's name, a
// backslash and the stored name).
#include <cstdint>

#include "quillrt/files/file_records.h"
#include "quillrt/files/search_rec_list.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

class TPeruseDir;

class QUILLRT_API TFolderful {
 public:
  // DirName gets a trailing delimiter when it has none.
  explicit TFolderful(const UnicodeString& ADirname);
  ~TFolderful();
  TFolderful(const TFolderful&) = delete;
  TFolderful& operator=(const TFolderful&) = delete;

  // Lists the folder's files with the walker; without one, empties the list.
  void FillList(TPeruseDir* walker);

  const UnicodeString& DirName() const { return fDirname; }
  void SetDirName(const UnicodeString& name);
  std::int32_t dirnum() const { return fdirnum; }
  void Setdirnum(std::int32_t value) { fdirnum = value; }
  std::int32_t Starts() const { return fstarts; }
  void SetStarts(std::int32_t value) { fstarts = value; }
  std::int32_t Ends() const { return fends; }
  void SetEnds(std::int32_t value) { fends = value; }
  TMySearchRecList& ListOfFiles() { return fThisList; }
  const TMySearchRecList& ListOfFiles() const { return fThisList; }
  bool Processing_Files() const { return fProcessing_files; }
  void SetProcessing_Files(bool processing) { fProcessing_files = processing; }

  // The number of files; 0 once processing has stopped.
  int Count() const { return fProcessing_files ? fThisList.Count() : 0; }
  int Files() const { return Count(); }
  bool Empty() const { return fThisList.Count() == 0; }
  TMySearchRecSort CurrentSort() const { return fSort; }
  // Sorts the list into `order`, which becomes the requested order.
  void SetCurrentSort(TMySearchRecSort order);

  // By position; a bad index gives an empty name, a zeroed record or -1.
  UnicodeString ShortName(int i) const;
  UnicodeString FullName(int i) const;
  // Renames the file to `new_full_name`; its ShortName becomes the new name's
  // file-name part. A failed rename raises EInOutError "cannot rename <old
  // full name>" and changes nothing. Nothing happens for a bad index.
  void SetFullName(int i, const UnicodeString& new_full_name);
  TMySearchRec SearchRec(int i) const;
  // DateTime, Size and ShortName, with folder_number 0.
  TMySimpleSearchRec SimpleSearchRec(int i) const;
  std::int32_t GetAFileSize(int i) const;
  bool InAZip(int i) const;

  // Write and read the stream form; stream failures raise. Reading replaces the
  // list in stored order, leaving the list's own order unknown.
  void SaveToStream(TStream& stream) const;
  void ReadFromStream(TStream& stream);
  // The same, on an open file stream.
  void SaveToFile(TStream& stream) const { SaveToStream(stream); }
  void ReadFromFile(TStream& stream) { ReadFromStream(stream); }

 private:
  bool Valid(int i) const { return i >= 0 && i < fThisList.Count(); }

  TMySearchRecSort fSort = sr_sort_none;
  std::int32_t fdirnum = 0;
  std::int32_t fstarts = 0;
  std::int32_t fends = 0;
  TMySearchRecList fThisList;
  UnicodeString fDirname;
  bool fProcessing_files = true;
};

}  // namespace quill
