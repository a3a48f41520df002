#pragma once
// Private to the catalogue: the built-in English table, sorted by key.
#include <span>
#include <string_view>

namespace quill::catalogue {

struct Entry {
  std::string_view key;
  std::string_view text;  // UTF-8
};

// Sorted by key (byte order), keys unique: the lookup halves it.
std::span<const Entry> EnglishTexts();

}  // namespace quill::catalogue
