#include "quillrt/analysis/word_lists.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "quillrt/analysis/tags.h"
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

void CountWordsOfTxt(const UnicodeString& text, std::int32_t min_length, TWordFrequencyTable& table) {
  const std::uint8_t* flags = word_chars::Flags();
  const WideChar* chars = text.data();
  const std::size_t length = text.size();
  const std::size_t shortest = min_length > 1 ? static_cast<std::size_t>(min_length) : 1;
  std::size_t start = 0;
  bool in_word = false;
  for (std::size_t i = 0; i < length; ++i) {
    MyYieldProcess();
    if (word_chars::IsWordChar(flags, chars[i])) {
      if (!in_word) start = i;
      in_word = true;
    } else if (in_word) {
      in_word = false;
      if (i - start >= shortest) table.Add(std::u16string_view(chars + start, i - start));
    }
  }
  if (in_word && length - start >= shortest) table.Add(std::u16string_view(chars + start, length - start));
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
