#include "quillrt/search/search_engine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <limits>

#include "quillrt/framework/format.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/code_pages.h"
#include "quillrt/process/log.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/yield.h"
#include "quillrt/text/locale_helpers.h"
#include "quillrt/text/wanted_word_matcher.h"

namespace quill {

thread_local std::int32_t Global_LowestJumpTo = 0;
thread_local bool Global_in_heading = false;

ESearchProblem::~ESearchProblem() = default;

namespace {

// Precomposes characters before narrowing (the conversion's composite check).
constexpr std::uint32_t kCompositeCheck = 0x0200;
constexpr std::u16string_view kDoubleQuote = u"\"";
// Characters of the buffer shown in log lines.
constexpr std::int32_t kLogExtractLength = 50;
constexpr std::int32_t kNoLimit = std::numeric_limits<std::int32_t>::max();

// The length of a NUL-terminated UTF-16 buffer, eight units at a time. Whole
// aligned 16-byte blocks are read; they never cross a page boundary, but the
// block holding the NUL may reach past the buffer's end (as the C library's
// strlen does), so AddressSanitizer is told not to check these reads.
#if defined(__SSE2__) && defined(__GNUC__)
__attribute__((no_sanitize("address"))) std::size_t WideLength(const char16_t* text) {
  const char16_t* p = text;
  while (reinterpret_cast<std::uintptr_t>(p) % 16 != 0) {
    if (*p == 0) return static_cast<std::size_t>(p - text);
    ++p;
  }
  const __m128i zero = _mm_setzero_si128();
  for (;;) {
    const __m128i block = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(block, zero)));
    if (mask != 0) return static_cast<std::size_t>(p - text) + static_cast<std::size_t>(std::countr_zero(mask)) / 2;
    p += 8;
  }
}
#else
std::size_t WideLength(const char16_t* text) { return std::char_traits<char16_t>::length(text); }
#endif

std::size_t NulTerminatedLength(const void* buffer, bool in_unicode) {
  if (in_unicode) return WideLength(static_cast<const char16_t*>(buffer));
  return std::strlen(static_cast<const char*>(buffer));
}

// Counts are 32-bit; the two class words after the last character must fit too.
std::int32_t ClampedCount(std::size_t count) {
  constexpr std::size_t limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - 2;
  return static_cast<std::int32_t>(std::min(count, limit));
}

// Appends the parts in one go (and spares the compiler's view of chained "+").
void Append(UnicodeString& text, std::initializer_list<std::u16string_view> parts) {
  std::size_t size = text.size();
  for (const std::u16string_view part : parts) size += part.size();
  text.reserve(size);
  for (const std::u16string_view part : parts) text.append(part);
}

UnicodeString Hex6(std::uint64_t value) { return UIntToHex(value, 6); }

// The hit's extract as the log shows it: tag codes as angle brackets, other
// control characters as spaces.
UnicodeString Printable(UnicodeString text) {
  for (WideChar& c : text) {
    if (c == pattern_tag_close) {
      c = u'>';
    } else if (c == pattern_tag_open) {
      c = u'<';
    } else if (c < 0x20) {
      c = u' ';
    }
  }
  return text;
}

UnicodeString BoolText(bool value) { return value ? u"True" : u"False"; }

}  // namespace

// ---------------------------------------------------------------------------
// Creation and buffers

TSearchAndDoEngine::TSearchAndDoEngine(bool ABufferInUnicode, bool ASearchWordsInUnicode, std::uint32_t AnLCID,
                                       TClassArray* ABufferDetails)
    : fSearchWordsInUnicode(ASearchWordsInUnicode), fBufferInUnicode(ABufferInUnicode), fLCID(AnLCID) {
  Codepage = static_cast<std::int32_t>(LCIDToCodePage(AnLCID));
  if (ABufferDetails != nullptr) {
    fCallerDetails = ABufferDetails;
    fPreAssigned = true;
    fBufferDetailsStart = ABufferDetails->empty() ? nullptr : ABufferDetails->data();
  }
}

TSearchAndDoEngine::~TSearchAndDoEngine() = default;

void TSearchAndDoEngine::DropOwnClassArray(bool release) {
  // Without `release` the array keeps its memory (and size) for the next
  // buffer: refilling it then writes each word once.
  if (release) TClassArray().swap(fBufferDetails);
  fBufferDetailsStart = nullptr;
  fBufferDetailsEnd = nullptr;
}

void TSearchAndDoEngine::SetABuffer(const void* b) {
  fBuffer = b;
  if (fChunkDetails) {
    // The class array arranged for the last concordancing chunk served that
    // chunk only.
    fChunkDetails = false;
    fPreAssigned = fCallerDetails != nullptr;
    fBufferDetailsStart = nullptr;
    fBufferDetailsEnd = nullptr;
  }
  if (!fPreAssigned) DropOwnClassArray(b == nullptr);
  if (b == nullptr) {
    fBufferDetailsEnd = nullptr;
    fBuffer_Characters = 0;
    return;
  }
  fBuffer_Characters = ClampedCount(NulTerminatedLength(b, fBufferInUnicode));
  const auto words_needed = static_cast<std::size_t>(fBuffer_Characters) + class_array_extra_words;
  if (fPreAssigned) {
    // The caller's array: used as it is, when it is long enough for this buffer.
    const bool fits = fCallerDetails->size() >= words_needed;
    fBufferDetailsStart = fits ? fCallerDetails->data() : nullptr;
    fBufferDetailsEnd = fits ? fBufferDetailsStart + fBuffer_Characters + 1 : nullptr;
    return;
  }
  if (fBufferInUnicode) {
    FillClassArray(static_cast<const WideChar*>(b), static_cast<std::size_t>(fBuffer_Characters), fLCID,
                   fBufferDetails);
  } else {
    FillClassArrayA(static_cast<const char*>(b), static_cast<std::size_t>(fBuffer_Characters), fLCID,
                    fBufferDetails);
  }
  fBufferDetailsStart = fBufferDetails.data();
  fBufferDetailsEnd = fBufferDetailsStart + fBuffer_Characters + 1;
}

void TSearchAndDoEngine::PrepareFirst(const void* ABuffer, std::int32_t AComplete_file_Size,
                                      std::uint32_t ABufferStartPosInFile, TSearchFoundEvent ASearchFoundEvent,
                                      TWordCountEvent AWordCountEvent) {
  FileBytePos = ABufferStartPosInFile;
  fSearchFoundEvent = std::move(ASearchFoundEvent);
  fWordCountEvent = std::move(AWordCountEvent);
  SetABuffer(ABuffer);
  fComplete_file_size = AComplete_file_Size;
  fReady = static_cast<bool>(fSearchFoundEvent);
}

void TSearchAndDoEngine::PrepareForConcordancing(const UnicodeString& AFilename, const void* AStartOfText,
                                                 TClassWord* ABufferDetails, const TClassWord* ABufferDetailsEnd,
                                                 std::int32_t AComplete_file_Size, std::int32_t ABuffer_Characters,
                                                 std::uint32_t ABufferStartPosInFile, bool ASkipPunctuation,
                                                 TSearchFoundEvent ASearchFoundEvent,
                                                 TWordCountEvent AWordCountEvent) {
  fFilename = AFilename;
  fComplete_file_size = AComplete_file_Size;
  fSkipAnyTags = true;
  fSkipPunctuation = ASkipPunctuation;
  FileBytePos = ABufferStartPosInFile;
  fSearchFoundEvent = std::move(ASearchFoundEvent);
  fWordCountEvent = std::move(AWordCountEvent);
  SetABuffer(nullptr);

  fBuffer = AStartOfText;
  std::int32_t characters = AStartOfText != nullptr ? std::max(ABuffer_Characters, 0) : 0;
  if (ABufferDetails != nullptr) {
    fPreAssigned = true;
    fChunkDetails = true;
    fBufferDetailsStart = ABufferDetails;
    if (ABufferDetailsEnd != nullptr) {
      // Never scan past the array the tool built: its end sentinel follows the
      // last character's word.
      const std::ptrdiff_t classified = ABufferDetailsEnd - ABufferDetails - 1;
      characters = static_cast<std::int32_t>(std::clamp<std::ptrdiff_t>(classified, 0, characters));
    }
    fBufferDetailsEnd = ABufferDetails + characters + 1;
  } else if (AStartOfText != nullptr) {
    // No class array came with the text: classify it here rather than search
    // without one.
    fPreAssigned = false;
    fChunkDetails = true;
    if (fBufferInUnicode) {
      FillClassArray(static_cast<const WideChar*>(AStartOfText), static_cast<std::size_t>(characters), fLCID,
                     fBufferDetails);
    } else {
      FillClassArrayA(static_cast<const char*>(AStartOfText), static_cast<std::size_t>(characters), fLCID,
                      fBufferDetails);
    }
    fBufferDetailsStart = fBufferDetails.data();
    fBufferDetailsEnd = fBufferDetailsStart + characters + 1;
  }
  fBuffer_Characters = characters;
  fReady = static_cast<bool>(fSearchFoundEvent);
}

void TSearchAndDoEngine::HandleAllowables(std::u16string_view wide_allowables, bool allow_middles_at_right,
                                          bool allow_middles_at_left) {
  MyYieldProcess();
  if (fBuffer == nullptr || fBufferDetailsStart == nullptr || fBuffer_Characters < 1) return;
  const std::size_t nul = wide_allowables.find(u'\0');
  if (nul != std::u16string_view::npos) wide_allowables = wide_allowables.substr(0, nul);
  if (wide_allowables.empty()) return;
  HandleMiddleChars(fBuffer, fBufferDetailsStart, wide_allowables.data(), static_cast<int>(wide_allowables.size()),
                    static_cast<std::size_t>(fBuffer_Characters), fBufferInUnicode, allow_middles_at_right,
                    allow_middles_at_left);
}

void TSearchAndDoEngine::SetLCID(std::uint32_t lcid) {
  if (lcid == fLCID) return;
  fLCID = lcid;
  Codepage = static_cast<std::int32_t>(LCIDToCodePage(lcid));
}

void TSearchAndDoEngine::Cancel() {
  fCancelled = true;
  MyYieldProcess();
}

// ---------------------------------------------------------------------------
// Searching

void TSearchAndDoEngine::NarrowCopies(TSearch_word_format_rec& item) const {
  item.copies_converted = true;
  for (UnicodeString& copy : item.copies) {
    if (copy.empty()) continue;
    // Room for the longest form a code page gives (four bytes a unit in UTF-8).
    std::string bytes(copy.size() * 4, '\0');
    const int written =
        WideCharToMultiByte(static_cast<std::uint32_t>(Codepage), kCompositeCheck, copy.data(),
                            static_cast<int>(copy.size()), bytes.data(), static_cast<int>(bytes.size()));
    UnicodeString narrowed(static_cast<std::size_t>(std::max(written, 0)), u'\0');
    for (std::size_t i = 0; i < narrowed.size(); ++i) narrowed[i] = static_cast<unsigned char>(bytes[i]);
    copy = std::move(narrowed);
  }
}

std::int32_t TSearchAndDoEngine::LowestJumpCharacter() const {
  return Global_LowestJumpTo > 0 ? Global_LowestJumpTo / CharSize() : 0;
}

bool TSearchAndDoEngine::SearchAndDo(TSearch_word_format_rec* item, std::int32_t item_num) {
  current_search_number = item_num;
  return SearchAndDo(item);
}

bool TSearchAndDoEngine::SearchAndDo(TSearch_word_format_rec* item) {
  fCancelled = false;
  fChega = false;
  const bool has_buffer = fBuffer != nullptr && fBufferDetailsStart != nullptr && fBufferDetailsEnd != nullptr;
  if (!fReady || !has_buffer || item == nullptr || item->search_text.empty()) {
    if (keeping_log) {
      AddToLogFile(u"item = nil " + BoolText(item == nullptr));
      AddToLogFile(u"buffer = nil " + BoolText(fBuffer == nullptr));
    }
    return false;
  }
  if (!fBufferInUnicode && !item->copies_converted && fSearchWordsInUnicode) NarrowCopies(*item);
  if (item->flags.Contains(myCaseIsSensitive)) {
    item->copies[upper_copy] = item->copies[unchanged_copy];
    item->copies[lower_copy] = item->copies[unchanged_copy];
    item->copies[title_copy] = item->copies[unchanged_copy];
  }
  fLowestJumpToChanged = false;
  if (keeping_log && !IsAdditionalEngine) LogStart(*item);
  try {
    RunSearch(*item);
  } catch (const std::exception&) {
    // Hits already reported stay reported; the tool learns where it failed.
    UnicodeString message;
    Append(message, {u"problem searching ", fFilename, u" for ", kDoubleQuote, item->typed_in_text, kDoubleQuote});
    throw ESearchProblem(message);
  }
  if (fWordCountEvent) fWordCountEvent(this, ThisFileChunk_Stats);
  return true;
}

void TSearchAndDoEngine::RunSearch(TSearch_word_format_rec& item) {
  const std::int32_t wanted = item.n_to_find < 1 ? kNoLimit : item.n_to_find;
  const UnicodeString& upper = item.copies[upper_copy];
  const UnicodeString& lower = item.copies[lower_copy];
  const UnicodeString& title = item.copies[title_copy];
  // The matcher walks the lower copy and reads the others at the same index; in
  // an 8-bit search the copies hold the word's bytes, which may outnumber its
  // characters.
  std::size_t length = std::min({upper.size(), lower.size(), title.size()});
  if (fBufferInUnicode || !item.copies_converted) length = std::min(length, item.search_text.size());
  // A hit is at most 65,535 characters long, so a longer word has none.
  if (length == 0 || length > std::numeric_limits<std::uint16_t>::max()) return;
  const auto pattern_length = static_cast<std::uint16_t>(length);
  const bool case_sensitive = item.flags.Contains(myCaseIsSensitive);
  const bool left_bounded = item.flags.Contains(myLeftBounded);
  const bool right_bounded = item.flags.Contains(myRightBounded);
  const bool sentence_ends = Arr_OfTextMarkersFound.Any(ts_sentence_end);
  const bool paragraph_ends = Arr_OfTextMarkersFound.Any(ts_paragraph_end);
  const bool heading_ends = Arr_OfTextMarkersFound.Any(ts_heading_end);
  const bool section_ends = Arr_OfTextMarkersFound.Any(ts_section_end);
  const bool logging = keeping_log && !IsAdditionalEngine;
  const auto* base = static_cast<const char*>(fBuffer);

  std::int32_t position = LowestJumpCharacter();
  std::int32_t found = 0;
  TSearchFound_Rec record;
  do {
    MyYieldProcess();
    // A cancel or "found enough" from the tool's message handlers, run during
    // the yield, stops the search before the next matcher call.
    if (fChega || fCancelled) break;
    const std::int32_t done = position;
    const std::int32_t to_go = fBuffer_Characters - done;
    if (to_go < 1) break;
    std::uint16_t hit_characters = 0;
    std::uint16_t exact_hit_len = 0;
    const void* hit = NewFindWantedInBuffer(
        base + static_cast<std::ptrdiff_t>(done) * CharSize(), to_go, fBufferDetailsStart + done, fBufferDetailsStart,
        fBufferDetailsEnd, upper, lower, title, pattern_length, case_sensitive, left_bounded, right_bounded,
        fBufferInUnicode, fSkipPunctuation, fSkipAnyTags, hit_characters, exact_hit_len, ThisFileChunk_Stats,
        Global_in_heading, sentence_ends, paragraph_ends, heading_ends, section_ends);
    if (hit == nullptr) break;
    const auto offset = static_cast<std::int32_t>((static_cast<const char*>(hit) - base) / CharSize());
    FillHitRecord(hit, offset, hit_characters, exact_hit_len, record);
    ++fHits_found;
    ++found;
    if (logging) LogHit(record, done, to_go);
    if (!fSearchFoundEvent(this, record)) --found;
    if (fLowestJumpToChanged) {
      fLowestJumpToChanged = false;
      position = LowestJumpCharacter();
    } else {
      position = offset + 1;
    }
  } while (found < wanted && !fChega && !fCancelled);
}

void TSearchAndDoEngine::FillHitRecord(const void* hit, std::int32_t offset, std::uint16_t hit_characters,
                                       std::uint16_t exact_hit_len, TSearchFound_Rec& record) const {
  record.start_of_text = fBuffer;
  record.start_of_memory = fBuffer;
  record.where_hit_started = hit;
  const std::int64_t byte_in_file = static_cast<std::int64_t>(offset) * CharSize() + FileBytePos;
  // Without a known file size there is no percentage to give.
  record.percent_of_file =
      fComplete_file_size > 0 ? static_cast<float>(static_cast<double>(byte_in_file) * 100.0 / fComplete_file_size)
                              : 0.0f;
  record.hit_pos_in_wchar_kinds = offset;
  record.FileBytePos = FileBytePos;
  record.exact_hit_len = exact_hit_len;
  record.hit_characters = hit_characters;
  record.search_number = current_search_number;
  record.hit_pos_in_characters = offset;
  record.spare = {};
  record.count_stats = ThisFileChunk_Stats;
  if (!Global_in_heading) {
    record.count_stats.number[heading_stats] = -1;
    record.count_stats.position[heading_stats] = -1;
  }
}

// ---------------------------------------------------------------------------
// Log lines

UnicodeString TSearchAndDoEngine::BufferExtract(std::int32_t offset, std::int32_t count) const {
  const std::int32_t available = std::clamp(fBuffer_Characters - offset, 0, count);
  if (fBuffer == nullptr || available == 0) return {};
  if (fBufferInUnicode) return UnicodeString(static_cast<const WideChar*>(fBuffer) + offset, available);
  return AnsiToUnicode(std::string_view(static_cast<const char*>(fBuffer) + offset, available),
                       static_cast<std::uint32_t>(Codepage));
}

void TSearchAndDoEngine::LogStart(const TSearch_word_format_rec& item) const {
  UnicodeString text = u"seeking \r\n";
  for (const sw_copy_type copy : {upper_copy, lower_copy, title_copy}) {
    Append(text, {kDoubleQuote, item.copies[copy], kDoubleQuote, u"\r\n"});
  }
  Append(text, {u"and file begins ", kDoubleQuote, BufferExtract(0, kLogExtractLength), u"...", kDoubleQuote});
  AddToLogFile(text);
}

void TSearchAndDoEngine::LogHit(const TSearchFound_Rec& record, std::int32_t done, std::int32_t to_go) const {
  const std::int32_t offset = record.hit_pos_in_characters;
  const std::uint64_t byte_in_file = static_cast<std::uint64_t>(offset) * CharSize() + FileBytePos;
  UnicodeString text;
  Append(text, {u"(", IntToStr(fHits_found), u") ", kDoubleQuote, Printable(BufferExtract(offset, kLogExtractLength)),
                kDoubleQuote});
  Append(text, {u" at chunk ", Hex6(FileBytePos), u"+", Hex6(static_cast<std::uint32_t>(offset)), u"= byte ",
                Hex6(byte_in_file)});
  Append(text, {u"\tdone: ", Hex6(static_cast<std::uint32_t>(done)), u"\tto go: ",
                Hex6(static_cast<std::uint32_t>(to_go))});
  Append(text, {u"\t", Format(u"%.2f", {static_cast<double>(record.percent_of_file)}), u"%", u" words = ",
                IntToStr(record.count_stats.number[word_stats])});
  AddToLogFile(text);
}

// ---------------------------------------------------------------------------
// Subclasses

TAdditionalSearchAndDoEngine::TAdditionalSearchAndDoEngine(bool ABufferInUnicode, bool ASearchWordsInUnicode,
                                                           std::uint32_t AnLCID, TClassArray* ABufferDetails)
    : TSearchAndDoEngine(ABufferInUnicode, ASearchWordsInUnicode, AnLCID, ABufferDetails) {
  IsAdditionalEngine = true;
}

TAdditionalSearchAndDoEngine::~TAdditionalSearchAndDoEngine() = default;

TWLSearchAndDo::TWLSearchAndDo(bool ABufferInUnicode, bool ASearchWordsInUnicode, std::uint32_t AnLCID,
                               TClassArray* ABufferDetails)
    : TSearchAndDoEngine(ABufferInUnicode, ASearchWordsInUnicode, AnLCID, ABufferDetails) {}

TWLSearchAndDo::~TWLSearchAndDo() = default;

namespace {

// A character after which TitleCase starts a new word: anything below "0" (blanks,
// controls and the common punctuation) and the usual separators above it.
bool StartsWordAfter(WideChar c) {
  if (c < u'0') return true;
  switch (c) {
    case u':': case u';': case u'<': case u'=': case u'>': case u'?': case u'@':
    case u'[': case u'\\': case u']': case u'^': case u'_': case u'`':
    case u'{': case u'|': case u'}': case u'~': case 0x00A0: case 0x00AB: case 0x00BB:
    case 0x2013: case 0x2014: case 0x2018: case 0x2019: case 0x201C: case 0x201D:
      return true;
    default:
      return false;
  }
}

// Lower case, then the first character and every character that starts a word
// upper-cased: "NEW york-city" gives "New York-City". One unit for one unit.
UnicodeString EveryWordCapitalised(std::uint32_t lcid, const UnicodeString& text) {
  UnicodeString lower = Lowercase(lcid, text);
  const UnicodeString upper = Uppercase(lcid, text);
  for (std::size_t i = 0; i < lower.size() && i < upper.size(); ++i) {
    if (i == 0 || StartsWordAfter(lower[i - 1])) lower[i] = upper[i];
  }
  return lower;
}

}  // namespace

void TWLSearchAndDo::SetSearchWord(const UnicodeString& aSearchWord, TMySearchFlags AFlags) {
  flags = AFlags;
  if (flags.Contains(myCaseIsSensitive)) {
    search_text = lo_copy = title_copy = aSearchWord;
    return;
  }
  search_text = Uppercase(fLCID, aSearchWord);
  lo_copy = Lowercase(fLCID, aSearchWord);
  title_copy = EveryWordCapitalised(fLCID, aSearchWord);
}

bool TWLSearchAndDo::QuickSearchFoundIgnoringTags() {
  std::size_t length = search_text.size();
  if (length > 0 && search_text.back() == pattern_star) --length;
  if (fBuffer == nullptr || static_cast<std::size_t>(fBuffer_Characters) < length) return false;

  TSearch_word_format_rec word;
  word.copies[sw_copy_type::upper_copy] = search_text;
  word.copies[sw_copy_type::lower_copy] = lo_copy;
  word.copies[sw_copy_type::title_copy] = title_copy;
  if (!fBufferInUnicode && fSearchWordsInUnicode) {
    NarrowCopies(word);
    length = std::min(length, std::min({word.copies[sw_copy_type::upper_copy].size(), word.copies[sw_copy_type::lower_copy].size(),
                                        word.copies[sw_copy_type::title_copy].size()}));
  }
  length = std::min({length, word.copies[sw_copy_type::upper_copy].size(), word.copies[sw_copy_type::lower_copy].size(),
                     word.copies[sw_copy_type::title_copy].size()});
  if (length == 0 || length > std::numeric_limits<std::uint16_t>::max()) return false;

  const auto count = static_cast<std::size_t>(fBuffer_Characters);
  if (fBufferInUnicode) {
    FillClassArray(static_cast<const WideChar*>(fBuffer), count, fLCID, fBufferPWChar);
  } else {
    FillClassArrayA(static_cast<const char*>(fBuffer), count, fLCID, fBufferPWChar);
  }
  std::uint16_t hit_characters = 0;
  std::uint16_t exact_hit_len = 0;
  TSearchStatsRec thrown_away;
  const TClassWord* classes = fBufferPWChar.data();
  const void* hit = NewFindWantedInBuffer(
      fBuffer, fBuffer_Characters, classes, classes, classes + fBuffer_Characters + 1, word.copies[sw_copy_type::upper_copy],
      word.copies[sw_copy_type::lower_copy], word.copies[sw_copy_type::title_copy], static_cast<std::uint16_t>(length),
      flags.Contains(myCaseIsSensitive), flags.Contains(myLeftBounded), flags.Contains(myRightBounded),
      fBufferInUnicode, fSkipPunctuation, false, hit_characters, exact_hit_len, thrown_away, Global_in_heading,
      Arr_OfTextMarkersFound.Any(ts_sentence_end), Arr_OfTextMarkersFound.Any(ts_paragraph_end),
      Arr_OfTextMarkersFound.Any(ts_heading_end), Arr_OfTextMarkersFound.Any(ts_section_end));
  TClassArray().swap(fBufferPWChar);
  return hit != nullptr;
}

}  // namespace quill
