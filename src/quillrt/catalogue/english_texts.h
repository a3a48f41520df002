#pragma once
// Private to the catalogue: the built-in English tables. The texts come in four
// tables, as the library's messages have always been grouped: the general words
// and names, the tools' messages, the export headings, and the date routines'
// one text. Each table is sorted by key; a key may appear in more than one table
// (with the same text), and the lookup takes the first table that has it.
#include <cstddef>
#include <span>
#include <string_view>

namespace quill::catalogue {

struct Entry {
  std::string_view key;
  std::string_view text;  // UTF-8
};

// Each sorted by key (byte order), keys unique within the table.
std::span<const Entry> GeneralTexts();
std::span<const Entry> ToolTexts();
std::span<const Entry> HeadingTexts();
std::span<const Entry> DateTexts();

// The four tables in lookup order.
std::span<const std::span<const Entry>> EnglishTables();

template <std::size_t N>
constexpr bool StrictlyAscending(const Entry (&entries)[N]) {
  for (std::size_t i = 1; i < N; ++i) {
    if (!(entries[i - 1].key < entries[i].key)) return false;
  }
  return true;
}

}  // namespace quill::catalogue
