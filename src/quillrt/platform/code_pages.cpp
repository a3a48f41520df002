#include "quillrt/platform/code_pages.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <array>
#include <atomic>
#include <bitset>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "quillrt/platform/utf8_decoding.h"

namespace quill {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint16_t kNoBytes = 0xFFFF;

std::atomic<std::uint32_t> g_ansi_code_page{1252};
std::atomic<std::uint32_t> g_oem_code_page{437};

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

struct SetCloser {
  void operator()(USet* set) const { uset_close(set); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

// Windows numbers whose ICU names do not follow the "windows-<n>" pattern.
const char* SpecialIcuName(std::uint32_t code_page) {
  switch (code_page) {
    case 20127: return "US-ASCII";
    case 28591: return "ISO-8859-1";
    case 65000: return "UTF-7";
    case 65001: return "UTF-8";
    default: return nullptr;
  }
}

ConverterPtr OpenByName(const std::string& name) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(name.c_str(), &status));
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

// The ICU name under which `code_page` opens, or "" when none does.
std::string FindIcuName(std::uint32_t code_page) {
  if (code_page <= CP_THREAD_ACP) return {};
  if (const char* special = SpecialIcuName(code_page)) return special;
  const std::string number = std::to_string(code_page);
  for (const char* prefix : {"windows-", "cp", "ibm-"}) {
    std::string name = prefix + number;
    if (OpenByName(name)) return name;
  }
  return {};
}

// Callbacks of the ICU converters.
struct ToUnicodeContext {
  bool stop_on_invalid = false;
  bool saw_invalid = false;
};

void ToUnicodeCallback(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t,
                       UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone
  auto* state = static_cast<ToUnicodeContext*>(const_cast<void*>(context));
  state->saw_invalid = true;
  if (state->stop_on_invalid) return;  // leave the error: the conversion fails
  *status = U_ZERO_ERROR;
  const UChar replacement = kReplacement;
  ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

struct FromUnicodeContext {
  bool stop_on_invalid = false;
  bool used_default = false;
  const char* default_bytes = "?";
  int32_t default_length = 1;
};

void FromUnicodeCallback(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                         UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;
  auto* state = static_cast<FromUnicodeContext*>(const_cast<void*>(context));
  if (state->stop_on_invalid) return;
  *status = U_ZERO_ERROR;
  state->used_default = true;
  ucnv_cbFromUWriteBytes(args, state->default_bytes, state->default_length, 0, status);
}

// Tables of a page, built once on first use.
struct SingleByteTables {
  char16_t to_unicode[256];
  bool valid[256];
};

struct ReverseTable {
  std::uint16_t bytes[65536];    // one byte (< 0x100), lead << 8 | trail, or kNoBytes
  std::bitset<65536> best_fit;   // mapped only through a fallback of the page
};

struct PageData {
  std::uint32_t code_page = 0;
  std::string icu_name;
  detail::PageKind kind = detail::PageKind::unknown;
  std::once_flag once;
  std::unique_ptr<SingleByteTables> single;
  std::unique_ptr<detail::DoubleByteTables> dbcs;
  std::unique_ptr<ReverseTable> reverse;
};

bool IsAsciiControl(unsigned byte) { return byte < 0x20 || byte == 0x7F; }

// Converts the whole of `bytes` to UTF-16 with ICU's converter for the page;
// false on an invalid sequence or when the converter cannot be opened.
bool IcuToUnicode(const std::string& icu_name, const char* bytes, std::size_t count, bool stop_on_invalid,
                  std::u16string& out, bool* saw_invalid = nullptr) {
  out.clear();
  ConverterPtr converter = OpenByName(icu_name);
  if (!converter) return false;
  ToUnicodeContext context;
  context.stop_on_invalid = stop_on_invalid;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), ToUnicodeCallback, &context, nullptr, nullptr, &status);
  const char* source = bytes;
  const char* const source_end = bytes + count;
  char16_t chunk[4096];
  for (;;) {
    UChar* target = reinterpret_cast<UChar*>(chunk);
    status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, reinterpret_cast<UChar*>(chunk) + 4096, &source, source_end,
                   nullptr, true, &status);
    out.append(chunk, static_cast<std::size_t>(target - reinterpret_cast<UChar*>(chunk)));
    if (status == U_BUFFER_OVERFLOW_ERROR) continue;
    if (saw_invalid) *saw_invalid = context.saw_invalid;
    return U_SUCCESS(status);
  }
}

// The bytes of one code point (given as UTF-16) through ICU, with or without
// the page's fallbacks; empty when the page lacks it.
std::string IcuFromUnicodeExact(UConverter* converter, const UChar* units, int32_t length, bool fallback) {
  ucnv_resetFromUnicode(converter);
  ucnv_setFallback(converter, fallback);
  char bytes[8];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t written = ucnv_fromUChars(converter, bytes, sizeof bytes, units, length, &status);
  if (U_FAILURE(status) || written <= 0) return {};
  return std::string(bytes, static_cast<std::size_t>(written));
}

std::unique_ptr<SingleByteTables> BuildSingleByte(UConverter* converter) {
  auto tables = std::make_unique<SingleByteTables>();
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    UChar out[4];
    status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, out, 4, &in, 1, &status);
    const bool ok = U_SUCCESS(status) && length == 1;
    tables->to_unicode[byte] = ok ? out[0] : kReplacement;
    tables->valid[byte] = ok;
  }
  // ASCII-based pages read their control bytes as controls, never as glyphs.
  if (tables->to_unicode['A'] == u'A') {
    for (unsigned byte = 0; byte < 256; ++byte) {
      if (IsAsciiControl(byte)) {
        tables->to_unicode[byte] = static_cast<char16_t>(byte);
        tables->valid[byte] = true;
      }
    }
  }
  return tables;
}

std::unique_ptr<detail::DoubleByteTables> BuildDoubleByte(UConverter* converter) {
  auto tables = std::make_unique<detail::DoubleByteTables>();
  UErrorCode status = U_ZERO_ERROR;
  UBool starters[256];
  ucnv_getStarters(converter, starters, &status);
  if (U_FAILURE(status)) return nullptr;
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  for (unsigned lead = 0; lead < 256; ++lead) {
    tables->lead[lead] = starters[lead] != 0;
    UChar out[4];
    const char one = static_cast<char>(lead);
    status = U_ZERO_ERROR;
    std::int32_t length = tables->lead[lead] ? 0 : ucnv_toUChars(converter, out, 4, &one, 1, &status);
    tables->single[lead] = (!tables->lead[lead] && U_SUCCESS(status) && length == 1) ? out[0] : kReplacement;
    if (IsAsciiControl(lead)) tables->single[lead] = static_cast<char16_t>(lead);
    for (unsigned trail = 0; trail < 256; ++trail) {
      const unsigned index = lead << 8 | trail;
      tables->pair[index] = kReplacement;
      tables->pair_valid[index] = false;
      if (!tables->lead[lead]) continue;
      const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      status = U_ZERO_ERROR;
      length = ucnv_toUChars(converter, out, 4, two, 2, &status);
      if (U_SUCCESS(status) && length == 1) {
        tables->pair[index] = out[0];
        tables->pair_valid[index] = true;
      }
    }
  }
  return tables;
}

// The way back for a table-driven page: the round-trip characters first, then
// the fallbacks (best fit) that the page offers.
std::unique_ptr<ReverseTable> BuildReverse(UConverter* converter, const PageData& page) {
  auto reverse = std::make_unique<ReverseTable>();
  std::fill(std::begin(reverse->bytes), std::end(reverse->bytes), kNoBytes);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  auto fill = [&](UConverterUnicodeSet which, bool fallback) {
    SetPtr set(uset_openEmpty());
    UErrorCode set_status = U_ZERO_ERROR;
    ucnv_getUnicodeSet(converter, set.get(), which, &set_status);
    if (U_FAILURE(set_status)) return;
    const int32_t items = uset_getItemCount(set.get());
    for (int32_t item = 0; item < items; ++item) {
      UChar32 start = 0, end = 0;
      set_status = U_ZERO_ERROR;
      if (uset_getItem(set.get(), item, &start, &end, nullptr, 0, &set_status) != 0) continue;  // a string
      for (UChar32 c = start; c <= end && c <= 0xFFFF; ++c) {
        if (U16_IS_SURROGATE(c) || reverse->bytes[c] != kNoBytes) continue;
        const UChar unit = static_cast<UChar>(c);
        const std::string bytes = IcuFromUnicodeExact(converter, &unit, 1, fallback);
        if (bytes.size() == 1) {
          reverse->bytes[c] = static_cast<unsigned char>(bytes[0]);
        } else if (bytes.size() == 2) {
          reverse->bytes[c] = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                         static_cast<unsigned char>(bytes[1]));
        } else {
          continue;
        }
        reverse->best_fit[c] = fallback;
      }
    }
  };
  fill(UCNV_ROUNDTRIP_SET, false);
  // Control characters go to their own bytes (matching the way in).
  const bool ascii_based = page.single ? page.single->to_unicode['A'] == u'A' : true;
  if (ascii_based) {
    for (unsigned c = 0; c < 0x80; ++c) {
      if (IsAsciiControl(c)) {
        reverse->bytes[c] = static_cast<std::uint16_t>(c);
        reverse->best_fit[c] = false;
      }
    }
  }
  fill(UCNV_ROUNDTRIP_AND_FALLBACK_SET, true);
  return reverse;
}

void BuildTables(PageData& page) {
  if (page.kind != detail::PageKind::single_byte && page.kind != detail::PageKind::double_byte) return;
  ConverterPtr converter = OpenByName(page.icu_name);
  if (!converter) return;
  if (page.kind == detail::PageKind::single_byte) {
    page.single = BuildSingleByte(converter.get());
  } else {
    page.dbcs = BuildDoubleByte(converter.get());
    if (!page.dbcs) {
      page.kind = detail::PageKind::other;
      return;
    }
  }
  page.reverse = BuildReverse(converter.get(), page);
}

detail::PageKind ClassifyConverter(UConverter* converter) {
  const UConverterType type = ucnv_getType(converter);
  if (type == UCNV_UTF8) return detail::PageKind::utf8;
  const int8_t max_size = ucnv_getMaxCharSize(converter);
  if (max_size == 1 && (type == UCNV_SBCS || type == UCNV_MBCS || type == UCNV_LATIN_1 || type == UCNV_US_ASCII))
    return detail::PageKind::single_byte;
  if (max_size == 2 && (type == UCNV_DBCS || type == UCNV_MBCS)) return detail::PageKind::double_byte;
  return detail::PageKind::other;
}

// The page's data with its tables built; never null (kind unknown for a page
// that cannot be converted).
PageData& Page(std::uint32_t resolved_code_page) {
  static std::mutex mutex;
  static std::unordered_map<std::uint32_t, std::unique_ptr<PageData>> pages;
  PageData* page = nullptr;
  {
    std::lock_guard lock(mutex);
    auto& slot = pages[resolved_code_page];
    if (!slot) {
      slot = std::make_unique<PageData>();
      slot->code_page = resolved_code_page;
      slot->icu_name = FindIcuName(resolved_code_page);
      if (!slot->icu_name.empty()) {
        if (ConverterPtr converter = OpenByName(slot->icu_name)) slot->kind = ClassifyConverter(converter.get());
      }
    }
    page = slot.get();
  }
  std::call_once(page->once, [page] { BuildTables(*page); });
  return *page;
}

bool BadCounts(const void* source, int source_count, int dest_count) {
  return source == nullptr || source_count == 0 || source_count < -1 || dest_count < 0;
}

// Copies `units` to the caller's buffer under the size-query convention.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& units, Unit* dest, int dest_count) {
  const auto size = static_cast<int>(units.size());
  if (dest_count == 0) return size;
  if (dest == nullptr || size > dest_count) return 0;
  std::memcpy(dest, units.data(), units.size() * sizeof(Unit));
  return size;
}

// --- Bytes to UTF-16 -------------------------------------------------------

bool DecodeSingleByte(const SingleByteTables& tables, const unsigned char* bytes, std::size_t count, bool strict,
                      std::u16string& out) {
  out.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (strict && !tables.valid[bytes[i]]) return false;
    out[i] = tables.to_unicode[bytes[i]];
  }
  return true;
}

bool DecodeDoubleByte(const detail::DoubleByteTables& tables, const unsigned char* bytes, std::size_t count,
                      bool strict, std::u16string& out) {
  out.clear();
  out.reserve(count);
  std::size_t i = 0;
  while (i < count) {
    const unsigned lead = bytes[i];
    if (!tables.lead[lead]) {
      if (strict && tables.single[lead] == kReplacement) return false;
      out.push_back(tables.single[lead]);
      ++i;
      continue;
    }
    if (i + 1 >= count) {  // a lead byte with nothing after it
      if (strict) return false;
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    const unsigned index = lead << 8 | bytes[i + 1];
    if (tables.pair_valid[index]) {
      out.push_back(tables.pair[index]);
      i += 2;
      continue;
    }
    if (strict) return false;
    out.push_back(kReplacement);
    // A second byte that could never be a trail byte is read again on its own.
    i += bytes[i + 1] < 0x40 ? 1 : 2;
  }
  return true;
}

bool DecodeUtf8(const unsigned char* bytes, std::size_t count, bool strict, std::u16string& out) {
  out.clear();
  out.reserve(count);
  std::size_t i = 0;
  while (i < count) {
    const detail::Utf8Step step = detail::DecodeUtf8Step(bytes + i, count - i);
    if (!step.valid && strict) return false;
    const std::uint32_t code_point = step.valid ? step.code_point : kReplacement;
    if (code_point >= 0x10000) {
      out.push_back(static_cast<char16_t>(U16_LEAD(code_point)));
      out.push_back(static_cast<char16_t>(U16_TRAIL(code_point)));
    } else {
      out.push_back(static_cast<char16_t>(code_point));
    }
    i += step.length;
  }
  return true;
}

bool DecodeAny(std::uint32_t code_page, const char* bytes, std::size_t count, bool strict, std::u16string& out) {
  PageData& page = Page(code_page);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes);
  switch (page.kind) {
    case detail::PageKind::single_byte: return DecodeSingleByte(*page.single, data, count, strict, out);
    case detail::PageKind::double_byte: return DecodeDoubleByte(*page.dbcs, data, count, strict, out);
    case detail::PageKind::utf8: return DecodeUtf8(data, count, strict, out);
    case detail::PageKind::other: return IcuToUnicode(page.icu_name, bytes, count, strict, out);
    case detail::PageKind::unknown: break;
  }
  return false;
}

// --- UTF-16 to bytes -------------------------------------------------------

struct EncodeOptions {
  bool strict = false;     // fail on anything the page lacks
  bool best_fit = true;    // use the page's fallbacks
  std::string default_char = "?";
};

bool EncodeWithTable(const ReverseTable& reverse, const char16_t* units, std::size_t count,
                     const EncodeOptions& options, std::string& out, bool& used_default) {
  out.clear();
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t unit = units[i];
    std::uint16_t bytes = kNoBytes;
    if (!U16_IS_SURROGATE(unit) && (options.best_fit || !reverse.best_fit[unit])) bytes = reverse.bytes[unit];
    if (bytes == kNoBytes) {
      if (options.strict) return false;
      // A surrogate pair is one character: one default character for both.
      if (U16_IS_LEAD(unit) && i + 1 < count && U16_IS_TRAIL(units[i + 1])) ++i;
      out += options.default_char;
      used_default = true;
    } else if (bytes < 0x100) {
      out.push_back(static_cast<char>(bytes));
    } else {
      out.push_back(static_cast<char>(bytes >> 8));
      out.push_back(static_cast<char>(bytes & 0xFF));
    }
  }
  return true;
}

bool EncodeUtf8(const char16_t* units, std::size_t count, bool strict, std::string& out) {
  out.clear();
  out.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t code_point = units[i];
    if (U16_IS_LEAD(units[i]) && i + 1 < count && U16_IS_TRAIL(units[i + 1])) {
      code_point = U16_GET_SUPPLEMENTARY(units[i], units[i + 1]);
      ++i;
    } else if (U16_IS_SURROGATE(units[i])) {
      if (strict) return false;
      code_point = kReplacement;
    }
    detail::AppendUtf8(code_point, out);
  }
  return true;
}

bool EncodeWithIcu(const std::string& icu_name, const char16_t* units, std::size_t count,
                   const EncodeOptions& options, std::string& out, bool& used_default) {
  out.clear();
  ConverterPtr converter = OpenByName(icu_name);
  if (!converter) return false;
  FromUnicodeContext context;
  context.stop_on_invalid = options.strict;
  context.default_bytes = options.default_char.data();
  context.default_length = static_cast<int32_t>(options.default_char.size());
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(converter.get(), FromUnicodeCallback, &context, nullptr, nullptr, &status);
  ucnv_setFallback(converter.get(), options.best_fit);
  const UChar* source = reinterpret_cast<const UChar*>(units);
  const UChar* const source_end = source + count;
  char chunk[4096];
  for (;;) {
    char* target = chunk;
    status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, chunk + sizeof chunk, &source, source_end, nullptr, true, &status);
    out.append(chunk, static_cast<std::size_t>(target - chunk));
    if (status == U_BUFFER_OVERFLOW_ERROR) continue;
    used_default = used_default || context.used_default;
    return U_SUCCESS(status);
  }
}

bool EncodeAny(std::uint32_t code_page, const char16_t* units, std::size_t count, const EncodeOptions& options,
               std::string& out, bool& used_default) {
  PageData& page = Page(code_page);
  switch (page.kind) {
    case detail::PageKind::single_byte:
    case detail::PageKind::double_byte:
      return EncodeWithTable(*page.reverse, units, count, options, out, used_default);
    case detail::PageKind::utf8: return EncodeUtf8(units, count, options.strict, out);
    case detail::PageKind::other: return EncodeWithIcu(page.icu_name, units, count, options, out, used_default);
    case detail::PageKind::unknown: break;
  }
  return false;
}

bool IsUnicodePage(std::uint32_t code_page) { return code_page == CP_UTF8 || code_page == CP_UTF7; }

}  // namespace

std::uint32_t GetACP() { return g_ansi_code_page.load(std::memory_order_relaxed); }
std::uint32_t GetOEMCP() { return g_oem_code_page.load(std::memory_order_relaxed); }

bool SetACP(std::uint32_t code_page) {
  if (!IsValidCodePage(code_page) || code_page <= CP_THREAD_ACP) return false;
  g_ansi_code_page.store(code_page, std::memory_order_relaxed);
  return true;
}

bool SetOEMCP(std::uint32_t code_page) {
  if (!IsValidCodePage(code_page) || code_page <= CP_THREAD_ACP) return false;
  g_oem_code_page.store(code_page, std::memory_order_relaxed);
  return true;
}

std::uint32_t ResolveCodePage(std::uint32_t code_page) {
  switch (code_page) {
    case CP_ACP:
    case CP_THREAD_ACP: return GetACP();
    case CP_OEMCP: return GetOEMCP();
    case CP_MACCP: return 10000;
    default: return code_page;
  }
}

bool IsValidCodePage(std::uint32_t code_page) {
  if (code_page <= CP_THREAD_ACP) return false;
  return Page(code_page).kind != detail::PageKind::unknown;
}

bool IsSingleByteCodePage(std::uint32_t code_page) {
  return Page(ResolveCodePage(code_page)).kind == detail::PageKind::single_byte;
}

bool IsDBCSLeadByteEx(std::uint32_t code_page, std::uint8_t byte) {
  const PageData& page = Page(ResolveCodePage(code_page));
  return page.kind == detail::PageKind::double_byte && page.dbcs->lead[byte];
}

const char16_t* SingleByteToUnicodeTable(std::uint32_t code_page) {
  const PageData& page = Page(ResolveCodePage(code_page));
  return page.kind == detail::PageKind::single_byte ? page.single->to_unicode : nullptr;
}

int MultiByteToWideChar(std::uint32_t code_page, std::uint32_t flags, const char* source, int source_count,
                        char16_t* dest, int dest_count) {
  if (BadCounts(source, source_count, dest_count)) return 0;
  const std::size_t count = source_count == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(source_count);
  std::u16string units;
  if (!DecodeAny(ResolveCodePage(code_page), source, count, (flags & MB_ERR_INVALID_CHARS) != 0, units)) return 0;
  return Deliver(units, dest, dest_count);
}

int WideCharToMultiByte(std::uint32_t code_page, std::uint32_t flags, const char16_t* source, int source_count,
                        char* dest, int dest_count, const char* default_char, bool* used_default_char) {
  if (BadCounts(source, source_count, dest_count)) return 0;
  const std::uint32_t resolved = ResolveCodePage(code_page);
  // The Unicode pages have no default character to report.
  if (IsUnicodePage(resolved) && (default_char != nullptr || used_default_char != nullptr)) return 0;
  std::size_t count = static_cast<std::size_t>(source_count);
  if (source_count == -1) {
    count = 0;
    while (source[count] != 0) ++count;
    ++count;
  }
  EncodeOptions options;
  options.strict = (flags & WC_ERR_INVALID_CHARS) != 0;
  options.best_fit = (flags & WC_NO_BEST_FIT_CHARS) == 0;
  if (default_char != nullptr) {
    // One character of the page: one byte, or two when it starts a pair.
    const bool pair = IsDBCSLeadByteEx(resolved, static_cast<std::uint8_t>(default_char[0])) && default_char[1] != 0;
    options.default_char.assign(default_char, pair ? 2 : 1);
  }
  bool used_default = false;
  std::string bytes;
  if (!EncodeAny(resolved, source, count, options, bytes, used_default)) return 0;
  const int result = Deliver(bytes, dest, dest_count);
  if (result != 0 && used_default_char != nullptr) *used_default_char = used_default;
  return result;
}

UnicodeString AnsiToUnicode(std::string_view bytes, std::uint32_t code_page) {
  std::u16string units;
  if (bytes.empty() || !DecodeAny(ResolveCodePage(code_page), bytes.data(), bytes.size(), false, units)) return {};
  return units;
}

AnsiString UnicodeToAnsi(std::u16string_view text, std::uint32_t code_page, bool* used_default_char) {
  bool used_default = false;
  std::string bytes;
  if (!text.empty() && !EncodeAny(ResolveCodePage(code_page), text.data(), text.size(), EncodeOptions{}, bytes,
                                  used_default)) {
    bytes.clear();
  }
  if (used_default_char != nullptr) *used_default_char = used_default;
  return bytes;
}

namespace detail {

PageKind KindOfCodePage(std::uint32_t resolved_code_page) { return Page(resolved_code_page).kind; }

const DoubleByteTables* DoubleByteTablesOf(std::uint32_t resolved_code_page) {
  const PageData& page = Page(resolved_code_page);
  return page.kind == PageKind::double_byte ? page.dbcs.get() : nullptr;
}

bool ForEachCharacterImpl(std::uint32_t resolved_code_page, const char* bytes, std::size_t count,
                          CharacterVisitor visit, void* context) {
  const PageData& page = Page(resolved_code_page);
  if (page.icu_name.empty()) return false;
  ConverterPtr converter = OpenByName(page.icu_name);
  if (!converter) return false;
  ToUnicodeContext callback_context;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), ToUnicodeCallback, &callback_context, nullptr, nullptr, &status);
  const char* source = bytes;
  const char* const end = bytes + count;
  while (source < end) {
    const char* start = source;
    status = U_ZERO_ERROR;
    const UChar32 code_point = ucnv_getNextUChar(converter.get(), &source, end, &status);
    if (U_FAILURE(status) || source <= start) {
      // A truncated sequence at the end (or a converter that made no progress):
      // the remaining bytes do not decode.
      for (const char* p = start; p < end; ++p)
        visit(context, static_cast<std::size_t>(p - bytes), 1, kReplacement);
      break;
    }
    visit(context, static_cast<std::size_t>(start - bytes), static_cast<std::size_t>(source - start),
          static_cast<std::uint32_t>(code_point));
  }
  return true;
}

}  // namespace detail

}  // namespace quill
