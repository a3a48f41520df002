#include "quillrt/files/folderful.h"

#include "quillrt/collections/stream_forms.h"
#include "quillrt/files/peruse_dir.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

TFolderful::TFolderful(const UnicodeString& ADirname) { SetDirName(ADirname); }

TFolderful::~TFolderful() = default;

void TFolderful::SetDirName(const UnicodeString& name) {
  fDirname = name.empty() || name.back() == PathDelim ? name : name + PathDelim;
}

void TFolderful::FillList(TPeruseDir* walker) {
  if (walker == nullptr) {
    fThisList.Clear();
    return;
  }
  walker->HandleAllFilesIn(fDirname, &fThisList);
}

void TFolderful::SetCurrentSort(TMySearchRecSort order) {
  fThisList.SetSort(order);
  fSort = order;
}

UnicodeString TFolderful::ShortName(int i) const { return Valid(i) ? fThisList[i]->data.ShortName : UnicodeString(); }

UnicodeString TFolderful::FullName(int i) const { return Valid(i) ? fDirname + fThisList[i]->data.ShortName : UnicodeString(); }

void TFolderful::SetFullName(int i, const UnicodeString& new_full_name) {
  if (!Valid(i)) return;
  const UnicodeString old_full_name = FullName(i);
  if (!RenameFile(old_full_name, new_full_name)) throw EInOutError(u"cannot rename " + old_full_name);
  fThisList[i]->data.ShortName = ExtractFileName(new_full_name);
}

TMySearchRec TFolderful::SearchRec(int i) const { return fThisList.GetAMySearchRec(i); }

TMySimpleSearchRec TFolderful::SimpleSearchRec(int i) const {
  if (!Valid(i)) return {};
  const TMySearchRec& rec = fThisList[i]->data;
  return {rec.DateTime, rec.Size, 0, rec.ShortName};
}

std::int32_t TFolderful::GetAFileSize(int i) const { return Valid(i) ? fThisList[i]->data.Size : -1; }

bool TFolderful::InAZip(int i) const { return Valid(i) && fThisList[i]->data.Number_Within_Zip > 0; }

void TFolderful::SaveToStream(TStream& stream) const {
  stream.WriteLE<std::uint8_t>(fSort);
  stream.WriteLE<std::int32_t>(fstarts);
  stream.WriteLE<std::int32_t>(fends);
  stream.WriteLE<std::int32_t>(fdirnum);
  WriteAString(stream, fDirname);
  fThisList.SaveToStream(stream);
}

void TFolderful::ReadFromStream(TStream& stream) {
  const auto order = stream.ReadLE<std::uint8_t>();
  if (order >= kMySearchRecSortCount) throw EStreamError(FileReadErrorMessage("TFolderful.ReadFromStream"));
  fSort = static_cast<TMySearchRecSort>(order);
  fstarts = stream.ReadLE<std::int32_t>();
  fends = stream.ReadLE<std::int32_t>();
  fdirnum = stream.ReadLE<std::int32_t>();
  fDirname = ReadAString(stream);
  fThisList.ReadFromStream(stream);
}

}  // namespace quill
