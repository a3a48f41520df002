#include "quillrt/text/buffer_copies.h"

#include <algorithm>
#include <optional>

#include "quillrt/process/yield.h"

namespace quill {

namespace {

template <class Unit>
Unit* CopyOf(const Unit* source, std::int32_t count) {
  if (source == nullptr) return nullptr;
  const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
  Unit* block = new Unit[n + 1];
  std::copy(source, source + n, block);
  block[n] = 0;
  return block;
}

template <class Unit>
std::int32_t BoundedLength(const Unit* source, std::int32_t max) {
  std::int32_t n = 0;
  while (n < max && source[n] != 0) ++n;
  return n;
}

template <class Unit>
std::int32_t TerminatedLength(const Unit* source) {
  std::size_t n = 0;
  while (source[n] != 0) ++n;
  return static_cast<std::int32_t>(n);
}

bool IsAsciiDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

WideChar AsciiUpper(WideChar c) { return c >= u'a' && c <= u'z' ? static_cast<WideChar>(c - 0x20) : c; }

// Whether `s` holds `word` (upper-case ASCII) at `at`, in any case.
bool HasWordAt(const UnicodeString& s, std::size_t at, std::u16string_view word) {
  if (at + word.size() > s.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    if (AsciiUpper(s[at + k]) != word[k]) return false;
  }
  return true;
}

struct ParsedNumber {
  WideChar code;
  std::size_t end;  // index just after the last digit
};

// ASCII digits from `at`: at least one, with a value that fits 32 bits.
std::optional<ParsedNumber> ParseDigits(const UnicodeString& s, std::size_t at) {
  std::size_t end = at;
  std::int64_t value = 0;
  bool fits = true;
  while (end < s.size() && IsAsciiDigit(s[end])) {
    if (fits) {
      value = value * 10 + (s[end] - u'0');
      fits = value <= INT32_MAX;
    }
    ++end;
  }
  if (end == at || !fits) return std::nullopt;
  return ParsedNumber{static_cast<WideChar>(value & 0xFFFF), end};
}

// Replaces every notation that starts with `opener` and whose digits are
// followed by `closer`; returns the last code produced, or -1.
std::int32_t ReplaceNotations(UnicodeString& s, std::u16string_view opener, std::u16string_view closer) {
  std::int32_t last_code = -1;
  std::size_t at = 0;
  while (at < s.size()) {
    if (!HasWordAt(s, at, opener)) {
      ++at;
      continue;
    }
    MyYieldProcess();
    const auto number = ParseDigits(s, at + opener.size());
    if (!number || !HasWordAt(s, number->end, closer)) {
      at += opener.size();
      continue;
    }
    s.replace(at, number->end + closer.size() - at, 1, number->code);
    last_code = number->code;
    ++at;
  }
  return last_code;
}

}  // namespace

char* NewLenPAnsichar(const char* source, std::int32_t count) { return CopyOf(source, count); }

WideChar* NewLenPWidechar(const WideChar* source, std::int32_t count) { return CopyOf(source, count); }

char* StrNewLen(const char* source, std::int32_t max) {
  return source == nullptr ? nullptr : CopyOf(source, BoundedLength(source, max));
}

WideChar* StrNewWLen(const WideChar* source, std::int32_t max) {
  return source == nullptr ? nullptr : CopyOf(source, BoundedLength(source, max));
}

char* NewPAnsichar(const char* source) {
  return source == nullptr ? nullptr : CopyOf(source, TerminatedLength(source));
}

WideChar* NewPWideChar(const WideChar* source) {
  return source == nullptr ? nullptr : CopyOf(source, TerminatedLength(source));
}

void DeletePAnsichar(char* p) { delete[] p; }

void DeletePWideChar(WideChar* p) { delete[] p; }

void StringToSearch_word_type32(const UnicodeString& s, Search_word_type32& buffer) {
  buffer.fill(0);
  const std::size_t n = std::min(s.size(), search_word_type32_chars);
  std::copy(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n), buffer.begin());
}

UnicodeString Search_word_type32ToString(const Search_word_type32& buffer) {
  const auto end = std::find(buffer.begin(), buffer.begin() + search_word_type32_chars, WideChar{0});
  return UnicodeString(buffer.begin(), end);
}

std::int32_t MyFormatValidNumberStr(UnicodeString& s) {
  const std::int32_t from_chr = ReplaceNotations(s, u"{CHR(", u")}");
  const std::int32_t from_hash = ReplaceNotations(s, u"#", u"");
  return from_hash >= 0 ? from_hash : from_chr;
}

}  // namespace quill
