#pragma once
// The entry ("holder") classes of the numeric and record lists. Each keeps its
// value in `data`, has a blank constructor for the list's reader, and reads and
// writes its own bytes, little-endian, field by field:
//
//   TLongIntHolder                 4: int32
//   TCardinalHolder                4: uint32
//   TSingleHolder                  4: single
//   TInt64Holder                   8: int64
//   TIntegerAndSingleHolder        8: int int32, s single
//   TCardinalAndFreqHolder         8: c uint32, f int32
//   TIntegerAnd3CardinalsHolder   16: freq int32, card1, card2, card3 uint32
//   TStringColumnAndColourHolder   8: column_number, background_colour int32;
//                                     then s as a counted UTF-16 string
//   T2StringsAnd2IntegersHolder    8: int1, int2 int32; then s1, s2 counted strings
//   T2LongIntHolder                8: long0, long1 int32
//   T3LongIntHolder               12: long0, long1, long2 int32
//   T4LongIntHolder               16: long0 .. long3 int32
//   TWordFreqAndSourceNumHolder    w as a counted string; then f, source_num int32
//   TDoublePointerHolder           nothing: the pointers are addresses in this
//                                  process and mean nothing in a stream
//
// A read succeeds only when every byte arrives; `data` changes only then, so a
// failed read leaves the entry as it was. String fields are read with
// global_string_safety_limit. TStringColumnAndColourHolder and
// TWordFreqAndSourceNumHolder report a failed string read as false;
// T2StringsAnd2IntegersHolder lets it raise. Writes report a short fixed part as
// false; string writes raise on stream failure.
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/useful_base_list.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// A holder whose value is a fixed-size record; the derived class names the bytes.
#define QUILL_DECLARE_HOLDER(Name, Type)                     \
  class QUILLRT_API Name : public TUsefulBaseListObject {    \
   public:                                                  \
    Name() = default;                                       \
    explicit Name(const Type& value) : data(value) {}       \
    ~Name() override;                                       \
    bool ReadFromStream(TStream& stream) override;          \
    bool SaveToStream(TStream& stream) const override;      \
    Type data{};                                            \
  }

QUILL_DECLARE_HOLDER(TLongIntHolder, std::int32_t);
QUILL_DECLARE_HOLDER(TCardinalHolder, std::uint32_t);
QUILL_DECLARE_HOLDER(TSingleHolder, float);
QUILL_DECLARE_HOLDER(TInt64Holder, std::int64_t);
QUILL_DECLARE_HOLDER(TIntegerAndSingleHolder, TIntegerAndSingleRec);
QUILL_DECLARE_HOLDER(TCardinalAndFreqHolder, TCardinalAndFreq);
QUILL_DECLARE_HOLDER(TIntegerAnd3CardinalsHolder, TIntegerAnd3CardinalsRec);
QUILL_DECLARE_HOLDER(T2StringsAnd2IntegersHolder, T2StringsAnd2IntegersRec);
QUILL_DECLARE_HOLDER(T2LongIntHolder, T2_longint_rec);
QUILL_DECLARE_HOLDER(T3LongIntHolder, T3_longint_rec);
QUILL_DECLARE_HOLDER(T4LongIntHolder, T4_longint_rec);
QUILL_DECLARE_HOLDER(TWordFreqAndSourceNumHolder, TWordFreqAndSourceNum);

#undef QUILL_DECLARE_HOLDER

// Holds a pair of pointers it does not own; persists nothing.
class QUILLRT_API TDoublePointerHolder : public TUsefulBaseListObject {
 public:
  TDoublePointerHolder() = default;
  explicit TDoublePointerHolder(const T2_Pointer& value) : data(value) {}
  ~TDoublePointerHolder() override;
  T2_Pointer data{};
};

class QUILLRT_API TStringColumnAndColourHolder : public TUsefulBaseListObject {
 public:
  TStringColumnAndColourHolder() = default;
  explicit TStringColumnAndColourHolder(const TStringColumnAndColourRec& value) : data(value) {}
  ~TStringColumnAndColourHolder() override;
  // A blank entry: zero column and colour, empty string.
  static std::unique_ptr<TStringColumnAndColourHolder> CreateBlank();
  bool ReadFromStream(TStream& stream) override;
  bool SaveToStream(TStream& stream) const override;
  TStringColumnAndColourRec data{};
};

// Plain value holders (not entries of the typed list base).
class QUILLRT_API TSmallIntHolder {
 public:
  TSmallIntHolder() = default;
  explicit TSmallIntHolder(std::int16_t value) : data(value) {}
  std::int16_t data = 0;
};

class QUILLRT_API TPublicIntegerHolder {
 public:
  TPublicIntegerHolder() = default;
  explicit TPublicIntegerHolder(std::int32_t value) : data(value) {}
  std::int32_t data = 0;
};

}  // namespace quill
