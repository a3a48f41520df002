#pragma once
// Per-unit character tables for the counting loops of the word lists, n-gram
// lists and word counts: one lookup per UTF-16 unit instead of a library call.
// A unit of a surrogate pair is classified as such (it is no letter), as
// everywhere else in this layer.
#include <cstdint>

#include "quillrt/framework/strings.h"

namespace quill::word_chars {

// Flags of a unit.
enum : std::uint8_t {
  kWordChar = 1,        // a letter (L*) or a decimal digit (Nd): part of a listed word
  kNGramWordChar = 2,   // a letter (L*) or any number (Nd, Nl, No): part of an n-gram's word
  kNGramBreak = 4,      // a mark or punctuation: ends an n-gram's word like a full stop
  kNGramSliding = 8,    // connector or dash punctuation, or the comma: ends a word, window runs on
  kNGramSeparator = 16, // space, line or paragraph separator
};

// 65,536 entries, built once on first use.
const std::uint8_t* Flags();

inline bool IsWordChar(const std::uint8_t* flags, WideChar c) { return (flags[c] & kWordChar) != 0; }

// The full case folding of `word` appended to `key` ("Straße" -> "strasse").
// ASCII is folded here; anything else goes to the Unicode library.
void AppendFolded(std::u16string_view word, UnicodeString& key);

}  // namespace quill::word_chars
