#include "quillrt/collections/comparisons.h"

#include <cmath>
#include <limits>
#include <utility>

#include "quillrt/collections/list_entries.h"

namespace quill {

namespace {

template <class T>
int ThreeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

template <class F>
int ThreeWayFloat(F a, F b) {
  const bool a_nan = std::isnan(a);
  const bool b_nan = std::isnan(b);
  if (a_nan || b_nan) return a_nan == b_nan ? 0 : (a_nan ? 1 : -1);
  return ThreeWay(a, b);
}

template <class Holder>
const Holder& As(const TUsefulBaseListObject* entry) {
  const auto* holder = dynamic_cast<const Holder*>(entry);
  if (holder == nullptr) throw EInvalidCast(std::string_view("Invalid class typecast in a sort comparison"));
  return *holder;
}

}  // namespace

int CompareLongints(std::int32_t a, std::int32_t b) { return ThreeWay(a, b); }
int CompareCardinals(std::uint32_t a, std::uint32_t b) { return ThreeWay(a, b); }
int CompareInt64s(std::int64_t a, std::int64_t b) { return ThreeWay(a, b); }
int Compare16BitWords(std::uint16_t a, std::uint16_t b) { return ThreeWay(a, b); }
int CompareChars(WideChar a, WideChar b) { return ThreeWay(a, b); }
int CompareBytes(std::uint8_t a, std::uint8_t b) { return ThreeWay(a, b); }
int CompareSingles(float a, float b) { return ThreeWayFloat(a, b); }
int CompareDates(double a, double b) { return ThreeWayFloat(b, a); }
int CompareJulianDates(double a, double b) { return ThreeWayFloat(b, a); }

int Compare2Strings(std::u16string_view a, std::u16string_view b) {
  const int order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int Compare2CardinalsCard1(const Tdouble_cardinal_rec& a, const Tdouble_cardinal_rec& b) {
  return ThreeWay(a.card1, b.card1);
}
int Compare2CardinalsCard2(const Tdouble_cardinal_rec& a, const Tdouble_cardinal_rec& b) {
  return ThreeWay(a.card2, b.card2);
}
int CompareIntAnd3CardinalsCard1(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b) {
  return ThreeWay(a.value.card1, b.value.card1);
}
int CompareIntAnd3CardinalsCard2(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b) {
  return ThreeWay(a.value.card2, b.value.card2);
}
int CompareIntAnd3CardinalsCard3(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b) {
  return ThreeWay(a.value.card3, b.value.card3);
}
int CompareIntAnd3CardinalsFreq(const TIntegerAnd3CardinalsRec& a, const TIntegerAnd3CardinalsRec& b) {
  return ThreeWay(static_cast<std::uint32_t>(a.freq), static_cast<std::uint32_t>(b.freq));
}
int CompareIntAnd2CardinalsCard1(const TIntegerAnd2CardinalsRec& a, const TIntegerAnd2CardinalsRec& b) {
  return ThreeWay(a.value.card1, b.value.card1);
}
int CompareIntAnd2CardinalsCard2(const TIntegerAnd2CardinalsRec& a, const TIntegerAnd2CardinalsRec& b) {
  return ThreeWay(a.value.card2, b.value.card2);
}
int CompareIntAnd2CardinalsFreq(const TIntegerAnd2CardinalsRec& a, const TIntegerAnd2CardinalsRec& b) {
  return ThreeWay(a.freq, b.freq);
}

int SortLongints(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
  return CompareLongints(As<TLongIntHolder>(a).data, As<TLongIntHolder>(b).data);
}
int SortCardinals(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
  return CompareCardinals(As<TCardinalHolder>(a).data, As<TCardinalHolder>(b).data);
}
int SortInt64s(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
  return CompareInt64s(As<TInt64Holder>(a).data, As<TInt64Holder>(b).data);
}
int SortSingles(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
  return CompareSingles(As<TIntegerAndSingleHolder>(a).data.s, As<TIntegerAndSingleHolder>(b).data.s);
}
int SortIntegerAnd3CardinalsFreq(const TUsefulBaseListObject* a, const TUsefulBaseListObject* b) {
  return CompareIntAnd3CardinalsFreq(As<TIntegerAnd3CardinalsHolder>(a).data, As<TIntegerAnd3CardinalsHolder>(b).data);
}

void ExchangeTwoDoubleCardinalRecs(Tdouble_cardinal_rec& a, Tdouble_cardinal_rec& b) { std::swap(a, b); }
void ExchangeTwoDoubleLongintRecs(T2_longint_rec& a, T2_longint_rec& b) { std::swap(a, b); }
void ExchangeTwoSmallAndLongRecs(TSmall_and_long_rec& a, TSmall_and_long_rec& b) { std::swap(a, b); }
void ExchangeTwoPointerAnd2CardinalsRecs(TPointerAnd2CardinalsRec& a, TPointerAnd2CardinalsRec& b) { std::swap(a, b); }
void ExchangeTwoIndexAndPointerRecs(TIndexAndPointerRec& a, TIndexAndPointerRec& b) { std::swap(a, b); }

std::vector<std::int64_t> ComputedByteDivisions(std::int64_t total, std::int32_t n) {
  std::vector<std::int64_t> boundaries;
  if (n < 1) return boundaries;
  boundaries.reserve(static_cast<std::size_t>(n));
  // The step is single precision on purpose, so that the boundaries agree with
  // those the tools have always computed for the same total.
  const auto step = static_cast<float>(static_cast<double>(total) / n);
  constexpr double kLimit = 9223372036854775807.0;
  for (std::int32_t i = 0; i < n; ++i) {
    const double exact = static_cast<double>(i + 1) * static_cast<double>(step);
    const double rounded = std::nearbyint(exact);  // to nearest, halves to even
    if (std::isnan(rounded))
      boundaries.push_back(0);
    else if (rounded >= kLimit)
      boundaries.push_back(std::numeric_limits<std::int64_t>::max());
    else if (rounded <= -kLimit)
      boundaries.push_back(std::numeric_limits<std::int64_t>::min());
    else
      boundaries.push_back(static_cast<std::int64_t>(rounded));
  }
  return boundaries;
}

std::int32_t CorrectDivision(std::int64_t value, const std::vector<std::int64_t>& boundaries) {
  for (std::size_t i = 0; i < boundaries.size(); ++i)
    if (boundaries[i] > value) return static_cast<std::int32_t>(i);
  return -1;
}

}  // namespace quill
