#include "quillrt/files/folder_efficient_file_list.h"

#include <string_view>

#include "quillrt/collections/comparisons.h"

namespace quill {

namespace {

struct SplitName {
  std::u16string_view folder;
  std::u16string_view name;
};

// Splits at the last '/', or at the last '\' when there is no '/'. The folder
// keeps a lone leading separator (the root) and loses any other trailing one.
SplitName SplitFullName(std::u16string_view full) {
  std::size_t at = full.rfind(u'/');
  if (at == std::u16string_view::npos) at = full.rfind(u'\\');
  if (at == std::u16string_view::npos) return {{}, full};
  return {full.substr(0, at == 0 ? 1 : at), full.substr(at + 1)};
}

bool EndsWithSeparator(std::u16string_view folder) {
  return !folder.empty() && (folder.back() == u'/' || folder.back() == u'\\');
}

WideChar SeparatorOf(std::u16string_view folder) {
  const bool backslashes_only =
      folder.find(u'\\') != std::u16string_view::npos && folder.find(u'/') == std::u16string_view::npos;
  return backslashes_only ? u'\\' : u'/';
}

// One key of DoASort: date newest first, the others ascending.
int CompareOn(TMySimpleSearchRecSort key, const TMySimpleSearchRec& a, const TMySimpleSearchRec& b) {
  switch (key) {
    case ss_date: return CompareDates(a.DateTime, b.DateTime);
    case ss_size: return CompareLongints(a.Size, b.Size);
    case ss_folder: return CompareLongints(a.folder_number, b.folder_number);
    case ss_shortname: return Compare2Strings(a.ShortName, b.ShortName);
    default: return 0;
  }
}

}  // namespace

// ---- TMySimpleSearchRecHolderStringlist ------------------------------------------

TMySimpleSearchRecHolderStringlist::~TMySimpleSearchRecHolderStringlist() = default;

UnicodeString TMySimpleSearchRecHolderStringlist::Get(int i) const {
  const TMySimpleSearchRecHolder* holder = HolderAt(i);
  return holder ? holder->data.ShortName : UnicodeString();
}

std::int32_t TMySimpleSearchRecHolderStringlist::GetAFolderNumber(int i) const {
  const TMySimpleSearchRecHolder* holder = HolderAt(i);
  return holder ? holder->data.folder_number : 0;
}

TMySimpleSearchRec TMySimpleSearchRecHolderStringlist::GetASimpleSearchRec(int i) const {
  const TMySimpleSearchRecHolder* holder = HolderAt(i);
  return holder ? holder->data : TMySimpleSearchRec{};
}

void TMySimpleSearchRecHolderStringlist::SetAShortName(int i, const UnicodeString& name) {
  TMySimpleSearchRecHolder* holder = HolderAt(i);
  if (holder == nullptr) return;
  // The line text and the record change together, so Get, IndexOf and the full
  // name all see the new name.
  const bool was_sorted = Sorted();
  SetSorted(false);
  Put(i, name);
  holder->data.ShortName = name;
  if (was_sorted) SetSorted(true);
}

// ---- TFolderEfficientFileStringlist ----------------------------------------------

TFolderEfficientFileStringlist::TFolderEfficientFileStringlist() = default;
TFolderEfficientFileStringlist::~TFolderEfficientFileStringlist() = default;

void TFolderEfficientFileStringlist::Clear() {
  files.Clear();
  folders.Clear();
  folder_index_.clear();
}

std::int32_t TFolderEfficientFileStringlist::FindFolder(std::u16string_view folder) const {
  // `folders` is public: when its count no longer matches the index, it was
  // changed from outside and the index is rebuilt; a hit is checked against it.
  if (folder_index_.size() != static_cast<std::size_t>(folders.Count())) {
    folder_index_.clear();
    for (int i = 0; i < folders.Count(); ++i) folder_index_.emplace(folders[i], i);
  }
  const auto it = folder_index_.find(UnicodeString(folder));
  if (it != folder_index_.end() && it->second < folders.Count() && folders[it->second] == folder) return it->second;
  return -1;
}

std::int32_t TFolderEfficientFileStringlist::FolderIndex(const UnicodeString& folder) {
  const std::int32_t found = FindFolder(folder);
  if (found >= 0) return found;
  const std::int32_t added = folders.Add(folder);
  folder_index_.emplace(folder, added);
  return added;
}

int TFolderEfficientFileStringlist::AddOne(const UnicodeString& full) {
  const SplitName split = SplitFullName(full);
  TMySimpleSearchRec rec;
  rec.ShortName = UnicodeString(split.name);
  rec.folder_number = FolderIndex(UnicodeString(split.folder));
  return AddOne(rec.folder_number, rec);
}

int TFolderEfficientFileStringlist::AddOne(const UnicodeString& afolder, const TMySimpleSearchRec& file_info) {
  TMySimpleSearchRec rec = file_info;
  rec.folder_number = FolderIndex(afolder);
  return AddOne(rec.folder_number, rec);
}

int TFolderEfficientFileStringlist::AddOne(std::int32_t /*known_foldernum*/, const TMySimpleSearchRec& file_info) {
  // The record's own folder_number is the one kept; callers set it beforehand.
  return files.AddObject(file_info.ShortName, std::make_unique<TMySimpleSearchRecHolder>(file_info));
}

UnicodeString TFolderEfficientFileStringlist::GetFullFilename(int index) const {
  if (!files.IndexAssignedOK(index)) return {};
  const TMySimpleSearchRec rec = files.GetASimpleSearchRec(index);
  if (rec.folder_number < 0 || rec.folder_number >= folders.Count()) return rec.ShortName;
  const UnicodeString& folder = folders[rec.folder_number];
  if (folder.empty()) return rec.ShortName;
  UnicodeString full = folder;
  if (!EndsWithSeparator(folder)) full.push_back(SeparatorOf(folder));
  full += rec.ShortName;
  return full;
}

void TFolderEfficientFileStringlist::SetFullFilename(int index, const UnicodeString& full) {
  files.SetAShortName(index, UnicodeString(SplitFullName(full).name));
}

int TFolderEfficientFileStringlist::IndexOf(const UnicodeString& full) const {
  const SplitName split = SplitFullName(full);
  const std::int32_t folder = FindFolder(split.folder);
  if (folder < 0) return -1;
  for (int i = 0; i < files.Count(); ++i) {
    if (files.GetAFolderNumber(i) == folder && files[i] == split.name) return i;
  }
  return -1;
}

std::unique_ptr<TStringList> TFolderEfficientFileStringlist::GetAsStringlist() const {
  auto names = std::make_unique<TStringList>();
  std::vector<UnicodeString> lines;
  lines.reserve(static_cast<std::size_t>(Count()));
  for (int i = 0; i < Count(); ++i) lines.push_back(GetFullFilename(i));
  names->AddStrings(std::move(lines));
  return names;
}

void TFolderEfficientFileStringlist::DoASort(TMySimpleSearchRecSort how1, TMySimpleSearchRecSort how2,
                                             bool ascending) {
  sort_1 = how1;
  sort_2 = how2;
  // The second key belongs to this call alone, so sorts of different lists (or a
  // sort started while another runs) cannot disturb one another.
  const TMySimpleSearchRecSort second = how2 == how1 ? ss_none : how2;
  if (how1 == ss_none) return;
  files.CustomSort([how1, second](TStringListOf<std::unique_ptr<TMySimpleSearchRecHolder>>& list, int a, int b) {
    const auto& self = static_cast<const TMySimpleSearchRecHolderStringlist&>(list);
    const TMySimpleSearchRec& x = self.SortedRec(a);
    const TMySimpleSearchRec& y = self.SortedRec(b);
    const int first = CompareOn(how1, x, y);
    return first != 0 ? first : CompareOn(second, x, y);
  });
  if (!ascending) files.ReverseTheSort();
}

}  // namespace quill
