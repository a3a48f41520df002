// Feeds arbitrary bytes to the binary stream readers and to ReadFromStream of
// every typed list class.
//
// Besides "no crash, no leak, no undefined behaviour", each successful list read
// is checked: saving the list and reading the saved bytes into a fresh list must
// succeed and save the very same bytes again, and a list that reads back as
// sorted must find each of its values by binary search.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

#include "quillrt/collections/integer_lists.h"
#include "quillrt/collections/record_lists.h"
#include "quillrt/collections/stream_forms.h"
#include "quillrt/collections/tuple_lists.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

void Load(TMemoryStream& stream, const std::uint8_t* data, std::size_t size) {
  stream.Clear();
  if (size > 0) stream.WriteBuffer(data, static_cast<std::int64_t>(size));
  stream.SetPosition(0);
}

// Runs `read` on the input and swallows the library's own exceptions: raising
// on damaged input is a documented answer, crashing is not.
void Guarded(const std::function<void()>& read) {
  try {
    read();
  } catch (const Exception&) {
  }
}

void FuzzStringForms(const std::uint8_t* data, std::size_t size) {
  TMemoryStream stream;
  Load(stream, data, size);
  Guarded([&] {
    const UnicodeString s = ReadAString(stream);
    Check(static_cast<std::int64_t>(s.size()) <= global_string_safety_limit);
  });
  Load(stream, data, size);
  Guarded([&] { ReadAString(stream, 0x7FFFFFFF); });
  Load(stream, data, size);
  Guarded([&] { ReadShortString(stream); });
  Load(stream, data, size);
  Guarded([&] {
    UniquePWideChar p(static_cast<WideChar*>(ReadUnknownLengthPointer(stream, true)));
    Check(p != nullptr && p[temp_pointer_chars_allocated] == 0);
  });
  Load(stream, data, size);
  Guarded([&] { UniquePAnsichar p(ReadUnknownLengthAnsi(stream, 0x7FFFFFFF)); });
  Load(stream, data, size);
  Guarded([&] { UniquePWideChar p(ReadWidePchar(stream)); });
  Load(stream, data, size);
  Guarded([&] { UniquePAnsichar p(ReadAnsiPchar(stream)); });
}

template <class List>
void FuzzList(const std::uint8_t* data, std::size_t size, const std::function<void(List&)>& check_sorted = {}) {
  TMemoryStream stream;
  Load(stream, data, size);
  List list;
  bool ok = false;
  Guarded([&] { ok = list.ReadFromStream(stream); });
  if (!ok) return;

  TMemoryStream saved;
  Check(list.SaveToStream(saved));
  saved.SetPosition(0);
  List again;
  Check(again.ReadFromStream(saved));
  TMemoryStream saved_again;
  Check(again.SaveToStream(saved_again));
  Check(saved.Bytes() == saved_again.Bytes());
  if (check_sorted) check_sorted(list);

  // Whatever follows in the input is read as a second list appended to the
  // first: the sorted flag of the joined list must still tell the truth.
  bool appended = false;
  Guarded([&] { appended = list.ReadFromStream(stream); });
  if (appended && check_sorted) check_sorted(list);
}

template <class List>
void CheckSearchable(List& list) {
  if (!list.sorted) return;
  for (int i = 0; i < list.Count(); ++i) Check(list.IndexOf(list.GetAValue(i)) >= 0);
}

void FuzzSmallints(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return;
  const std::int32_t n = data[0] | (data[1] << 8);
  TMemoryStream stream;
  Load(stream, data + 2, size - 2);
  TSmallintList list;
  if (list.ReadFromStream(n, stream)) Check(list.Count() == static_cast<std::int16_t>(n) || n >= 0x8000);
  TMemoryStream saved;
  Check(list.SaveToStream(saved));
  Check(saved.GetSize() == 2 * list.Count());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Lists whose entries carry no bytes (pointer pairs) could otherwise be asked
  // for millions of entries by a four-byte count; keep each run small.
  quill::global_list_count_safety_limit = 1 << 12;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the reader; the rest is the stream.
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  ++data;
  --size;
  switch (choice % 16) {
    case 0: FuzzStringForms(data, size); break;
    case 1: FuzzList<TQYLongintList>(data, size, CheckSearchable<TQYLongintList>); break;
    case 2: FuzzList<TCardinalList>(data, size, CheckSearchable<TCardinalList>); break;
    case 3: FuzzList<TQYInt64List>(data, size, CheckSearchable<TQYInt64List>); break;
    case 4:
      FuzzList<TIntegerAndSingleList>(data, size, [](TIntegerAndSingleList& list) {
        if (!list.sorted) return;
        TIntegerAndSingleRec rec;
        for (int i = 0; i < list.Count(); ++i) {
          list.GetOne(i, rec);
          Check(list.Find(rec.s) >= 0);
        }
      });
      break;
    case 5:
      FuzzList<TCardinalAndFreqList>(data, size, [](TCardinalAndFreqList& list) {
        if (!list.sorted) return;
        TCardinalAndFreq rec;
        for (int i = 0; i < list.Count(); ++i) {
          list.GetACardAndFreq(i, rec);
          Check(list.Find(rec.c) >= 0);
        }
      });
      break;
    case 6: FuzzList<TWordFreqAndSourceNumList>(data, size); break;
    case 7: FuzzList<T2LongintList>(data, size); break;
    case 8: FuzzList<T3LongintList>(data, size); break;
    case 9: FuzzList<T4LongintList>(data, size); break;
    case 10: FuzzList<TIntegerAnd3CardinalsList>(data, size); break;
    case 11: FuzzList<TStringColumnAndColourList>(data, size); break;
    case 12: FuzzList<T2StringsAnd2IntegersList>(data, size); break;
    case 13: FuzzList<TDoublePointerList>(data, size); break;
    case 14: FuzzSmallints(data, size); break;
    default: FuzzStringForms(data, size); break;
  }
  return 0;
}
