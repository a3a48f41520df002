#include "quillrt/analysis/word_lists.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "quillrt/analysis/tags.h"
#include "quillrt/analysis/word_batch.h"
#include "quillrt/analysis/word_chars.h"
#include "quillrt/analysis/word_frequency_table.h"
#include "quillrt/files/text_files.h"
#include "quillrt/framework/locale_text.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/process/yield.h"

namespace quill {

std::int32_t BasicWordCount(const UnicodeString& text) {
  const std::uint8_t* flags = word_chars::Flags();
  std::int32_t words = 0;
  bool in_word = false;
  for (const WideChar c : text) {
    const bool word_char = word_chars::IsWordChar(flags, c);
    if (word_char && !in_word) ++words;
    in_word = word_char;
  }
  return words;
}

namespace {

// Bit k set when chars[k] is a word character, for up to 64 units.
std::uint64_t WordCharMask(const WideChar* chars, std::size_t count, const std::uint8_t* flags) {
  std::uint64_t mask = 0;
  std::size_t k = 0;
#if defined(__SSE2__)
  const __m128i high_bits = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i case_bit = _mm_set1_epi16(0x20);
  for (; k + 8 <= count; k += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + k));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high_bits), _mm_setzero_si128())) != 0xFFFF) {
      for (std::size_t j = k; j < k + 8; ++j)
        if (word_chars::IsWordChar(flags, chars[j])) mask |= std::uint64_t{1} << j;
      continue;
    }
    // ASCII: letters (either case) and digits.
    const __m128i lower = _mm_or_si128(v, case_bit);
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi16(lower, _mm_set1_epi16('a' - 1)),
                                         _mm_cmplt_epi16(lower, _mm_set1_epi16('z' + 1)));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi16(v, _mm_set1_epi16('0' - 1)),
                                        _mm_cmplt_epi16(v, _mm_set1_epi16('9' + 1)));
    const __m128i word = _mm_or_si128(letter, digit);
    const auto bits = static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_packs_epi16(word, _mm_setzero_si128())));
    mask |= bits << k;
  }
#endif
  for (; k < count; ++k)
    if (word_chars::IsWordChar(flags, chars[k])) mask |= std::uint64_t{1} << k;
  return mask;
}

// The words of the text, found 64 units at a time from a mask of word characters.
void CountWordsQuickly(std::u16string_view text, std::size_t shortest, TWordFrequencyTable& table) {
  const std::uint8_t* flags = word_chars::Flags();
  const WideChar* chars = text.data();
  const std::size_t length = text.size();
  WordBatch batch(table, text);
  const auto found = [&](std::size_t start, std::size_t end) {
    if (end - start >= shortest) batch.Add(chars + start, end - start);
  };
  bool in_word = false;
  std::size_t start = 0;
  for (std::size_t base = 0; base < length; base += 64) {
    const std::size_t count = std::min<std::size_t>(64, length - base);
    const std::uint64_t mask = WordCharMask(chars + base, count, flags);
    const std::uint64_t valid = count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    unsigned pos = 0;
    while (pos < count) {
      const std::uint64_t from = ~std::uint64_t{0} << pos;
      if (in_word) {
        const std::uint64_t ends = ~mask & valid & from;
        if (ends == 0) break;  // the word runs on into the next block
        pos = static_cast<unsigned>(__builtin_ctzll(ends));
        found(start, base + pos);
        in_word = false;
      } else {
        const std::uint64_t starts = mask & from;
        if (starts == 0) break;
        pos = static_cast<unsigned>(__builtin_ctzll(starts));
        start = base + pos;
        in_word = true;
      }
    }
  }
  if (in_word) found(start, length);
  batch.Flush();
}

// One yield per character, as the hook's owner expects.
void CountWordsYielding(std::u16string_view text, std::size_t shortest, TWordFrequencyTable& table) {
  const std::uint8_t* flags = word_chars::Flags();
  WordBatch batch(table, text);
  std::size_t start = 0;
  bool in_word = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    MyYieldProcess();
    const bool word_char = word_chars::IsWordChar(flags, text[i]);
    if (word_char && !in_word) start = i;
    if (!word_char && in_word && i - start >= shortest) batch.Add(text.data() + start, i - start);
    in_word = word_char;
  }
  if (in_word && text.size() - start >= shortest) batch.Add(text.data() + start, text.size() - start);
  batch.Flush();
}

}  // namespace

void CountWordsOfTxt(std::u16string_view text, std::int32_t min_length, TWordFrequencyTable& table) {
  const std::size_t shortest = min_length > 1 ? static_cast<std::size_t>(min_length) : 1;
  // The hook is called once per character. Nothing that runs while the words
  // are counted can set one, so when none is set now the count runs without
  // that test.
  if (AYieldProcessProc)
    CountWordsYielding(text, shortest, table);
  else
    CountWordsQuickly(text, shortest, table);
}

std::unique_ptr<TStringList> SimpleWordListOfTxt(const UnicodeString& text, std::int32_t min_length,
                                                 bool sort_by_freq) {
  TWordFrequencyTable table;
  CountWordsOfTxt(text, min_length, table);
  return table.ToStringList(sort_by_freq);
}

namespace {

std::int32_t FrequencyAt(const TStringList& list, int index) {
  return static_cast<std::int32_t>(list.GetObject(index).AsInt());
}

}  // namespace

TFreqDifference BagOfWordsSimilar(const UnicodeString& text1, const UnicodeString& text2, std::int32_t max_diff,
                                  std::int32_t min_length, std::int32_t min_freq) {
  TWordFrequencyTable table1, table2;
  CountWordsOfTxt(AnsiUpperCase(text1), min_length, table1);
  CountWordsOfTxt(AnsiUpperCase(text2), min_length, table2);
  const auto list1 = table1.ToStringList(true);
  const auto list2 = table2.ToStringList(true);

  // The longer list is walked (text2's when they are as long); the shorter is
  // looked up, through its alphabetical form.
  const bool walk_first = list1->Count() > list2->Count();
  const TStringList& walked = walk_first ? *list1 : *list2;
  const auto looked_up = (walk_first ? table2 : table1).ToStringList(false);

  TFreqDifference result;
  for (int i = 0; i < walked.Count(); ++i) {
    MyYieldProcess();
    const std::int32_t f = FrequencyAt(walked, i);
    if (f < min_freq) continue;
    int at;
    const std::int32_t g = looked_up->Find(walked[i], at) ? FrequencyAt(*looked_up, at) : 0;
    if (std::llabs(static_cast<long long>(f) - g) > max_diff) {
      result.wd = walked[i];
      result.first_text_freq = walk_first ? f : g;
      result.second_text_freq = walk_first ? g : f;
      break;
    }
  }
  return result;
}

std::pair<std::int32_t, std::int32_t> TypeAndTokenDifferences2Files(const UnicodeString& filename1,
                                                                    const UnicodeString& filename2,
                                                                    WideChar open_char, WideChar close_char,
                                                                    std::int32_t threshold,
                                                                    std::int32_t max_markup_len,
                                                                    UnicodeString& last_word) {
  constexpr std::pair<std::int32_t, std::int32_t> too_different{-1, -1};
  last_word.clear();
  // A missing file reads as no text; two of them must not pass for identical.
  if (!FileExists(filename1) || !FileExists(filename2)) return too_different;
  const UnicodeString text1 = WithoutMarkup(TextFileContents(filename1), open_char, close_char, max_markup_len);
  const UnicodeString text2 = WithoutMarkup(TextFileContents(filename2), open_char, close_char, max_markup_len);
  if (text1 == text2) return {0, 0};
  if (threshold == 0) return too_different;

  const double length1 = static_cast<double>(text1.size()), length2 = static_cast<double>(text2.size());
  const double length_difference = std::max(1.0, std::abs(length1 - length2));
  const double length_percent = length_difference / (length1 + length2) * 2 * 100;
  if (length_percent > threshold) return too_different;

  const auto list1 = SimpleWordListOfTxt(text1, 1, false);
  const auto list2 = SimpleWordListOfTxt(text2, 1, false);
  std::vector<bool> shared_in_2(static_cast<std::size_t>(list2->Count()), false);
  std::int64_t tokens = 0, difference = 0, shared = 0, only_in_2 = 0;
  for (int i = 0; i < list1->Count(); ++i) {
    const std::int64_t f1 = FrequencyAt(*list1, i);
    tokens += f1;
    int at;
    if (!list2->Find((*list1)[i], at)) {
      last_word = (*list1)[i];
      difference += f1;
      continue;
    }
    shared_in_2[static_cast<std::size_t>(at)] = true;
    difference += std::llabs(FrequencyAt(*list2, at) - f1);
    ++shared;
  }
  for (int i = 0; i < list2->Count(); ++i) {
    if (shared_in_2[static_cast<std::size_t>(i)]) continue;
    const std::int64_t f2 = FrequencyAt(*list2, i);
    last_word = (*list2)[i];
    ++only_in_2;
    difference += f2;
    tokens += f2;
  }
  const std::int64_t types = list1->Count() + only_in_2;
  // No words in either text: no type and no token can differ.
  const double shared_percent = types == 0 ? 100.0 : static_cast<double>(shared) * 100 / static_cast<double>(types);
  const double token_percent = tokens == 0 ? 0.0 : static_cast<double>(difference) * 100 / static_cast<double>(tokens);
  if (token_percent <= threshold || shared_percent >= 100 - threshold)
    return {static_cast<std::int32_t>(types - shared), static_cast<std::int32_t>(std::min<std::int64_t>(difference, INT32_MAX))};
  return too_different;
}

}  // namespace quill
