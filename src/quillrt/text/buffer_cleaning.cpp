#include "quillrt/text/buffer_cleaning.h"

#include <algorithm>
#include <utility>

namespace quill {

namespace {

constexpr unsigned kSpace = 0x20;
constexpr unsigned kTab = 0x09;
constexpr unsigned kLF = 0x0A;
constexpr unsigned kCR = 0x0D;

// Unit values compared as unsigned, so that bytes above 0x7F are never
// mistaken for control characters.
inline unsigned Code(char c) { return static_cast<unsigned char>(c); }
inline unsigned Code(WideChar c) { return c; }

template <class Unit, class Pred>
void ReplaceBySpace(Unit* buffer, std::int32_t count, Pred pred) {
  if (buffer == nullptr) return;
  for (std::int32_t i = 0; i < count; ++i) {
    if (pred(Code(buffer[i]))) buffer[i] = static_cast<Unit>(kSpace);
  }
}

template <class Unit>
void CarriageReturnsToSpace(Unit* buffer, std::int32_t count) {
  if (buffer == nullptr) return;
  for (std::int32_t i = 0; i < count; ++i) {
    if (Code(buffer[i]) != kCR) continue;
    buffer[i] = static_cast<Unit>(kSpace);
    if (i + 1 < count && Code(buffer[i + 1]) == kLF) buffer[++i] = static_cast<Unit>(kSpace);
  }
}

// Writes the NUL after a text that got shorter: it then lies inside the count.
template <class Unit>
std::int32_t Terminated(Unit* buffer, std::int32_t new_length, std::int32_t count) {
  if (new_length < count) buffer[new_length] = 0;
  return new_length;
}

template <class Unit>
std::int32_t RemoveAll(Unit* buffer, Unit c, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return 0;
  std::int32_t w = 0;
  for (std::int32_t r = 0; r < count; ++r) {
    if (buffer[r] != c) buffer[w++] = buffer[r];
  }
  return Terminated(buffer, w, count);
}

template <class Unit>
void Fill(Unit* buffer, std::int32_t count, Unit value) {
  if (buffer == nullptr || count <= 0) return;
  std::fill(buffer, buffer + count, value);
}

}  // namespace

void ReplaceControlCharsBySpaceA(char* buffer, std::int32_t count) {
  ReplaceBySpace(buffer, count, [](unsigned c) { return c < kSpace; });
}

void ReplaceControlCharsBySpaceW(WideChar* buffer, std::int32_t count) {
  ReplaceBySpace(buffer, count, [](unsigned c) { return c < kSpace; });
}

void ReplaceCharacterBySpace(char* buffer, char c, std::int32_t count) {
  ReplaceBySpace(buffer, count, [c](unsigned u) { return u == Code(c); });
}

void ReplaceCharacterBySpaceW(WideChar* buffer, WideChar c, std::int32_t count) {
  ReplaceBySpace(buffer, count, [c](unsigned u) { return u == c; });
}

void ReplaceTabsBySpace(char* buffer, std::int32_t count) {
  ReplaceBySpace(buffer, count, [](unsigned c) { return c == kTab; });
}

void ReplaceCarriageReturnsBySpaceA(char* buffer, std::int32_t count) { CarriageReturnsToSpace(buffer, count); }

void ReplaceCarriageReturnsBySpaceW(WideChar* buffer, std::int32_t count) { CarriageReturnsToSpace(buffer, count); }

void ReplaceChar1ByChar2W(WideChar* buffer, WideChar old_char, WideChar new_char, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return;
  std::replace(buffer, buffer + count, old_char, new_char);
}

std::int32_t RemoveCharA(char* buffer, char c, std::int32_t count) { return RemoveAll(buffer, c, count); }

std::int32_t RemoveCharW(WideChar* buffer, WideChar c, std::int32_t count) { return RemoveAll(buffer, c, count); }

std::int32_t CutDoubleCRLFsW(WideChar* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return 0;
  auto crlf_at = [&](std::int32_t i) { return i + 1 < count && buffer[i] == kCR && buffer[i + 1] == kLF; };
  std::int32_t w = 0;
  std::int32_t r = 0;
  while (r < count) {
    if (crlf_at(r)) {
      buffer[w++] = static_cast<WideChar>(kCR);
      buffer[w++] = static_cast<WideChar>(kLF);
      r += 2;
      while (crlf_at(r)) r += 2;
    } else {
      buffer[w++] = buffer[r++];
    }
  }
  return Terminated(buffer, w, count);
}

std::int32_t LengthConvertedToUnix(char* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return 0;
  std::int32_t w = 0;
  for (std::int32_t r = 0; r < count; ++r) {
    if (Code(buffer[r]) != kLF) buffer[w++] = buffer[r];
  }
  return w;
}

std::int32_t RemoveRedundantSpaceW(WideChar* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) return 0;
  std::int32_t w = 0;
  for (std::int32_t r = 0; r < count; ++r) {
    // A space directly after a space belongs to a run already represented.
    if (buffer[r] == kSpace && r > 0 && buffer[r - 1] == kSpace) continue;
    buffer[w++] = buffer[r];
  }
  return Terminated(buffer, w, count);
}

std::int32_t ClearBetweenChars(char* buffer, char open, char close, std::int32_t count) {
  return CleanBetweenChars(buffer, open, close, count, count, true);
}

std::int32_t CleanBetweenChars(char* buffer, char open, char close, std::int32_t count, std::int32_t max_span,
                               bool remove) {
  if (buffer == nullptr || count <= 0) return 0;
  std::int32_t w = 0;
  std::int32_t r = 0;
  while (r < count) {
    if (buffer[r] != open) {
      buffer[w++] = buffer[r++];
      continue;
    }
    // The close character may stand at most max_span - 1 characters after the open one.
    const std::int32_t reach = std::min<std::int64_t>(count, static_cast<std::int64_t>(r) + std::max(max_span, 1));
    std::int32_t close_at = -1;
    for (std::int32_t j = r + 1; j < reach; ++j) {
      if (buffer[j] == close) {
        close_at = j;
        break;
      }
    }
    if (close_at < 0) {
      ++r;  // the open character goes alone
      continue;
    }
    if (!remove) {
      for (std::int32_t j = r; j <= close_at; ++j) buffer[w++] = static_cast<char>(kSpace);
    }
    r = close_at + 1;
  }
  return Terminated(buffer, w, count);
}

void BlankOutSomeBytesA(char* buffer, std::int32_t count) { Fill(buffer, count, static_cast<char>(kSpace)); }

void BlankOutSomeBytesW(WideChar* buffer, std::int32_t count) { Fill(buffer, count, static_cast<WideChar>(kSpace)); }

void ZeroSomeBytesW(WideChar* buffer, std::int32_t count) { Fill(buffer, count, WideChar{0}); }

void FillWChar(WideChar* buffer, std::int32_t size_in_bytes, WideChar c) { Fill(buffer, size_in_bytes / 2, c); }

void Swap2Strings(WideChar* buffer, std::int32_t first_length, std::int32_t second_length) {
  // With either part empty the rotation changes nothing.
  if (buffer == nullptr || first_length <= 0 || second_length <= 0 || buffer[0] == 0) return;
  const std::int64_t n = static_cast<std::int64_t>(first_length) + second_length;
  // The character at r moves to (r + second_length) mod n. Each cycle is followed
  // from its leader until it comes back; leaders are taken in turn until every
  // character has moved.
  std::int64_t moved = 0;
  for (std::int64_t leader = 0; moved < n; ++leader) {
    WideChar carried = buffer[leader];
    std::int64_t at = leader;
    do {
      at = (at + second_length) % n;
      std::swap(carried, buffer[at]);
      ++moved;
    } while (at != leader);
  }
}

UnicodeString ExpandTabbedWideString(const UnicodeString& s, std::int32_t n) {
  const std::size_t spaces = n > 0 ? static_cast<std::size_t>(n) : 0;
  UnicodeString result;
  result.reserve(s.size());
  for (const WideChar c : s) {
    if (c == kTab) {
      result.append(spaces, static_cast<WideChar>(kSpace));
    } else {
      result.push_back(c);
    }
  }
  return result;
}

std::int32_t SearchAndReplaceFastW(WideChar* buffer, const WideChar* find, const WideChar* replacement,
                                   std::int32_t count, std::int32_t find_length) {
  if (buffer == nullptr || count <= 0) return 0;
  if (find == nullptr || find_length <= 0 || find_length > count) return count;
  std::int32_t replacement_length = 0;
  if (replacement != nullptr) {
    while (replacement[replacement_length] != 0) ++replacement_length;
  }
  if (replacement_length > find_length) return -1;

  // Reading runs ahead of writing, so copying forward never overwrites text
  // that is still to be read.
  std::int32_t w = 0;
  std::int32_t r = 0;
  while (r < count) {
    if (r + find_length <= count && std::equal(find, find + find_length, buffer + r)) {
      std::copy(replacement, replacement + replacement_length, buffer + w);
      w += replacement_length;
      r += find_length;
    } else {
      buffer[w++] = buffer[r++];
    }
  }
  return Terminated(buffer, w, count);
}

}  // namespace quill
