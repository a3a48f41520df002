#include "quillrt/framework/encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "quillrt/framework/exceptions.h"

namespace quill {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Surrogates without their partner: UTF-8 cannot carry them.
std::size_t CountUnpairedSurrogates(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
      ++i;
    else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
      ++count;
  }
  return count;
}

class Utf8Encoding final : public TEncoding {
 public:
  UnicodeString GetString(std::string_view bytes) const override { return Utf8ToUtf16(bytes); }
  std::string_view GetPreamble() const override { return "\xEF\xBB\xBF"; }
  int CodePage() const override { return 65001; }
  std::string EncodingName() const override { return "UTF-8"; }
  bool IsSingleByte() const override { return false; }

 protected:
  std::string Encode(std::u16string_view text, std::size_t* replaced) const override {
    if (replaced) *replaced = CountUnpairedSurrogates(text);
    return Utf16ToUtf8(text);
  }
};

// UTF-16 keeps every code unit as it is, unpaired surrogates included.
class Utf16Encoding final : public TEncoding {
 public:
  explicit Utf16Encoding(bool big_endian) : big_endian_(big_endian) {}

  UnicodeString GetString(std::string_view bytes) const override {
    UnicodeString text;
    text.reserve(bytes.size() / 2 + 1);
    const int high = big_endian_ ? 0 : 1;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
      const auto hi = static_cast<unsigned char>(bytes[i + high]);
      const auto lo = static_cast<unsigned char>(bytes[i + 1 - high]);
      text.push_back(static_cast<char16_t>((hi << 8) | lo));
    }
    if (i < bytes.size()) text.push_back(kReplacement);  // a lone last byte is not dropped silently
    return text;
  }
  std::string_view GetPreamble() const override { return big_endian_ ? "\xFE\xFF" : "\xFF\xFE"; }
  int CodePage() const override { return big_endian_ ? 1201 : 1200; }
  std::string EncodingName() const override { return big_endian_ ? "UTF-16BE" : "UTF-16LE"; }
  bool IsSingleByte() const override { return false; }

 protected:
  std::string Encode(std::u16string_view text, std::size_t* replaced) const override {
    if (replaced) *replaced = 0;
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto hi = static_cast<char>(text[i] >> 8);
      const auto lo = static_cast<char>(text[i] & 0xFF);
      bytes[2 * i] = big_endian_ ? hi : lo;
      bytes[2 * i + 1] = big_endian_ ? lo : hi;
    }
    return bytes;
  }

 private:
  bool big_endian_;
};

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Substitutes like ICU's own callback and counts the characters it replaced.
void U_CALLCONV CountingSubstitute(const void* context, UConverterFromUnicodeArgs* args, const UChar* units,
                                   int32_t length, UChar32 code_point, UConverterCallbackReason reason,
                                   UErrorCode* status) {
  if (reason <= UCNV_IRREGULAR && context != nullptr) ++*static_cast<std::size_t*>(const_cast<void*>(context));
  UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, code_point, reason, status);
}

// The ICU converter names to try for a Windows code page number.
std::vector<std::string> IcuNamesFor(int code_page) {
  switch (code_page) {
    case 20127: return {"US-ASCII"};
    case 20866: return {"koi8-r"};
    case 21866: return {"koi8-u"};
    case 10000: return {"macintosh"};
    case 20932:
    case 51932: return {"EUC-JP"};
    case 51949: return {"EUC-KR"};
    case 54936: return {"gb18030"};
    case 50220: return {"ISO-2022-JP"};
    default: break;
  }
  if (code_page >= 28591 && code_page <= 28605) return {"iso-8859-" + std::to_string(code_page - 28590)};
  const std::string number = std::to_string(code_page);
  return {"windows-" + number, "cp" + number, "ibm-" + number};
}

// A code page through an ICU converter. Single-byte pages decode through a
// 256-entry table; everything else shares one converter under a lock, so the
// object may be used from any thread.
class CodePageEncoding final : public TEncoding {
 public:
  CodePageEncoding(int code_page, std::string name, ConverterPtr converter)
      : code_page_(code_page), name_(std::move(name)), converter_(std::move(converter)) {
    ucnv_setFallback(converter_.get(), true);  // best-fit mappings of the Windows tables
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setSubstChars(converter_.get(), "?", 1, &status);
    single_byte_ = ucnv_getMaxCharSize(converter_.get()) == 1;
    if (single_byte_) BuildTable();
  }

  UnicodeString GetString(std::string_view bytes) const override {
    if (single_byte_ && table_complete_) {
      UnicodeString text(bytes.size(), u'\0');
      for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = table_[static_cast<unsigned char>(bytes[i])];
      return text;
    }
    std::lock_guard lock(mutex_);
    return Decode(bytes);
  }
  std::string_view GetPreamble() const override { return {}; }
  int CodePage() const override { return code_page_; }
  std::string EncodingName() const override { return name_; }
  bool IsSingleByte() const override { return single_byte_; }

 protected:
  std::string Encode(std::u16string_view text, std::size_t* replaced) const override {
    std::size_t count = 0;
    std::lock_guard lock(mutex_);
    UConverter* converter = converter_.get();
    ucnv_resetFromUnicode(converter);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, CountingSubstitute, &count, nullptr, nullptr, &status);
    std::string bytes(text.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(converter)) + 16, '\0');
    const UChar* source = text.data();
    const UChar* source_end = source + text.size();
    char* target = bytes.data();
    while (true) {
      status = U_ZERO_ERROR;
      ucnv_fromUnicode(converter, &target, bytes.data() + bytes.size(), &source, source_end, nullptr, true, &status);
      if (status != U_BUFFER_OVERFLOW_ERROR) break;
      const std::size_t used = static_cast<std::size_t>(target - bytes.data());
      bytes.resize(bytes.size() * 2);
      target = bytes.data() + used;
    }
    UErrorCode reset = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &reset);
    if (U_FAILURE(status)) throw EConvertError("Cannot convert text to code page " + std::to_string(code_page_));
    bytes.resize(static_cast<std::size_t>(target - bytes.data()));
    if (replaced) *replaced = count;
    return bytes;
  }

 private:
  // Caller holds the lock (or is the constructor).
  UnicodeString Decode(std::string_view bytes) const {
    UConverter* converter = converter_.get();
    ucnv_resetToUnicode(converter);
    UnicodeString text(bytes.size() + 8, u'\0');
    const char* source = bytes.data();
    const char* source_end = source + bytes.size();
    UChar* target = text.data();
    UErrorCode status;
    while (true) {
      status = U_ZERO_ERROR;
      ucnv_toUnicode(converter, &target, text.data() + text.size(), &source, source_end, nullptr, true, &status);
      if (status != U_BUFFER_OVERFLOW_ERROR) break;
      const std::size_t used = static_cast<std::size_t>(target - text.data());
      text.resize(text.size() * 2);
      target = text.data() + used;
    }
    if (U_FAILURE(status)) throw EConvertError("Cannot convert text from code page " + std::to_string(code_page_));
    text.resize(static_cast<std::size_t>(target - text.data()));
    return text;
  }

  void BuildTable() {
    table_complete_ = true;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      const UnicodeString decoded = Decode(std::string_view(&byte, 1));
      if (decoded.size() > 1) table_complete_ = false;  // a byte for a supplementary character
      table_[static_cast<std::size_t>(b)] = decoded.empty() ? kReplacement : decoded[0];
    }
  }

  int code_page_;
  std::string name_;
  ConverterPtr converter_;
  bool single_byte_ = false;
  bool table_complete_ = false;
  std::array<char16_t, 256> table_{};
  mutable std::mutex mutex_;
};

std::atomic<int> system_ansi_code_page{1252};

// Code-page encodings made so far; they live until the program ends.
class Registry {
 public:
  const TEncoding* Get(int code_page) {
    std::lock_guard lock(mutex_);
    auto found = encodings_.find(code_page);
    if (found != encodings_.end()) return found->second.get();
    for (const std::string& name : IcuNamesFor(code_page)) {
      UErrorCode status = U_ZERO_ERROR;
      ConverterPtr converter(ucnv_open(name.c_str(), &status));
      if (U_FAILURE(status)) continue;
      auto encoding = std::make_unique<CodePageEncoding>(code_page, name, std::move(converter));
      return encodings_.emplace(code_page, std::move(encoding)).first->second.get();
    }
    throw EConvertError("Unsupported code page " + std::to_string(code_page));
  }

 private:
  std::mutex mutex_;
  std::map<int, std::unique_ptr<TEncoding>> encodings_;
};

Registry& Encodings() {
  static Registry registry;
  return registry;
}

}  // namespace

TEncoding::~TEncoding() = default;

std::string TEncoding::GetBytes(std::u16string_view text) const { return Encode(text, nullptr); }

std::string TEncoding::GetBytes(std::u16string_view text, std::size_t& replaced) const {
  return Encode(text, &replaced);
}

const TEncoding* TEncoding::UTF8() {
  static const Utf8Encoding encoding;
  return &encoding;
}

const TEncoding* TEncoding::Unicode() {
  static const Utf16Encoding encoding(false);
  return &encoding;
}

const TEncoding* TEncoding::BigEndianUnicode() {
  static const Utf16Encoding encoding(true);
  return &encoding;
}

const TEncoding* TEncoding::GetEncoding(int code_page) {
  switch (code_page) {
    case 0: return Default();
    case 65001: return UTF8();
    case 1200: return Unicode();
    case 1201: return BigEndianUnicode();
    default: break;
  }
  if (code_page < 0 || code_page > 65535) throw EConvertError("Invalid code page " + std::to_string(code_page));
  return Encodings().Get(code_page);
}

const TEncoding* TEncoding::Default() { return GetEncoding(system_ansi_code_page.load()); }

const TEncoding* TEncoding::DetectFromPreamble(std::string_view bytes, std::size_t& preamble_length) {
  for (const TEncoding* encoding : {UTF8(), Unicode(), BigEndianUnicode()}) {
    const std::string_view preamble = encoding->GetPreamble();
    if (bytes.substr(0, preamble.size()) == preamble) {
      preamble_length = preamble.size();
      return encoding;
    }
  }
  preamble_length = 0;
  return nullptr;
}

int SystemAnsiCodePage() { return system_ansi_code_page.load(); }

void SetSystemAnsiCodePage(int code_page) {
  if (code_page == 0 || code_page == 1200 || code_page == 1201)
    throw EConvertError("Not an 8-bit code page: " + std::to_string(code_page));
  TEncoding::GetEncoding(code_page);  // raises for an unknown page
  system_ansi_code_page.store(code_page);
}

}  // namespace quill
