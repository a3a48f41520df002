#pragma once
// Three-way comparisons (1: the first orders after the second, -1: before,
// 0: equal), entry comparators for TUsefulBaseListSorts::Sort, record exchanges,
// and the byte divisions used to split a file into equal parts.
#include <cstdint>
#include <string_view>
#include <vector>

#include "quillrt/collections/basic_types.h"
#include "quillrt/collections/useful_base_list.h"
#include "quillrt/quillrt_export.h"

namespace quill {

QUILLRT_API int CompareLongints(std::int32_t a, std::int32_t b);
QUILLRT_API int CompareCardinals(std::uint32_t a, std::uint32_t b);
QUILLRT_API int CompareInt64s(std::int64_t a, std::int64_t b);
QUILLRT_API int Compare16BitWords(std::uint16_t a, std::uint16_t b);
QUILLRT_API int CompareChars(WideChar a, WideChar b);
QUILLRT_API int CompareBytes(std::uint8_t a, std::uint8_t b);
// NaN orders after every number and equals another NaN, so sorts stay consistent.
QUILLRT_API int CompareSingles(float a, float b);
// Date-times order later first: -1 when a is later than b.
QUILLRT_API int CompareDates(double a, double b);
QUILLRT_API int CompareJulianDates(double a, double b);
// By UTF-16 code units: no locale, case-sensitive.
QUILLRT_API int Compare2Strings(std::u16string_view a, std::u16string_view b);

QUILLRT_API int Compare2CardinalsCard1(const Tdouble_cardinal_rec& a, const Tdouble_cardinal_rec& b);
QUILLRT_API int Compare2CardinalsCard2(const Tdouble_cardinal_rec& a, const Tdouble_cardinal_rec& b);
QUILLRT_API int CompareIntAnd3CardinalsCard1(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b);
QUILLRT_API int CompareIntAnd3CardinalsCard2(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b);
QUILLRT_API int CompareIntAnd3CardinalsCard3(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b);
// On freq taken as unsigned.
QUILLRT_API int CompareIntAnd3CardinalsFreq(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b);
QUILLRT_API int CompareIntAnd2CardinalsCard1(const TIntegerAnd2CardinalsRec& a, const TIntegerAnd2CardinalsRec& b);
QUILLRT_API int CompareIntAnd2CardinalsCard2(const TIntegerAnd2CardinalsRec& a, const TIntegerAnd2CardinalsRec& b);
// On freq taken as signed.
QUILLRT_API int CompareIntAnd2CardinalsFreq(const TIntegerAnd2CardinalsRec& a, const TIntegerAnd2CardinalsRec& b);

// Entry comparators for Sort, ascending. An entry of another holder class
// raises EInvalidCast.
QUILLRT_API int SortLongints(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b);
QUILLRT_API int SortCardinals(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b);
QUILLRT_API int SortInt64s(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b);
QUILLRT_API int SortSingles(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b);
QUILLRT_API int SortIntegerAnd3CardinalsFreq(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b);

QUILLRT_API void ExchangeTwoDoubleCardinalRecs(Tdouble_cardinal_rec& a, Tdouble_cardinal_rec& b);
QUILLRT_API void ExchangeTwoDoubleLongintRecs(T2_longint_rec& a, T2_longint_rec& b);
QUILLRT_API void ExchangeTwoSmallAndLongRecs(TSmall_and_long_rec& a, TSmall_and_long_rec& b);
QUILLRT_API void ExchangeTwoPointerAnd2CardinalsRecs(TPointerAnd2CardinalsRec& a, TPointerAnd2CardinalsRec& b);
QUILLRT_API void ExchangeTwoIndexAndPointerRecs(TIndexAndPointerRec& a, TIndexAndPointerRec& b);

// n upper boundaries splitting `total` bytes into n parts: element i is
// (i+1) * step rounded to the nearest integer (halves to even), where step is
// total / n held in single precision, so for totals beyond 2^24 the boundaries
// are approximate and the last may differ from total. n < 1 gives no boundaries.
QUILLRT_API std::vector<std::int64_t> ComputedByteDivisions(std::int64_t total, std::int32_t n);
// The index of the first boundary greater than value, or -1 when there is none:
// the division that holds byte position `value`.
QUILLRT_API std::int32_t CorrectDivision(std::int64_t value, const std::vector<std::int64_t>& boundaries);

}  // namespace quill
