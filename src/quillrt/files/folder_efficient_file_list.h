#pragma once
// Lists of found files: a string list owning one slim file record per line, and
// the folder-efficient file list, which keeps each folder once and every file as
// a slim record pointing at its folder by number.
//
// Full names are split at the last '/'; a name with no '/' but a '\' (a Windows
// style path) is split at the last '\'. So the entries inside a zip archive,
// "archive.zip\entry" under the archive's folder, stay whole. A full name is put
// back together with the separator its folder uses ('\' for a folder written
// with '\' only, else '/'); a file with no folder gets none.
//
// Folder paths and file names are compared exactly, case included: on this
// platform "Corpus" and "corpus" are different folders and files.
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "quillrt/collections/string_lists_base.h"
#include "quillrt/files/file_records.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// One line per file, whose text is the record's ShortName.
class QUILLRT_API TMySimpleSearchRecHolderStringlist : public TOwningIndexCheckStringlist<TMySimpleSearchRecHolder> {
 public:
  ~TMySimpleSearchRecHolderStringlist() override;

  // The ShortName of line i's record; empty for a bad index.
  UnicodeString Get(int i) const override;
  // The folder number of line i's record; 0 for a bad index.
  std::int32_t GetAFolderNumber(int i) const;
  // A copy of line i's record; an empty record for a bad index.
  TMySimpleSearchRec GetASimpleSearchRec(int i) const;
  // Replaces the name of line i, in the line's text and its record alike.
  void SetAShortName(int i, const UnicodeString& name);

  // The record of line `index` during a sort (index as at the start of the sort).
  const TMySimpleSearchRec& SortedRec(int index) const { return SortedHolder(index)->data; }
};

class QUILLRT_API TFolderEfficientFileStringlist {
 public:
  TFolderEfficientFileStringlist();
  ~TFolderEfficientFileStringlist();
  TFolderEfficientFileStringlist(const TFolderEfficientFileStringlist&) = delete;
  TFolderEfficientFileStringlist& operator=(const TFolderEfficientFileStringlist&) = delete;

  // Empties both lists.
  void Clear();
  // The number of files.
  int Count() const { return files.Count(); }
  // Removes a file (its folder stays); nothing for a bad index.
  void Delete(int index) { files.Delete(index); }

  // Adds a file by its full name: its folder is found or appended, and a record
  // with the name and that folder's number (other fields zero) is added.
  // Returns the file's index.
  int AddOne(const UnicodeString& full);
  int Add(const UnicodeString& full) { return AddOne(full); }
  // Adds file_info under `afolder` (found or appended), with its folder number set.
  int AddOne(const UnicodeString& afolder, const TMySimpleSearchRec& file_info);
  // Adds file_info as it is: its own folder_number is kept.
  int AddOne(std::int32_t known_foldernum, const TMySimpleSearchRec& file_info);

  // Folder, separator and name; only the name when the record's folder number
  // is out of range; empty for a bad index.
  UnicodeString GetFullFilename(int index) const;
  // Renames file `index` to the name part of `full`; its folder stays as it is.
  void SetFullFilename(int index, const UnicodeString& full);
  // The index of the file with this full name (its folder and its name), or -1.
  int IndexOf(const UnicodeString& full) const;
  TMySimpleSearchRec GetASimpleSearchRec(int index) const { return files.GetASimpleSearchRec(index); }
  // A new list (the caller's) of every file's full name, in order.
  std::unique_ptr<TStringList> GetAsStringlist() const;

  // Sorts the files by how1, ties by how2 (no second key when how2 = how1):
  // ss_date newest first, ss_size, ss_folder (folder number) and ss_shortname
  // (code units) ascending; then reverses the whole list unless `ascending`. So
  // with ss_date, ascending lists the newest file first. With how1 = ss_none
  // nothing moves. The keys are remembered in sort_1 and sort_2.
  void DoASort(TMySimpleSearchRecSort how1, TMySimpleSearchRecSort how2, bool ascending);

  TMySimpleSearchRecHolderStringlist files;  // one line per file
  TStringList folders;                       // each folder once
  TMySimpleSearchRecSort sort_1 = ss_none;
  TMySimpleSearchRecSort sort_2 = ss_none;

 private:
  // The index of `folder` in folders, or -1; FolderIndex appends it when absent.
  std::int32_t FindFolder(std::u16string_view folder) const;
  std::int32_t FolderIndex(const UnicodeString& folder);

  // Folder path -> index in `folders`, so adding many folders stays linear.
  mutable std::unordered_map<UnicodeString, std::int32_t> folder_index_;
};

}  // namespace quill
