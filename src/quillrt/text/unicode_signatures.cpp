#include "quillrt/text/unicode_signatures.h"

#include <cstdint>
#include <cstring>

#include "quillrt/process/yield.h"

namespace quill {

namespace {

constexpr WideChar kByteOrderMark = 0xFEFF;
constexpr WideChar kSwappedByteOrderMark = 0xFFFE;

// The number of bytes a lead byte announces, counting itself; 0 for a byte
// that cannot lead.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  if ((lead & 0xFC) == 0xF8) return 5;
  if ((lead & 0xFE) == 0xFC) return 6;
  return 0;
}

// Trailing bytes announced by a lead byte, for the well-formedness walk.
std::size_t TrailingBytes(unsigned char lead) {
  if (lead < 0xC0) return 0;
  if (lead < 0xE0) return 1;
  if (lead < 0xF0) return 2;
  if (lead < 0xF8) return 3;
  if (lead < 0xFC) return 4;
  return 5;
}

bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// Whether the `length` bytes at `p` form a legal sequence.
bool IsLegalSequence(const unsigned char* p, std::size_t length) {
  if (length < 1 || length > 4) return false;
  if (length >= 4 && !IsContinuation(p[3])) return false;
  if (length >= 3 && !IsContinuation(p[2])) return false;
  if (length >= 2) {
    const unsigned char second = p[1];
    if (!IsContinuation(second)) return false;
    if (p[0] == 0xE0 && second < 0xA0) return false;
    if (p[0] == 0xF0 && second < 0x90) return false;
    if (p[0] == 0xF4 && second > 0x8F) return false;
  }
  return !(p[0] >= 0x80 && p[0] <= 0xC1) && p[0] <= 0xF4;
}

}  // namespace

const WideChar* UnicodeSigned(const WideChar* p) {
  return p != nullptr && (p[0] == kByteOrderMark || p[0] == kSwappedByteOrderMark) ? p : nullptr;
}

WideChar* UnicodeSigned(WideChar* p) {
  return const_cast<WideChar*>(UnicodeSigned(static_cast<const WideChar*>(p)));
}

const WideChar* UnicodeByteReversed(const WideChar* p) {
  return p != nullptr && p[0] == kSwappedByteOrderMark ? p : nullptr;
}

WideChar* UnicodeByteReversed(WideChar* p) {
  return const_cast<WideChar*>(UnicodeByteReversed(static_cast<const WideChar*>(p)));
}

WideChar* StrSwapByteOrder(WideChar* text) {
  if (text == nullptr) return nullptr;
  for (WideChar* p = text; *p != 0; ++p) *p = static_cast<WideChar>((*p << 8) | (*p >> 8));
  return text;
}

bool IsUTF8Signature(const TThreeBytes& bytes) {
  return bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
}

bool IsUTF8SignatureA(const char* p) {
  if (p == nullptr) return false;
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF;
}

bool IsUTF8SignatureW(const WideChar* p) {
  return p != nullptr && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

AnsiString UTF8SignatureAsUTF8String() { return AnsiString("\xEF\xBB\xBF"); }

std::size_t UTF8LengthInChars(std::string_view s) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t position = 0;
  std::size_t characters = 0;
  while (position < s.size()) {
    const std::size_t step = SequenceLength(bytes[position]);
    if (step == 0) return s.size();
    position += step;
    ++characters;
  }
  // Overshooting means the last sequence was cut short.
  return position > s.size() ? s.size() : characters;
}

bool CheckedUTF(std::string_view s, bool& all_ascii) {
  all_ascii = true;
  const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t position = 0;
  while (position < s.size()) {
    // Without a yield hook, runs of ASCII (always legal) are passed over
    // eight bytes at a time; with one, the hook is called for every byte.
    if (AYieldProcessProc == nullptr) {
      for (std::uint64_t eight; position + 8 <= s.size(); position += 8) {
        std::memcpy(&eight, bytes + position, sizeof eight);
        if (eight & 0x8080808080808080ull) break;
      }
      if (position >= s.size()) break;
    }
    MyYieldProcess();
    const std::size_t trailing = TrailingBytes(bytes[position]);
    if (trailing >= s.size() - position) return false;  // runs past the end
    if (!IsLegalSequence(bytes + position, trailing + 1)) return false;
    if (trailing > 0) {
      all_ascii = false;
      return true;
    }
    ++position;
  }
  return true;
}

}  // namespace quill
