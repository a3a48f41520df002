#pragma once
// Shared in-memory record types: small tuples of numbers, strings and pointers
// that the typed lists hold and the tools pass around by value, and the fixed
// zero-terminated character arrays of stored records.
//
// Field names follow the records' established names; two of them are C++
// keywords and carry a trailing underscore (`TIntegerAndSingleRec::int_`,
// `TSmall_and_long_rec::long_`). Untyped pointers are `void*`: the records only
// carry them, they never own what they point at.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "quillrt/framework/strings.h"

namespace quill {

struct TTypeAndTokenRec {
  std::int32_t types = 0;
  std::int32_t tokens = 0;
};

struct TBooleanArrayRec {
  std::vector<bool> bools;
};

struct TCardinalAndPointerRec {
  std::uint32_t c = 0;
  void* p = nullptr;
};

struct TCardinalAndFreq {
  std::uint32_t c = 0;
  std::int32_t f = 0;
  friend bool operator==(const TCardinalAndFreq&, const TCardinalAndFreq&) = default;
};

struct TIntegerAndPointerRec {
  std::int32_t v = 0;
  void* p = nullptr;
};

struct TIntegerAndBooleanRec {
  std::int32_t value = 0;
  bool b = false;
};

struct T2_Pointer {
  void* p1 = nullptr;
  void* p2 = nullptr;
  friend bool operator==(const T2_Pointer&, const T2_Pointer&) = default;
};

struct T2_longint_rec {
  std::int32_t long0 = 0;
  std::int32_t long1 = 0;
  friend bool operator==(const T2_longint_rec&, const T2_longint_rec&) = default;
};

struct T3_longint_rec {
  std::int32_t long0 = 0;
  std::int32_t long1 = 0;
  std::int32_t long2 = 0;
  friend bool operator==(const T3_longint_rec&, const T3_longint_rec&) = default;
};

struct T4_longint_rec {
  std::int32_t long0 = 0;
  std::int32_t long1 = 0;
  std::int32_t long2 = 0;
  std::int32_t long3 = 0;
  friend bool operator==(const T4_longint_rec&, const T4_longint_rec&) = default;
};

struct T2_Int64_rec {
  std::int64_t Int64_1 = 0;
  std::int64_t Int64_2 = 0;
};

struct TIndexAndObjRec {
  std::int32_t index = 0;
  void* holder = nullptr;  // an object the record refers to, not owned
};

struct TIntegerAndSingleRec {
  std::int32_t int_ = 0;
  float s = 0.0f;
  friend bool operator==(const TIntegerAndSingleRec&, const TIntegerAndSingleRec&) = default;
};

struct TIntegerAndCardinalRec {
  std::int32_t freq = 0;
  std::uint32_t value = 0;
};

struct Tdouble_cardinal_rec {
  std::uint32_t card1 = 0;
  std::uint32_t card2 = 0;
  friend bool operator==(const Tdouble_cardinal_rec&, const Tdouble_cardinal_rec&) = default;
};

struct TTriple_integer_rec {
  std::int32_t intg1 = 0;
  std::int32_t intg2 = 0;
  std::int32_t intg3 = 0;
};

struct TTriple_cardinal_rec {
  std::uint32_t card1 = 0;
  std::uint32_t card2 = 0;
  std::uint32_t card3 = 0;
  friend bool operator==(const TTriple_cardinal_rec&, const TTriple_cardinal_rec&) = default;
};

struct TIndexAndPointerRec {
  std::int32_t index = 0;
  void* p = nullptr;
  friend bool operator==(const TIndexAndPointerRec&, const TIndexAndPointerRec&) = default;
};

struct TIntegerAnd2CardinalsRec {
  std::int32_t freq = 0;
  Tdouble_cardinal_rec value;
};

struct TIntegerAnd3CardinalsRec {
  std::int32_t freq = 0;
  TTriple_cardinal_rec value;
  friend bool operator==(const TIntegerAnd3CardinalsRec&, const TIntegerAnd3CardinalsRec&) = default;
};

struct TPointerAnd2CardinalsRec {
  void* p = nullptr;
  std::uint32_t Item1 = 0;
  std::uint32_t Item2 = 0;
  friend bool operator==(const TPointerAnd2CardinalsRec&, const TPointerAnd2CardinalsRec&) = default;
};

struct TSmall_and_long_rec {
  std::int16_t small = 0;
  std::int32_t long_ = 0;
  friend bool operator==(const TSmall_and_long_rec&, const TSmall_and_long_rec&) = default;
};

struct TStringAndTwoIntegersRec {
  UnicodeString s;
  std::int32_t n1 = 0;
  std::int32_t n2 = 0;
};

struct T2StringsAnd2IntegersRec {
  std::int32_t int1 = 0;
  std::int32_t int2 = 0;
  UnicodeString s1;
  UnicodeString s2;
  friend bool operator==(const T2StringsAnd2IntegersRec&, const T2StringsAnd2IntegersRec&) = default;
};

struct TStringAndIntegerRec {
  UnicodeString s;
  std::int32_t i = 0;
};

struct TConvertedStringAnd2BooleansRec {
  UnicodeString converted;
  bool convert_it = false;
  bool chuck = false;
};

struct TStringAndBooleanRec {
  UnicodeString s;
  bool OK = false;
};

struct TStringIntAndBoolean {
  UnicodeString w;
  std::int32_t i = 0;
  bool b = false;
};

struct TTwoStringsRec {
  UnicodeString first;
  UnicodeString second;
};

struct TStringColumnAndColourRec {
  std::int32_t column_number = 0;
  std::int32_t background_colour = 0;
  UnicodeString s;
  friend bool operator==(const TStringColumnAndColourRec&, const TStringColumnAndColourRec&) = default;
};

struct TWordFreqAndSourceNum {
  UnicodeString w;
  std::int32_t f = 0;
  std::int32_t source_num = 0;
  friend bool operator==(const TWordFreqAndSourceNum&, const TWordFreqAndSourceNum&) = default;
};

struct TWordAndFreq {
  UnicodeString w;
  std::int32_t f = 0;
};

struct TWordAndBoolean {
  UnicodeString w;
  bool b = false;
};

enum TStartingOrFinishing : std::uint8_t { t_starting, t_finishing };
enum Tkw_fnames_order : std::uint8_t { little_text, reference_corpus };
enum TNormalOrSpecial : std::uint8_t { t_normal, t_special };

// Growable arrays.
using TCardinalAndPointerArray = std::vector<TCardinalAndPointerRec>;
using TIntegerAndPointerArray = std::vector<TIntegerAndPointerRec>;
using TIntegerAndBooleanArray = std::vector<TIntegerAndBooleanRec>;
using TStringAndIntegerArray = std::vector<TStringAndIntegerRec>;
using TArray_Of_integer = std::vector<std::int32_t>;
using TArray_of_Array_Of_integer = std::vector<TArray_Of_integer>;

// Fixed zero-terminated character arrays, named by how many characters they
// hold without the terminating zero; the array size includes it.
using onewidechar = std::array<WideChar, 2>;
using twowidechar = std::array<WideChar, 3>;
using threewidechar = std::array<WideChar, 4>;
using fourwidechar = std::array<WideChar, 5>;
using tenwidechar = std::array<WideChar, 11>;
using twentywidechar = std::array<WideChar, 21>;
using thirtywidechar = std::array<WideChar, 31>;
using fortywidechar = std::array<WideChar, 41>;
using fiftywidechar = std::array<WideChar, 51>;
using sixtywidechar = std::array<WideChar, 61>;
using eightywidechar = std::array<WideChar, 81>;
using ninety_ninewidechar = std::array<WideChar, 100>;
using hundredwidechar = std::array<WideChar, 101>;
using hundredandtwentytwowidechar = std::array<WideChar, 123>;
using twohundredwidechar = std::array<WideChar, 201>;
using twohundred22widechar = std::array<WideChar, 223>;
using fourhundredwidechar = std::array<WideChar, 401>;
using maxpathwidechar = std::array<WideChar, 261>;
using eightychar = std::array<char, 81>;

// Stores `text` in a fixed array: zero-fills it first and keeps at most its size
// less one character, so the array is always terminated and holds no stale tail.
template <class Char, std::size_t N>
void SetFixedChars(std::array<Char, N>& target, std::basic_string_view<Char> text) {
  static_assert(N >= 1);
  target.fill(Char{});
  const std::size_t count = std::min(text.size(), N - 1);
  std::copy_n(text.data(), count, target.data());
}

// The text up to the first zero (or the whole array when a damaged record has none).
template <class Char, std::size_t N>
std::basic_string<Char> GetFixedChars(const std::array<Char, N>& source) {
  const auto end = std::find(source.begin(), source.end(), Char{});
  return std::basic_string<Char>(source.begin(), end);
}

}  // namespace quill
