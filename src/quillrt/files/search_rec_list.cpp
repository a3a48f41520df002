#include "quillrt/files/search_rec_list.h"

#include "quillrt/collections/stream_forms.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

// The smallest stored record: the fixed fields and an empty name's count.
constexpr std::int64_t kSmallestStoredRecord = 8 + 4 + 4 + 2 + 2 + 4;
constexpr std::string_view kReader = "TMySearchRecList.ReadFromStream";

bool SameRecord(const TMySearchRec& a, const TMySearchRec& b) {
  return a.Size == b.Size && a.DateTime == b.DateTime && a.ShortName == b.ShortName;
}

template <class T>
int Three(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

TMySearchRecList::~TMySearchRecList() = default;

TMySearchRecHolder* TMySearchRecList::Add(std::unique_ptr<TMySearchRecHolder> holder) {
  fSort = sr_sort_none;
  return TObjectList::Add(std::move(holder));
}

TMySearchRecHolder* TMySearchRecList::Insert(int index, std::unique_ptr<TMySearchRecHolder> holder) {
  fSort = sr_sort_none;
  return TObjectList::Insert(index, std::move(holder));
}

void TMySearchRecList::Clear() {
  TObjectList::Clear();
  fSort = sr_sort_none;
}

int TMySearchRecList::CompareBy(TMySearchRecSort order, const TMySearchRec& a, const TMySearchRec& b) {
  switch (order) {
    case sr_sort_none: return 0;
    case sr_sort_by_name: return CompareText(a.ShortName, b.ShortName);
    case sr_sort_by_date: return Three(b.DateTime, a.DateTime);  // newest first
    case sr_sort_by_size: return Three(a.Size, b.Size);
    case sr_sort_by_attr: return Three(a.Attr, b.Attr);
    case sr_sort_by_extension: return CompareText(ExtractFileExt(a.ShortName), ExtractFileExt(b.ShortName));
  }
  return 0;
}

void TMySearchRecList::SetSort(TMySearchRecSort wanted) {
  if (wanted == fSort) return;
  fSort = wanted;
  if (wanted == sr_sort_none) return;
  Sort([wanted](const TMySearchRecHolder* a, const TMySearchRecHolder* b) { return CompareBy(wanted, a->data, b->data); });
}

int TMySearchRecList::Find(const TMySearchRec& item) const {
  auto scan = [&] {
    for (int i = 0; i < Count(); ++i)
      if (SameRecord(Get(i)->data, item)) return i;
    return -1;
  };
  if (fSort == sr_sort_none) return scan();
  int lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    MyYieldProcess();
    const int mid = lo + (hi - lo) / 2;
    const TMySearchRec& at = Get(mid)->data;
    const int order = CompareBy(fSort, at, item);
    if (order == 0 && SameRecord(at, item)) return mid;
    if (order < 0) {
      lo = mid + 1;
    } else {
      if (order == 0) return scan();  // the key is shared: the record may lie either side
      hi = mid - 1;
    }
  }
  return -1;
}

TMySearchRec TMySearchRecList::GetAMySearchRec(int i) const {
  if (i < 0 || i >= Count()) return {};
  return Get(i)->data;
}

bool TMySearchRecList::SaveToStream(TStream& stream) const {
  stream.WriteLE<std::int32_t>(Count());
  for (int i = 0; i < Count(); ++i) {
    MyYieldProcess();
    const TMySearchRec& rec = Get(i)->data;
    stream.WriteLE<double>(rec.DateTime);
    stream.WriteLE<std::int32_t>(rec.Size);
    stream.WriteLE<std::int32_t>(rec.Attr);
    stream.WriteLE<std::int16_t>(rec.Number_Within_Zip);
    stream.WriteLE<std::uint16_t>(0);
    WriteAString(stream, rec.ShortName);
  }
  return true;
}

bool TMySearchRecList::ReadFromStream(TStream& stream) {
  Clear();
  std::int32_t count = 0;
  if (!stream.TryReadLE(count)) throw EReadError(FileReadErrorMessage(kReader));
  const std::int64_t left = stream.GetSize() - stream.GetPosition();
  if (count < 0 || count > left / kSmallestStoredRecord) throw EStreamError(FileReadErrorMessage(kReader));
  SetCapacity(count);
  for (std::int32_t i = 0; i < count; ++i) {
    MyYieldProcess();
    TMySearchRec rec;
    unsigned char fixed[20];
    if (stream.Read(fixed, sizeof fixed) != static_cast<std::int64_t>(sizeof fixed))
      throw EReadError(FileReadErrorMessage(kReader));
    rec.DateTime = TStream::FromLE<double>(fixed);
    rec.Size = TStream::FromLE<std::int32_t>(fixed + 8);
    rec.Attr = TStream::FromLE<std::int32_t>(fixed + 12);
    rec.Number_Within_Zip = TStream::FromLE<std::int16_t>(fixed + 16);
    rec.ShortName = ReadAString(stream);
    TObjectList::Add(std::make_unique<TMySearchRecHolder>(rec));
  }
  fSort = sr_sort_none;
  return true;
}

}  // namespace quill
