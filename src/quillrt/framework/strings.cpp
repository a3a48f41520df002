#include "quillrt/framework/strings.h"

#include <cstdint>

#include "quillrt/framework/file_names.h"

namespace quill {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(UnicodeString& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one well-formed UTF-8 sequence at s[i]; returns its length, or 0 when the
// bytes at i do not start a well-formed sequence (then `bad` is the number of bytes
// forming the maximal ill-formed prefix, at least 1).
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& cp, std::size_t& bad) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
  const std::uint8_t lead = byte(i);
  bad = 1;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  std::size_t need;
  std::uint8_t lo = 0x80, hi = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;  // no encoded surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if (i + k >= s.size()) return 0;
    const std::uint8_t b = byte(i + k);
    if (b < lo || b > hi) return 0;
    lo = 0x80;
    hi = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
    bad = k + 1;
  }
  return need + 1;
}

}  // namespace

UnicodeString Utf8ToUtf16(std::string_view utf8) {
  UnicodeString out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    std::size_t bad = 1;
    const std::size_t len = DecodeUtf8(utf8, i, cp, bad);
    if (len == 0) {
      AppendUtf16(out, kReplacement);
      i += bad;
    } else {
      AppendUtf16(out, cp);
      i += len;
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

UnicodeString FileNameToUtf16(std::string_view bytes) {
  UnicodeString out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp = 0;
    std::size_t bad = 1;
    const std::size_t len = DecodeUtf8(bytes, i, cp, bad);
    if (len > 0) {
      AppendUtf16(out, cp);
      i += len;
      continue;
    }
    // Every byte of an ill-formed sequence is 0x80 or above.
    for (const std::size_t end = i + bad; i < end; ++i)
      out.push_back(static_cast<char16_t>(0xDC00 + static_cast<std::uint8_t>(bytes[i])));
  }
  return out;
}

std::string FileNameToBytes(std::u16string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    char32_t cp = name[i];
    const bool paired = cp >= 0xD800 && cp <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
                        name[i + 1] <= 0xDFFF;
    if (paired) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (name[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
      out.push_back(static_cast<char>(cp - 0xDC00));  // a byte kept from a name that was not UTF-8
      continue;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace quill
